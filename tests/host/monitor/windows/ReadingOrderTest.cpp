// Every window's controls as its resource script creates them, held against
// its layout table. Creation order is the z-order, the Tab order and the
// order in which a screen reader reads a window, so on each page it must be
// reading order (top to bottom, left to right, a frame before what it holds);
// every control has a role, every box comes right after the label that names
// it, every value label right after its caption, every control that takes
// the focus is reached by Tab, and no access key is used twice on a page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "monitor/windows/about/win32/AboutLayout.h"
#include "monitor/windows/admin/win32/AdminLayout.h"
#include "monitor/windows/password/win32/PasswordLayout.h"
#include "monitor/windows/procwatch/win32/ProcessWatchLayout.h"
#include "monitor/windows/settings/win32/SettingsLayout.h"
#include "monitor/windows/slowcleaning/win32/SlowCleaningLayout.h"
#include "monitor/windows/status/win32/StatusLayout.h"
#include "transfer/win32/StowelLayout.h"

namespace tidemark::monitor {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    const auto last = s.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

// The "#define NAME number" lines of a resource header, with the system's
// IDOK and IDCANCEL.
std::map<std::string, int> readIds(const std::string& header) {
    std::map<std::string, int> ids{{"IDOK", 1}, {"IDCANCEL", 2}, {"-1", -1}};
    std::istringstream lines(readFile(header));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string define, name, value;
        if (words >> define >> name >> value && define == "#define" && std::isdigit(static_cast<unsigned char>(value[0])))
            ids[name] = std::stoi(value);
    }
    return ids;
}

// One control of a dialog template.
struct Control {
    std::string keyword;   // LTEXT, EDITTEXT, CONTROL, ...
    std::string text;
    std::string className;   // CONTROL's class
    std::string styles;
    int id = 0;
    bool visible() const { return styles.find("NOT WS_VISIBLE") == std::string::npos; }
    bool has(const std::string& style) const {
        const auto at = styles.find(style);
        return at != std::string::npos && styles.compare(at >= 4 ? at - 4 : at, 4, "NOT ") != 0;
    }
};

// The arguments of a control line, split at the commas outside quotes.
std::vector<std::string> arguments(const std::string& rest) {
    std::vector<std::string> parts(1);
    bool quoted = false;
    for (char c : rest) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) parts.emplace_back();
        else parts.back() += c;
    }
    for (auto& part : parts) part = trim(part);
    return parts;
}

std::string unquoted(const std::string& s) { return s.size() >= 2 && s.front() == '"' ? s.substr(1, s.size() - 2) : s; }

// The controls of one dialog of a resource script, in creation order.
std::vector<Control> readDialog(const std::string& script, const std::string& dialog, const std::map<std::string, int>& ids) {
    std::vector<Control> controls;
    std::istringstream lines(script);
    bool inside = false, begun = false;
    for (std::string line; std::getline(lines, line);) {
        line = trim(line);
        if (!inside) {
            inside = line.rfind(dialog + " DIALOGEX", 0) == 0;
            continue;
        }
        if (line == "BEGIN") {
            begun = true;
            continue;
        }
        if (line == "END") break;
        if (!begun || line.empty() || line.rfind("//", 0) == 0) continue;
        const auto space = line.find_first_of(" \t");
        Control c;
        c.keyword = line.substr(0, space);
        const auto args = arguments(line.substr(space));
        const bool withoutText = c.keyword == "EDITTEXT" || c.keyword == "COMBOBOX" || c.keyword == "LISTBOX";
        std::size_t next = 0;
        if (!withoutText) c.text = unquoted(args.at(next++));
        const auto id = ids.find(args.at(next++));
        c.id = id == ids.end() ? 0 : id->second;
        if (c.keyword == "CONTROL") {
            c.className = unquoted(args.at(next++));
            c.styles = args.at(next++);
        } else {
            next += 4;   // the place, which the layout table gives
        }
        for (; next < args.size(); ++next) c.styles += " | " + args[next];
        controls.push_back(c);
    }
    return controls;
}

enum class Role { staticText, picture, separator, grouping, pushButton, checkBox, radioButton, text, comboBox, list,
                  pageTabList, progressBar };

std::optional<Role> roleOf(const Control& c) {
    const std::string& k = c.keyword;
    if (k == "LTEXT" || k == "RTEXT" || k == "CTEXT") return c.has("SS_OWNERDRAW") ? Role::picture : Role::staticText;
    if (k == "ICON") return Role::picture;
    if (k == "GROUPBOX") return Role::grouping;
    if (k == "PUSHBUTTON" || k == "DEFPUSHBUTTON") return Role::pushButton;
    if (k == "AUTOCHECKBOX") return Role::checkBox;
    if (k == "AUTORADIOBUTTON") return Role::radioButton;
    if (k == "EDITTEXT") return Role::text;
    if (k == "COMBOBOX") return Role::comboBox;
    if (k == "LISTBOX") return Role::list;
    if (k != "CONTROL") return std::nullopt;
    if (c.className == "SysTabControl32") return Role::pageTabList;
    if (c.className == "msctls_progress32") return Role::progressBar;
    if (c.className == "Static") return c.has("SS_ICON") ? Role::picture : c.has("SS_ETCHEDHORZ") ? Role::separator : Role::staticText;
    return std::nullopt;
}

bool takesFocus(Role role) {
    return role == Role::pushButton || role == Role::checkBox || role == Role::radioButton || role == Role::text ||
           role == Role::comboBox || role == Role::list || role == Role::pageTabList;
}

bool isBox(Role role) { return role == Role::text || role == Role::comboBox || role == Role::list; }

// A tab stop by the script's defaults, unless taken away.
bool isTabStop(const Control& c) {
    if (c.styles.find("NOT WS_TABSTOP") != std::string::npos) return false;
    const bool byDefault = c.keyword == "PUSHBUTTON" || c.keyword == "DEFPUSHBUTTON" || c.keyword == "EDITTEXT" ||
                           c.keyword == "AUTOCHECKBOX" || c.keyword == "COMBOBOX";
    return byDefault || c.has("WS_TABSTOP");
}

std::optional<char> accessKey(const Control& c) {
    if (c.has("SS_NOPREFIX") || c.keyword == "EDITTEXT") return std::nullopt;
    for (std::size_t i = 0; i + 1 < c.text.size(); ++i) {
        if (c.text[i] != '&') continue;
        if (c.text[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c.text[i + 1])));
    }
    return std::nullopt;
}

// x is read before y: a frame before what it holds, a line above before
// the lines below, and on one line the left before the right.
bool readsBefore(const TwipsRect& x, const TwipsRect& y) {
    const bool holds = x.left <= y.left && x.top <= y.top && x.left + x.width >= y.left + y.width &&
                       x.top + x.height >= y.top + y.height;
    if (holds) return true;
    const bool sameLine = x.top < y.top + y.height && y.top < x.top + x.height;
    if (sameLine) return x.left + x.width <= y.left;
    return x.top + x.height <= y.top;
}

struct Window {
    std::string name;
    std::string script;    // below the source folder
    std::string header;
    std::string dialog;
    std::vector<layout::ControlPlace> places;
    std::vector<std::vector<int>> pages;   // none: one page
};

template <std::size_t N>
std::vector<layout::ControlPlace> placesOf(const std::array<layout::ControlPlace, N>& table) {
    return {table.begin(), table.end()};
}
template <std::size_t N>
std::vector<int> idsOf(const std::array<int, N>& page) {
    return {page.begin(), page.end()};
}

const std::string kTidemarkRc = "monitor/windows/win32/Tidemark.rc";
const std::string kTidemarkIds = "monitor/windows/win32/resource.h";

std::vector<Window> everyWindow() {
    using namespace layout;
    return {
        {"frmSimple", kTidemarkRc, kTidemarkIds, "IDD_SIMPLE", placesOf(kSimple), {}},
        {"frmGraph", kTidemarkRc, kTidemarkIds, "IDD_GRAPH", placesOf(kGraph), {}},
        {"About", kTidemarkRc, kTidemarkIds, "IDD_ABOUT", placesOf(kAbout), {}},
        {"FrmAdmFx", kTidemarkRc, kTidemarkIds, "IDD_ADMIN", placesOf(kAdmin), {idsOf(kAdminPage0), idsOf(kAdminPage1)}},
        {"frmClStp", kTidemarkRc, kTidemarkIds, "IDD_SLOWCLEANING", placesOf(kSlow), {}},
        {"FrmFix", kTidemarkRc, kTidemarkIds, "IDD_SETTINGS", placesOf(kSettings),
         {idsOf(kSettingsPage0), idsOf(kSettingsPage1), idsOf(kSettingsPage2), idsOf(kSettingsPage3)}},
        {"frmSetEx", kTidemarkRc, kTidemarkIds, "IDD_PROCWATCH", placesOf(kWatch), {}},
        {"frmPasIn", kTidemarkRc, kTidemarkIds, "IDD_PASSWORD", placesOf(kPassword), {}},
        {"frmPsPrg", kTidemarkRc, kTidemarkIds, "IDD_PASSWORDWAIT", placesOf(kPasswordWait), {}},
        {"frmSave", "transfer/win32/Stowel.rc", "transfer/win32/resource.h", "IDD_SAVE", placesOf(transfer::layout::kSave), {}},
    };
}

// What is wrong with one window's controls; empty when nothing is.
std::vector<std::string> faultsOf(const std::vector<Control>& controls, const Window& w) {
    std::vector<std::string> faults;
    const auto name = [&](const Control& c) {
        return c.keyword + " " + std::to_string(c.id) + (c.text.empty() ? "" : " \"" + c.text + "\"");
    };
    std::map<int, TwipsRect> placed;
    for (const auto& p : w.places) placed[p.id] = p.twips;
    for (const auto& c : controls)
        if (c.id != -1 && !placed.count(c.id)) faults.push_back(name(c) + " has no place in the layout table");
    if (controls.size() < placed.size()) faults.push_back("the layout table places controls the window lacks");

    bool groupHasStop = true;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& c = controls[i];
        const auto role = roleOf(c);
        if (!role) {
            faults.push_back(name(c) + " has no role");
            continue;
        }
        const Control* before = i > 0 ? &controls[i - 1] : nullptr;
        const bool labelBefore = before && roleOf(*before) == Role::staticText && !before->text.empty() && before->visible();
        if (isBox(*role) && !labelBefore) faults.push_back(name(c) + " has no label right before it");
        if (c.keyword == "RTEXT" && !(labelBefore && before->keyword == "LTEXT"))
            faults.push_back(name(c) + " has no caption right before it");
        if (c.id == -1 && !(i + 1 < controls.size() && isBox(*roleOf(controls[i + 1]))))
            faults.push_back(name(c) + " has no place and names no box");
        // Option buttons: the first of each group is the group's tab stop.
        if (*role == Role::radioButton) {
            if (c.has("WS_GROUP")) groupHasStop = isTabStop(c);
            else if (!before || roleOf(*before) != Role::radioButton) groupHasStop = false;
            if (!groupHasStop) faults.push_back(name(c) + " is in an option group that Tab never reaches");
        } else if (takesFocus(*role) && !isTabStop(c)) {
            faults.push_back(name(c) + " is never reached by Tab");
        }
    }

    std::vector<std::vector<int>> pages = w.pages;
    if (pages.empty()) pages.emplace_back();
    std::set<int> onSomePage;
    for (const auto& page : pages) onSomePage.insert(page.begin(), page.end());
    for (std::size_t p = 0; p < pages.size(); ++p) {
        std::vector<const Control*> shown;
        for (const auto& c : controls)
            if (c.visible() && (!onSomePage.count(c.id) ||
                                std::find(pages[p].begin(), pages[p].end(), c.id) != pages[p].end()))
                shown.push_back(&c);
        const std::string page = w.pages.empty() ? "" : "page " + std::to_string(p) + ": ";
        std::map<char, const Control*> keys;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (const auto key = accessKey(*shown[i])) {
                const auto [at, fresh] = keys.emplace(*key, shown[i]);
                if (!fresh) faults.push_back(page + name(*shown[i]) + " has the access key of " + name(*at->second));
            }
            if (!placed.count(shown[i]->id)) continue;
            for (std::size_t j = i + 1; j < shown.size(); ++j)
                if (placed.count(shown[j]->id) && readsBefore(placed[shown[j]->id], placed[shown[i]->id]))
                    faults.push_back(page + name(*shown[j]) + " is read before " + name(*shown[i]) + " but made after it");
        }
    }
    return faults;
}

class ReadingOrder : public ::testing::TestWithParam<Window> {};

TEST_P(ReadingOrder, CreationOrderIsReadingOrderWithLabelsRolesAndAccessKeys) {
    const Window& w = GetParam();
    const std::string root = TIDEMARK_SOURCE_DIR "/";
    const auto controls = readDialog(readFile(root + w.script), w.dialog, readIds(root + w.header));
    ASSERT_FALSE(controls.empty()) << w.dialog << " not found in " << w.script;
    for (const std::string& fault : faultsOf(controls, w)) ADD_FAILURE() << w.name << ": " << fault;
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, ReadingOrder, ::testing::ValuesIn(everyWindow()),
                         [](const ::testing::TestParamInfo<Window>& info) { return info.param.name; });

// The faults the windows once had are found: a box whose label stands after
// it, two boxes after one label, a frame after what it holds, a value label
// without its caption, and an access key used twice.
TEST(ReadingOrderFaults, AreFoundInAWindowThatHasThem) {
    const std::string script = R"rc(IDD_SLOWCLEANING DIALOGEX 0, 0, 0, 0
BEGIN
    EDITTEXT        IDC_PAUSE_BOX, 0, 0, 0, 0, ES_AUTOHSCROLL | ES_RIGHT
    LTEXT           "mSec 毎に", IDC_PAUSE_LABEL, 0, 0, 0, 0, SS_NOTIFY
    EDITTEXT        IDC_STEP_BOX, 0, 0, 0, 0, ES_AUTOHSCROLL | ES_RIGHT
    LTEXT           "MB づつ確保する", IDC_STEP_LABEL, 0, 0, 0, 0, SS_NOTIFY
    PUSHBUTTON      "初期値(&I)", IDC_DEFAULTS_BUTTON, 0, 0, 0, 0
    PUSHBUTTON      "設定反映(&I)", IDC_SLOW_APPLY_BUTTON, 0, 0, 0, 0
    GROUPBOX        "低速メモリー確保設定", IDC_SLOW_SETTINGS_FRAME, 0, 0, 0, 0
    GROUPBOX        "現在の低速クリーニング状況", IDC_SLOW_STATUS_FRAME, 0, 0, 0, 0
    RTEXT           "メモリー確保状況の表示", IDC_SLOW_STATUS, 0, 0, 0, 0, SS_NOTIFY
    LISTBOX         IDC_STOP_BUTTON, 0, 0, 0, 0, LBS_NOTIFY
END
)rc";
    const Window slow{"frmClStp", "", "", "IDD_SLOWCLEANING", placesOf(layout::kSlow), {}};
    const auto faults = faultsOf(readDialog(script, slow.dialog, readIds(TIDEMARK_SOURCE_DIR "/" + kTidemarkIds)), slow);
    const auto found = [&](const std::string& part) {
        return std::any_of(faults.begin(), faults.end(), [&](const std::string& f) { return f.find(part) != std::string::npos; });
    };
    EXPECT_TRUE(found("EDITTEXT 1302 has no label right before it"));
    EXPECT_TRUE(found("GROUPBOX 1301 \"低速メモリー確保設定\" is read before EDITTEXT 1302"));
    EXPECT_TRUE(found("has the access key of PUSHBUTTON 1306"));
    EXPECT_TRUE(found("RTEXT 1309 \"メモリー確保状況の表示\" has no caption right before it"));
    EXPECT_TRUE(found("LISTBOX 1310 is never reached by Tab"));
    EXPECT_FALSE(found("EDITTEXT 1304 has no label"));   // its label is the pause box's: a name, if a wrong one
}

} // namespace
} // namespace tidemark::monitor
