// Every window of Tidemark and Stowel as a screen reader and a keyboard user
// meet it, at 96 and 192 DPI: each control read from this process through
// the accessibility interface (the names the system's proxy gives: a
// caption, or for a box the label right before it), and the Tab key sent
// through every page with the focus read after each press. A visible box,
// list, combo box, button or picture that answers clicks without a name, two
// boxes of one page with one name, an access key used twice on a page, a
// tooltip whose words are not the control's description, or an enabled
// control that Tab never reaches is a fault.
#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>
#include <map>

#include "AdminWindowsDriver.h"
#include "LogPixels.h"
#include "TidemarkSession.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::e2e {
namespace {

using automation::Process;

// MinGW's IID_IAccessible symbol links to nothing usable.
constexpr IID kAccessibleIid = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

class ComApartment {
public:
    ComApartment() { ::CoInitialize(nullptr); }
    ~ComApartment() { ::CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

enum class Kind { box, list, combo, button, check, option, tabs, label, picture, other };

Kind kindOf(HWND control) {
    const std::string cls = automation::windowClassName(control);
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    if (automation::sameClassName(cls, "Edit")) return Kind::box;
    if (automation::sameClassName(cls, "ListBox")) return Kind::list;
    if (automation::sameClassName(cls, "ComboBox")) return Kind::combo;
    if (automation::sameClassName(cls, "SysTabControl32")) return Kind::tabs;
    if (automation::sameClassName(cls, "Static")) {
        const LONG type = style & SS_TYPEMASK;
        if (type == SS_ICON || type == SS_BITMAP || type == SS_OWNERDRAW) return Kind::picture;
        return type == SS_ETCHEDHORZ ? Kind::other : Kind::label;
    }
    if (automation::sameClassName(cls, "Button")) {
        switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX: return Kind::other;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: return Kind::check;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return Kind::option;
        default: return Kind::button;
        }
    }
    return Kind::other;
}

bool takesFocus(Kind kind) {
    return kind == Kind::box || kind == Kind::list || kind == Kind::combo || kind == Kind::button || kind == Kind::check ||
           kind == Kind::option || kind == Kind::tabs;
}

std::string fromBstr(BSTR text) {
    std::string result = text ? win32::fromWide(std::wstring(text, ::SysStringLen(text))) : std::string();
    ::SysFreeString(text);
    return result;
}

// What a screen reader hears of one control.
struct Heard {
    std::string name;
    std::string value;
    std::string description;
    std::string shortcut;
    long role = 0;
};

std::optional<Heard> hear(HWND control) {
    IAccessible* accessible = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), kAccessibleIid,
                                            reinterpret_cast<void**>(&accessible))) ||
        !accessible)
        return std::nullopt;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    Heard heard;
    BSTR text = nullptr;
    if (accessible->get_accName(self, &text) == S_OK) heard.name = fromBstr(text);
    text = nullptr;
    if (accessible->get_accValue(self, &text) == S_OK) heard.value = fromBstr(text);
    text = nullptr;
    if (accessible->get_accDescription(self, &text) == S_OK) heard.description = fromBstr(text);
    text = nullptr;
    if (accessible->get_accKeyboardShortcut(self, &text) == S_OK) heard.shortcut = fromBstr(text);
    VARIANT role{};
    if (accessible->get_accRole(self, &role) == S_OK && role.vt == VT_I4) heard.role = role.lVal;
    accessible->Release();
    return heard;
}

std::string describe(HWND control) {
    return "control " + std::to_string(::GetDlgCtrlID(control)) + " (" + automation::windowClassName(control) + " \"" +
           automation::controlText(control).value_or("") + "\")";
}

std::vector<HWND> visibleControls(HWND window) {
    std::vector<HWND> controls;
    for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (::IsWindowVisible(c)) controls.push_back(c);
    return controls;
}

// Names, shared box names and access keys of the page on show.
std::vector<std::string> nameFaults(HWND window) {
    std::vector<std::string> faults;
    std::map<std::string, HWND> boxNames;
    std::map<std::string, HWND> keys;
    for (HWND c : visibleControls(window)) {
        const Kind kind = kindOf(c);
        const auto heard = hear(c);
        if (!heard) {
            faults.push_back(describe(c) + " gives no accessible object");
            continue;
        }
        const bool clickable = kind == Kind::picture && (::GetWindowLongW(c, GWL_STYLE) & SS_NOTIFY);
        const bool needsName = (takesFocus(kind) && kind != Kind::tabs) || clickable;
        if (needsName && heard->name.empty()) faults.push_back(describe(c) + " has no name");
        const std::string tip = automation::tooltipText(c).value_or("");
        if (!tip.empty() && heard->description != tip)
            faults.push_back(describe(c) + " says \"" + tip + "\" only in its tooltip");
        if (kind == Kind::box || kind == Kind::list || kind == Kind::combo) {
            const auto [at, fresh] = boxNames.emplace(heard->name, c);
            if (!fresh && !heard->name.empty())
                faults.push_back(describe(c) + " has the name \"" + heard->name + "\" of " + describe(at->second));
        }
        // A box's text is its content, not a caption with an access key.
        if (kind == Kind::button || kind == Kind::check || kind == Kind::option || kind == Kind::label) {
            if (heard->shortcut.empty()) continue;
            std::string key = heard->shortcut;
            std::transform(key.begin(), key.end(), key.begin(), [](unsigned char ch) { return std::toupper(ch); });
            const auto [at, fresh] = keys.emplace(key, c);
            if (!fresh) faults.push_back(describe(c) + " has the access key " + key + " of " + describe(at->second));
        }
    }
    return faults;
}

HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    HWND focus = info.hwndFocus;
    // The edit field of a combo box stands for the combo box.
    if (focus && ::GetParent(focus) != window && ::IsChild(window, focus)) focus = ::GetParent(focus);
    return focus;
}

bool pressTab(HWND window) {
    HWND target = focusOf(window);
    if (!target || (target != window && !::IsChild(window, target))) target = window;
    return automation::postMessage(target, WM_KEYDOWN, VK_TAB, 0) && automation::postMessage(target, WM_KEYUP, VK_TAB, 0);
}

// The enabled controls Tab must reach on the page on show, in creation
// order; the option buttons of a group count as one stop.
std::vector<std::vector<HWND>> expectedStops(HWND window) {
    std::vector<std::vector<HWND>> stops;
    bool inOptionGroup = false;
    for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        const LONG style = ::GetWindowLongW(c, GWL_STYLE);
        if (style & WS_GROUP) inOptionGroup = false;
        const Kind kind = kindOf(c);
        if (!::IsWindowVisible(c) || !::IsWindowEnabled(c) || !takesFocus(kind)) continue;
        if (kind == Kind::option && inOptionGroup) {
            stops.back().push_back(c);
            continue;
        }
        stops.push_back({c});
        inOptionGroup = kind == Kind::option;
    }
    return stops;
}

// Tab pressed until the focus comes round again: every stop reached, in
// creation order.
std::vector<std::string> tabFaults(HWND window) {
    const auto stops = expectedStops(window);
    if (stops.empty()) return {};
    std::map<HWND, std::optional<automation::CheckState>> checks;
    for (const auto& stop : stops)
        for (HWND c : stop)
            if (kindOf(c) == Kind::option || kindOf(c) == Kind::check) checks[c] = automation::checkState(c);
    std::vector<HWND> reached;
    HWND last = focusOf(window);
    for (std::size_t press = 0; press < stops.size() + 2; ++press) {
        if (!pressTab(window)) return {"the window takes no key"};
        HWND now = automation::pollUntil(1000, [&]() -> HWND {
            HWND f = focusOf(window);
            return f != last ? f : nullptr;
        });
        if (!now) break;
        last = now;
        if (!reached.empty() && now == reached.front()) break;
        reached.push_back(now);
    }
    // A page with one stop keeps the focus where it is.
    if (reached.empty() && last) reached.push_back(last);
    std::vector<std::string> faults;
    // Moving through the page chooses nothing.
    for (const auto& [c, state] : checks)
        if (automation::checkState(c) != state) faults.push_back("Tab changes the state of " + describe(c));
    std::vector<std::size_t> order;
    for (HWND r : reached) {
        const auto at = std::find_if(stops.begin(), stops.end(),
                                     [&](const auto& stop) { return std::find(stop.begin(), stop.end(), r) != stop.end(); });
        if (at == stops.end()) faults.push_back("Tab reaches " + describe(r) + ", which should take no focus");
        else order.push_back(static_cast<std::size_t>(at - stops.begin()));
    }
    for (std::size_t i = 0; i < stops.size(); ++i)
        if (std::find(order.begin(), order.end(), i) == order.end()) faults.push_back("Tab never reaches " + describe(stops[i].front()));
    // Round from the first stop: creation order.
    std::rotate(order.begin(), std::min_element(order.begin(), order.end()), order.end());
    if (!std::is_sorted(order.begin(), order.end())) faults.push_back("Tab leaves the creation order");
    return faults;
}

void checkPage(HWND window, const std::string& name) {
    ASSERT_NE(window, nullptr) << name;
    ::Sleep(300);   // shown and focused
    for (const std::string& fault : nameFaults(window)) ADD_FAILURE() << name << ": " << fault;
    for (const std::string& fault : tabFaults(window)) ADD_FAILURE() << name << ": " << fault;
}

// Another page of a window's tab control, by an arrow key.
bool nextPage(HWND window, int tabsId, int shownId, WPARAM key = VK_RIGHT) {
    HWND tabs = automation::findControl(window, tabsId);
    if (!tabs || !automation::postMessage(tabs, WM_KEYDOWN, key, 0)) return false;
    automation::postMessage(tabs, WM_KEYUP, key, 0);
    return automation::pollUntil(5000, [&] { return automation::isVisible(automation::findControl(window, shownId)); });
}

class Accessibility : public ::testing::TestWithParam<int> {
protected:
    ComApartment com_;
};

TEST_P(Accessibility, StatusAboutAndSettingsWindows) {
    const std::string dpi = std::to_string(GetParam());
    LogPixels scaling(static_cast<DWORD>(GetParam()));
    TidemarkSession session;
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND simple = session.simpleWindow(tidemark.id());
    ASSERT_NE(simple, nullptr);
    ASSERT_TRUE(session.showByTrayClick(tidemark.id(), simple));
    checkPage(simple, "numbers window " + dpi);

    HWND about = session.openAboutWindow(tidemark.id());
    checkPage(about, "about window " + dpi);
    ASSERT_TRUE(automation::clickButton(automation::findControl(about, IDOK)));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(about); }));

    ASSERT_TRUE(automation::postMessage(simple, WM_COMMAND, IDM_TRAY_MENU_SETTINGS, 0));
    HWND settings = waitForShownWindow(tidemark.id(), "Tidemark設定");
    checkPage(settings, "settings window page 0 " + dpi);
    const int firstOfPage[] = {IDC_ALL_USERS_STARTUP, IDC_ALL_USERS_ICON, IDC_GRAPH_OPTION};
    for (int page = 1; page <= 3; ++page) {
        ASSERT_TRUE(nextPage(settings, IDC_SETTINGS_TABS, firstOfPage[page - 1])) << page;
        checkPage(settings, "settings window page " + std::to_string(page) + " " + dpi);
    }
    ASSERT_TRUE(automation::postMessage(settings, WM_CLOSE, 0, 0));
    EXPECT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(settings); }));
}

// The graph box is named for what it shows, and its value carries the
// figures of the window.
TEST_P(Accessibility, GraphWindow) {
    LogPixels scaling(static_cast<DWORD>(GetParam()));
    TidemarkSession session;
    ASSERT_TRUE(session.writeUser("AppSetting", "FormStyle", "1"));
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND graph = session.graphWindow(tidemark.id());
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(session.showByTrayClick(tidemark.id(), graph));
    ::Sleep(1500);   // a tick fills the figures
    checkPage(graph, "graph window " + std::to_string(GetParam()));
    const auto heard = hear(automation::findControl(graph, IDC_GRAPH));
    ASSERT_TRUE(heard.has_value());
    EXPECT_EQ(heard->name, "使用物理メモリ");
    EXPECT_NE(heard->value.find(automation::controlText(automation::findControl(graph, IDC_USED_MEMORY)).value_or("?")),
              std::string::npos)
        << heard->value;
}

TEST_P(Accessibility, AdministratorSlowCleaningAndProcessWatchWindows) {
    const std::string dpi = std::to_string(GetParam());
    LogPixels scaling(static_cast<DWORD>(GetParam()));
    TidemarkSession session;
    // The administrator window's watch button opens its window while the watch is on.
    ASSERT_TRUE(::WritePrivateProfileStringW(L"AppSettingFlag", L"ProcWatchSetting", L"True",
                                             win32::toWide(session.sharedFile()).c_str()));
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND admin = openAdminWindow(session, tidemark.id());
    ASSERT_NE(admin, nullptr);
    HWND watch = openWatchWindow(admin, tidemark.id());
    checkPage(watch, "process watch window " + dpi);
    ASSERT_TRUE(automation::postMessage(watch, WM_CLOSE, 0, 0));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return !::IsWindow(watch); }));

    // With the slow mode chosen, its settings button takes part too.
    ASSERT_TRUE(automation::clickButton(automation::findControl(admin, IDC_SLOW_OPTION)));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return automation::isEnabled(automation::findControl(admin, IDC_SLOW_SETTINGS_BUTTON)); }));
    checkPage(admin, "administrator window page 1 " + dpi);
    ASSERT_TRUE(nextPage(admin, IDC_ADMIN_TABS, IDC_SYSTEM_START_BOX, VK_LEFT));
    checkPage(admin, "administrator window page 0 " + dpi);
    ASSERT_TRUE(showCleaningPage(admin));
    HWND slow = openSlowWindow(admin, tidemark.id());
    checkPage(slow, "slow cleaning window " + dpi);
}

// The password dialog, and its wait window while the test runs (a stand-in
// Jobsmith; the test answered by the real Corvid; no restart).
TEST_P(Accessibility, PasswordAndWaitWindows) {
    const std::string dpi = std::to_string(GetParam());
    LogPixels scaling(static_cast<DWORD>(GetParam()));
    TidemarkSession session;
    const std::string bin = automation::currentProgramFolder();
    for (const auto& [from, to] : {std::pair{"tm_jobsmith_standin.exe", "Jobsmith.exe"}, {"Corvid.exe", "Corvid.exe"}})
        ASSERT_TRUE(::CopyFileW(win32::toWide(bin + "\\" + from).c_str(), win32::toWide(session.folder() + "\\" + to).c_str(),
                                FALSE));
    ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_LOG", win32::toWide(session.folder() + "\\jobsmith.log").c_str());
    Process tidemark = session.start();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND admin = openAdminWindow(session, tidemark.id());
    ASSERT_NE(admin, nullptr);
    ASSERT_TRUE(automation::clickButton(automation::findControl(admin, IDC_SYSTEM_START_BOX)));
    HWND dialog = waitForShownWindow(tidemark.id(), "パスワード設定");
    checkPage(dialog, "password window " + dpi);

    for (int id : {IDC_PASSWORD_BOX, IDC_CONFIRM_BOX}) {
        HWND box = automation::findControl(dialog, id);
        ASSERT_TRUE(automation::sendMessage(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE));
        ASSERT_TRUE(automation::setControlText(box, "pw"));
        automation::postMessage(box, WM_KEYDOWN, VK_RETURN, 0);
        automation::postMessage(box, WM_KEYUP, VK_RETURN, 0);
        ::Sleep(500);
    }
    automation::WindowCriteria criteria;
    criteria.caption = "パスワード設定";
    criteria.processId = tidemark.id();
    criteria.visibleOnly = true;
    HWND wait = automation::pollUntil(20000, [&]() -> HWND {
        for (HWND w : automation::findWindows(criteria))
            if (w != dialog && automation::findControl(w, IDC_WAIT_PROGRESS)) return w;
        return nullptr;
    });
    checkPage(wait, "password wait window " + dpi);
    Process corvid = automation::start(session.folder() + "\\Corvid.exe", "PassTest");
    ASSERT_TRUE(corvid.valid());
    const auto question = automation::waitForMessageBox(tidemark.id(), 30000, "今すぐ再起動しますか");
    ASSERT_TRUE(question.has_value());
    ASSERT_TRUE(automation::answerMessageBox(question->hwnd, IDNO));
    EXPECT_TRUE(corvid.waitForExit(10000).has_value());
    ::SetEnvironmentVariableW(L"TIDEMARK_STANDIN_LOG", nullptr);
}

TEST_P(Accessibility, TransferWindow) {
    LogPixels scaling(static_cast<DWORD>(GetParam()));
    Process stowel = automation::start(automation::currentProgramFolder() + "\\Stowel.exe");
    ASSERT_TRUE(stowel);
    checkPage(waitForShownWindow(stowel.id(), "Tidemark設定 保存・読込み"), "stowel window " + std::to_string(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(TwoScalings, Accessibility, ::testing::Values(96, 192),
                         [](const ::testing::TestParamInfo<int>& info) { return "Dpi" + std::to_string(info.param); });

} // namespace
} // namespace tidemark::e2e
