// Every window of Tidemark and Stowel at 96 and 192 DPI with the system's
// colours set to unusual values (HKCU\Control Panel\Colors) before the
// programs start: nothing draws in a fixed colour where a system colour is
// asked for. Each window's background must be the button face's colour and
// each enabled box and list the window colour; the graph, whose palette the
// normal theme keeps, stays black. Wine answers that high contrast is off
// and does not switch it on, so the graph's high-contrast colours are
// checked on the host. Each window is captured as contrast_<window>_<dpi>.png.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

#include "AdminWindowsDriver.h"
#include "TidemarkSession.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Text.h"

namespace tidemark::e2e {
namespace {

using automation::Process;

// Values of the user's registry for the programs started while it lives;
// the old ones come back afterwards.
class UserRegistryValues {
public:
    explicit UserRegistryValues(const wchar_t* key) {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key_.receive(), nullptr);
    }
    ~UserRegistryValues() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->had)
                ::RegSetValueExW(key_.get(), it->name.c_str(), 0, it->type, it->data.data(), static_cast<DWORD>(it->data.size()));
            else
                ::RegDeleteValueW(key_.get(), it->name.c_str());
        }
    }
    UserRegistryValues(const UserRegistryValues&) = delete;
    UserRegistryValues& operator=(const UserRegistryValues&) = delete;

    void setNumber(const wchar_t* name, DWORD value) { set(name, REG_DWORD, &value, sizeof value); }
    void setText(const wchar_t* name, const std::wstring& text) {
        set(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

private:
    struct Saved {
        std::wstring name;
        bool had = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    void set(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        Saved old;
        old.name = name;
        DWORD oldSize = 0;
        if (::RegQueryValueExW(key_.get(), name, nullptr, &old.type, nullptr, &oldSize) == ERROR_SUCCESS) {
            old.data.resize(oldSize);
            old.had = ::RegQueryValueExW(key_.get(), name, nullptr, &old.type, old.data.data(), &oldSize) == ERROR_SUCCESS;
        }
        saved_.push_back(std::move(old));
        ::RegSetValueExW(key_.get(), name, 0, type, static_cast<const BYTE*>(data), size);
    }
    win32::UniqueRegKey key_;
    std::vector<Saved> saved_;
};

// Unusual colours (0xRRGGBB) for the registry's names.
constexpr std::uint32_t kButtonFace = 0x3C6446, kWindow = 0xFADC78, kWindowText = 0x5A0064, kButtonText = 0xFAFAC8;

std::wstring registryColour(std::uint32_t rgb) {
    return std::to_wstring(rgb >> 16 & 0xFF) + L" " + std::to_wstring(rgb >> 8 & 0xFF) + L" " + std::to_wstring(rgb & 0xFF);
}

std::string hex(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", rgb);
    return text;
}

bool inside(const RECT& r, LONG x, LONG y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// The colour most pixels of an area (screen coordinates) have in the
// window's capture, leaving out the excluded rectangles.
std::uint32_t commonColour(const automation::CapturedImage& image, const RECT& imageAt, const RECT& area,
                           const std::vector<RECT>& excluded = {}) {
    std::map<std::uint32_t, int> counts;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x) {
            const LONG ix = x - imageAt.left, iy = y - imageAt.top;
            if (ix < 0 || iy < 0 || ix >= static_cast<LONG>(image.width) || iy >= static_cast<LONG>(image.height)) continue;
            if (std::any_of(excluded.begin(), excluded.end(), [&](const RECT& r) { return inside(r, x, y); })) continue;
            const std::uint8_t* p = &image.rgb[(static_cast<std::size_t>(iy) * image.width + ix) * 3];
            ++counts[static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2]];
        }
    std::uint32_t common = 0;
    int most = -1;
    for (const auto& [colour, count] : counts)
        if (count > most) std::tie(common, most) = std::tie(colour, count);
    return common;
}

RECT clientOnScreen(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The window captured, and what in it has not the system's colours: its
// background, each enabled box and list; pictures (icon, the graph) and
// what draws its own background are left out of the window's.
std::vector<std::string> colourFaults(TidemarkSession& session, HWND window, const std::string& name) {
    ::Sleep(500);   // painted
    EXPECT_FALSE(session.capture(window, "contrast_" + name).empty()) << name;
    const auto image = automation::captureWindow(window);
    if (!image) return {name + ": no capture"};
    RECT imageAt{};
    ::GetWindowRect(window, &imageAt);
    std::vector<std::string> faults;
    std::vector<RECT> ownBackground;
    for (const automation::ControlInfo& c : automation::listControls(window)) {
        if (!c.visible) continue;
        const LONG kind = c.style & SS_TYPEMASK;
        const bool picture = c.className == "Static" && (kind == SS_ICON || kind == SS_BITMAP || kind == SS_OWNERDRAW);
        const bool box = c.className == "Edit" || c.className == "ListBox" || c.className == "SysListView32";
        // A tab control's pane is the visual style's (Wine's prefix has one;
        // a high-contrast theme has none and the system draws it in the
        // button face's colour).
        if (picture || box || c.className == "ComboBox" || c.className == "msctls_progress32" ||
            c.className == "SysTabControl32")
            ownBackground.push_back(c.rect);
        if (!box || !c.enabled || (c.className == "Edit" && (c.style & ES_READONLY))) continue;
        const std::uint32_t inBox = commonColour(*image, imageAt, clientOnScreen(c.hwnd));
        if (inBox != kWindow) faults.push_back(name + ": " + c.className + " " + std::to_string(c.id) + " is " + hex(inBox));
    }
    const std::uint32_t background = commonColour(*image, imageAt, clientOnScreen(window), ownBackground);
    if (background != kButtonFace) faults.push_back(name + ": background is " + hex(background));
    return faults;
}

bool closedBy(HWND window, UINT message, WPARAM wParam = 0) {
    return automation::postMessage(window, message, wParam, 0) &&
           automation::pollUntil(5000, [&] { return !::IsWindow(window) || !::IsWindowVisible(window); });
}

void expectNoFaults(const std::vector<std::string>& faults) {
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

class Contrast : public ::testing::TestWithParam<int> {};

TEST_P(Contrast, EveryWindowDrawsInTheSystemsColours) {
    const int dpi = GetParam();
    const std::string at = "_" + std::to_string(dpi);
    UserRegistryValues desktop(L"Control Panel\\Desktop");
    desktop.setNumber(L"LogPixels", static_cast<DWORD>(dpi));
    UserRegistryValues colours(L"Control Panel\\Colors");
    for (const auto& [name, rgb] : {std::pair{L"ButtonFace", kButtonFace}, {L"Window", kWindow},
                                    {L"WindowText", kWindowText}, {L"ButtonText", kButtonText}})
        colours.setText(name, registryColour(rgb));

    {   // Stowel's window, then the numeric window.
        TidemarkSession session;
        Process stowel = automation::start(automation::currentProgramFolder() + "\\Stowel.exe");
        ASSERT_TRUE(stowel);
        HWND transfer = waitForShownWindow(stowel.id(), "Tidemark設定 保存・読込み");
        ASSERT_NE(transfer, nullptr);
        expectNoFaults(colourFaults(session, transfer, "stowel_window" + at));
        ASSERT_TRUE(automation::postMessage(transfer, WM_CLOSE));
        EXPECT_TRUE(stowel.waitForExit(10000).has_value());

        Process tidemark = session.start();
        ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
        HWND simple = session.simpleWindow(tidemark.id());
        ASSERT_NE(simple, nullptr);
        ASSERT_TRUE(session.showByTrayClick(tidemark.id(), simple));
        expectNoFaults(colourFaults(session, simple, "numbers_window" + at));
    }

    // The graph window and every window opened from the tray and the
    // administrator window, one after the other.
    TidemarkSession session;
    ASSERT_TRUE(session.writeUser("AppSetting", "FormStyle", "1"));
    ASSERT_TRUE(::WritePrivateProfileStringW(L"AppSettingFlag", L"ProcWatchSetting", L"True",
                                             win32::toWide(session.sharedFile()).c_str()));
    Process tidemark = session.start();
    const DWORD id = tidemark.id();
    ASSERT_TRUE(session.waitForShared("AppSettingFlag", "ShExTime", 30000));
    HWND graph = session.graphWindow(id);
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(session.trayCallback(id, WM_LBUTTONUP));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return ::IsWindowVisible(graph) != FALSE; }));
    ::Sleep(1500);   // a frame
    expectNoFaults(colourFaults(session, graph, "graph_window" + at));
    const auto box = automation::captureWindow(automation::findControl(graph, IDC_GRAPH));
    ASSERT_TRUE(box.has_value());
    const RECT boxAt{0, 0, static_cast<LONG>(box->width), static_cast<LONG>(box->height)};
    EXPECT_EQ(hex(commonColour(*box, boxAt, boxAt)), hex(0x000000)) << "the graph's background left the palette";
    ASSERT_TRUE(session.trayCallback(id, WM_LBUTTONUP));   // out of the others' way: it stays on top
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return ::IsWindowVisible(graph) == FALSE; }));

    HWND about = session.openAboutWindow(id);
    ASSERT_NE(about, nullptr);
    expectNoFaults(colourFaults(session, about, "about_window" + at));
    ASSERT_TRUE(closedBy(about, WM_COMMAND, IDOK));

    ASSERT_TRUE(automation::postMessage(session.simpleWindow(id), WM_COMMAND, IDM_TRAY_MENU_SETTINGS, 0));
    HWND settings = waitForShownWindow(id, "Tidemark設定");
    ASSERT_NE(settings, nullptr);
    expectNoFaults(colourFaults(session, settings, "settings_window" + at));
    ASSERT_TRUE(closedBy(settings, WM_CLOSE));

    HWND admin = openAdminWindow(session, id);
    ASSERT_NE(admin, nullptr);
    const auto advice = automation::waitForMessageBox(id, 10000, "推奨します");   // the watch without system start
    ASSERT_TRUE(advice.has_value());
    ASSERT_TRUE(automation::answerMessageBox(advice->hwnd, IDOK));
    expectNoFaults(colourFaults(session, admin, "admin_window_page0" + at));

    ASSERT_TRUE(automation::clickButton(automation::findControl(admin, IDC_SYSTEM_START_BOX)));
    HWND password = waitForShownWindow(id, "パスワード設定");
    ASSERT_NE(password, nullptr);
    expectNoFaults(colourFaults(session, password, "password_window" + at));
    ASSERT_TRUE(closedBy(password, WM_COMMAND, IDCANCEL));

    ASSERT_TRUE(showCleaningPage(admin));
    expectNoFaults(colourFaults(session, admin, "admin_window_page1" + at));
    ASSERT_TRUE(automation::clickButton(automation::findControl(admin, IDC_WATCH_SETTINGS_BUTTON)));
    HWND watch = waitForShownWindow(id, "プロセス監視設定");
    ASSERT_NE(watch, nullptr);
    expectNoFaults(colourFaults(session, watch, "process_watch_window" + at));
    ASSERT_TRUE(closedBy(watch, WM_CLOSE));

    ASSERT_TRUE(automation::clickButton(automation::findControl(admin, IDC_SLOW_OPTION)));
    ASSERT_TRUE(automation::pollUntil(5000, [&] { return automation::isEnabled(automation::findControl(admin, IDC_SLOW_SETTINGS_BUTTON)); }));
    HWND slow = openSlowWindow(admin, id);
    ASSERT_NE(slow, nullptr);
    expectNoFaults(colourFaults(session, slow, "slow_cleaning_window" + at));
}

INSTANTIATE_TEST_SUITE_P(TwoScalings, Contrast, ::testing::Values(96, 192),
                         [](const ::testing::TestParamInfo<int>& info) { return "Dpi" + std::to_string(info.param); });

} // namespace
} // namespace tidemark::e2e
