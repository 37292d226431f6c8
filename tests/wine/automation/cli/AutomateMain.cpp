// tm_automate: the automation library from the command line, for manual use
// and shell scripts. Prints UTF-8 lines; exits 0 on success, 1 when nothing
// matched or the time ran out, 2 on a usage error.
#include "automation/Automation.h"
#include "platform/win32/Win32Text.h"

#include <cstdio>
#include <exception>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tidemark::automation {
namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "usage: tm_automate [options] <command> [arguments]\n"
    "options:\n"
    "  --timeout <ms>     how long to wait for a window, box or menu (default 5000)\n"
    "  --pid <pid|exe>    only windows of that process\n"
    "  --substring        captions match when they contain the given text\n"
    "  --visible          only visible windows\n"
    "windows are given as <class> <caption>; '*' matches any, 'hwnd=0x...' names one\n"
    "commands:\n"
    "  windows <pid|exe>                         list a process's top-level windows\n"
    "  find <class> <caption>                    wait for a window, print its handle\n"
    "  controls <class> <caption>                list a window's controls\n"
    "  text <class> <caption> <controlId>        print a control's text\n"
    "  state <class> <caption> <controlId>       print enabled, visible and check state\n"
    "  settext <class> <caption> <controlId> <text>\n"
    "  click <class> <caption> <controlId>       press a button (queued)\n"
    "  command <class> <caption> <commandId>     choose a menu command of the window\n"
    "  tooltip <class> <caption> <controlId>     print the control's tooltip text\n"
    "  tooltips <pid|exe>                        list every tooltip tool of a process\n"
    "  msgbox <pid|exe> [--answer <id|OK|Yes|No|...>]\n"
    "  send <class> <caption> <message> [wParam] [lParam]   print the result\n"
    "  post <class> <caption> <message> [wParam] [lParam]\n"
    "  menu <pid|exe> [--pick <position> | --pick-text <text> | --close]\n"
    "  capture <class> <caption> <out.png> [--method auto|printwindow|screen]\n"
    "  capture-all <pid|exe> <folder> [prefix]  every visible window of a process as PNG\n"
    "  start <exe> [arguments...]                start a program, print its pid\n"
    "  wait <pid> [ms]                           wait for a program to end, print its exit code\n"
    "  kill <pid>                                end a program\n";

// Console or pipe: UTF-16 to a console, UTF-8 bytes to anything else.
void writeOut(HANDLE stream, const std::string& text) {
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(stream, &mode)) {
        const std::wstring wide = win32::toWide(text);
        ::WriteConsoleW(stream, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        ::WriteFile(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

void printLine(const std::string& line) { writeOut(::GetStdHandle(STD_OUTPUT_HANDLE), line + "\n"); }
void printError(const std::string& line) { writeOut(::GetStdHandle(STD_ERROR_HANDLE), "tm_automate: " + line + "\n"); }

// Text with its line breaks shown as \r and \n, so one item stays one line.
std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

std::string hex(UINT_PTR value) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "0x%llx", static_cast<unsigned long long>(value));
    return buffer;
}

std::optional<long long> parseNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 0);
    if (end == nullptr || *end != '\0') return std::nullopt;
    return value;
}

struct Options {
    DWORD timeoutMs = 5000;
    DWORD processId = 0;
    bool substring = false;
    bool visibleOnly = false;
    std::vector<std::string> positional;
    std::map<std::string, std::string> named;   // --answer, --pick, --pick-text, --method
    bool close = false;
};

// A pid, or the first running program with that executable name.
std::optional<DWORD> resolveProcess(const std::string& text) {
    if (const std::optional<long long> number = parseNumber(text)) {
        if (*number > 0) return static_cast<DWORD>(*number);
        return std::nullopt;
    }
    std::string name = text;
    if (name.size() < 4 || name.substr(name.size() - 4) != ".exe") name += ".exe";
    const std::vector<DWORD> ids = processIdsByExeName(name);
    if (ids.empty()) return std::nullopt;
    return ids.front();
}

HWND resolveWindow(const Options& options, const std::string& className, const std::string& caption) {
    if (className.rfind("hwnd=", 0) == 0) {
        const std::optional<long long> handle = parseNumber(className.substr(5));
        if (!handle) return nullptr;
        HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(*handle));
        return ::IsWindow(window) ? window : nullptr;
    }
    WindowCriteria criteria;
    if (className != "*") criteria.className = className;
    if (caption != "*") criteria.caption = caption;
    criteria.captionSubstring = options.substring;
    criteria.processId = options.processId;
    criteria.visibleOnly = options.visibleOnly;
    return waitForWindow(criteria, options.timeoutMs);
}

class Command {
public:
    explicit Command(Options options) : options_(std::move(options)) {}

    int run() {
        if (options_.positional.empty()) return usage("no command");
        const std::string name = options_.positional.front();
        args_.assign(options_.positional.begin() + 1, options_.positional.end());
        const std::map<std::string, std::function<int()>> commands = {
            {"windows", [this] { return windows(); }},   {"find", [this] { return find(); }},
            {"controls", [this] { return controls(); }}, {"text", [this] { return text(); }},
            {"state", [this] { return state(); }},       {"settext", [this] { return setText(); }},
            {"click", [this] { return click(); }},       {"command", [this] { return command(); }},
            {"tooltip", [this] { return tooltip(); }},   {"tooltips", [this] { return tooltips(); }},
            {"msgbox", [this] { return msgbox(); }},     {"send", [this] { return message(true); }},
            {"post", [this] { return message(false); }}, {"menu", [this] { return menu(); }},
            {"capture", [this] { return capture(); }},   {"capture-all", [this] { return captureAll(); }},
            {"start", [this] { return startProgram(); }},
            {"wait", [this] { return wait(); }},         {"kill", [this] { return kill(); }},
        };
        const auto found = commands.find(name);
        if (found == commands.end()) return usage("unknown command " + name);
        return found->second();
    }

private:
    int usage(const std::string& problem) {
        printError(problem);
        writeOut(::GetStdHandle(STD_ERROR_HANDLE), kUsageText);
        return kUsage;
    }
    int fail(const std::string& problem) {
        printError(problem);
        return kFailed;
    }

    bool need(size_t count) const { return args_.size() >= count; }

    HWND window() { return resolveWindow(options_, args_[0], args_[1]); }

    // The window and one of its controls by ID, or an error already reported.
    std::optional<HWND> control(int* status) {
        const std::optional<long long> id = parseNumber(args_[2]);
        if (!id) {
            *status = usage("control ID must be a number");
            return std::nullopt;
        }
        HWND parent = window();
        if (parent == nullptr) {
            *status = fail("no window " + args_[0] + " " + args_[1]);
            return std::nullopt;
        }
        HWND child = findControl(parent, static_cast<int>(*id));
        if (child == nullptr) {
            *status = fail("no control " + args_[2]);
            return std::nullopt;
        }
        return child;
    }

    int windows() {
        if (!need(1)) return usage("windows needs <pid|exe>");
        const std::optional<DWORD> processId = resolveProcess(args_[0]);
        if (!processId) return fail("no process " + args_[0]);
        const std::vector<WindowInfo> infos = listWindows(*processId);
        for (const WindowInfo& info : infos) printLine(formatWindowInfo(info));
        return infos.empty() ? kFailed : kOk;
    }

    int find() {
        if (!need(2)) return usage("find needs <class> <caption>");
        HWND found = window();
        if (found == nullptr) return fail("no window " + args_[0] + " " + args_[1]);
        printLine(formatWindowInfo(describeWindow(found)));
        return kOk;
    }

    int controls() {
        if (!need(2)) return usage("controls needs <class> <caption>");
        HWND parent = window();
        if (parent == nullptr) return fail("no window " + args_[0] + " " + args_[1]);
        for (ControlInfo info : listControls(parent)) {
            info.text = escaped(info.text);
            printLine(formatControlInfo(info));
        }
        return kOk;
    }

    int text() {
        if (!need(3)) return usage("text needs <class> <caption> <controlId>");
        int status = kOk;
        const std::optional<HWND> child = control(&status);
        if (!child) return status;
        const std::optional<std::string> shown = controlText(*child);
        if (!shown) return fail("the control did not answer");
        printLine(*shown);
        return kOk;
    }

    int state() {
        if (!need(3)) return usage("state needs <class> <caption> <controlId>");
        int status = kOk;
        const std::optional<HWND> child = control(&status);
        if (!child) return status;
        std::string line = std::string("enabled=") + (isEnabled(*child) ? "1" : "0") +
                           " visible=" + (isVisible(*child) ? "1" : "0");
        if (sameClassName(windowClassName(*child), "Button")) {
            const std::optional<CheckState> check = checkState(*child);
            if (check) {
                line += std::string(" checked=") +
                        (*check == CheckState::Checked ? "1" : *check == CheckState::Indeterminate ? "2" : "0");
            }
        }
        printLine(line);
        return kOk;
    }

    int setText() {
        if (!need(4)) return usage("settext needs <class> <caption> <controlId> <text>");
        int status = kOk;
        const std::optional<HWND> child = control(&status);
        if (!child) return status;
        return setControlText(*child, args_[3]) ? kOk : fail("WM_SETTEXT failed");
    }

    int click() {
        if (!need(3)) return usage("click needs <class> <caption> <controlId>");
        int status = kOk;
        const std::optional<HWND> child = control(&status);
        if (!child) return status;
        return clickButton(*child) ? kOk : fail("the button is disabled or gone");
    }

    int command() {
        if (!need(3)) return usage("command needs <class> <caption> <commandId>");
        const std::optional<long long> id = parseNumber(args_[2]);
        if (!id) return usage("command ID must be a number");
        HWND owner = window();
        if (owner == nullptr) return fail("no window " + args_[0] + " " + args_[1]);
        return chooseMenuCommand(owner, static_cast<int>(*id)) ? kOk : fail("PostMessage failed");
    }

    int tooltip() {
        if (!need(3)) return usage("tooltip needs <class> <caption> <controlId>");
        int status = kOk;
        const std::optional<HWND> child = control(&status);
        if (!child) return status;
        std::string error;
        const std::optional<std::string> tip = tooltipText(*child, &error);
        if (!tip) return fail(error);
        printLine(*tip);
        return kOk;
    }

    int tooltips() {
        if (!need(1)) return usage("tooltips needs <pid|exe>");
        const std::optional<DWORD> processId = resolveProcess(args_[0]);
        if (!processId) return fail("no process " + args_[0]);
        bool any = false;
        for (HWND tip : tooltipWindows(*processId)) {
            std::string error;
            const std::optional<std::vector<TooltipTool>> tools = tooltipTools(tip, &error);
            if (!tools) return fail(error);
            for (const TooltipTool& tool : *tools) {
                any = true;
                printLine("tooltip=" + hex(reinterpret_cast<UINT_PTR>(tip)) +
                          " window=" + hex(reinterpret_cast<UINT_PTR>(tool.window)) + " id=" + hex(tool.id) +
                          " flags=" + hex(tool.flags) + " text=\"" + escaped(tool.text) + "\"");
            }
        }
        return any ? kOk : fail("no tooltip tools");
    }

    int msgbox() {
        if (!need(1)) return usage("msgbox needs <pid|exe>");
        const std::optional<DWORD> processId = resolveProcess(args_[0]);
        if (!processId) return fail("no process " + args_[0]);
        const std::optional<MessageBoxInfo> box = waitForMessageBox(*processId, options_.timeoutMs);
        if (!box) return fail("no message box");
        printLine("hwnd=" + hex(reinterpret_cast<UINT_PTR>(box->hwnd)));
        printLine("caption=" + escaped(box->caption));
        printLine("text=" + escaped(box->text));
        std::string buttons;
        for (size_t i = 0; i < box->buttons.size(); ++i) {
            buttons += (i == 0 ? "" : " ") + buttonIdName(box->buttons[i]) + "(" + std::to_string(box->buttons[i]) +
                       ")=\"" + box->buttonTexts[i] + "\"";
        }
        printLine("buttons=" + buttons);
        printLine(std::string("icon=") + (box->hasIcon ? "1" : "0"));
        const auto answer = options_.named.find("answer");
        if (answer == options_.named.end()) return kOk;
        const std::optional<int> id = buttonIdFromName(answer->second);
        if (!id) return usage("unknown button " + answer->second);
        if (!answerMessageBox(box->hwnd, *id)) return fail("could not press " + answer->second);
        printLine("answered=" + buttonIdName(*id));
        return kOk;
    }

    int message(bool send) {
        if (!need(3)) return usage("send/post need <class> <caption> <message> [wParam] [lParam]");
        const std::optional<long long> number = parseNumber(args_[2]);
        const std::optional<long long> wParam = need(4) ? parseNumber(args_[3]) : std::optional<long long>(0);
        const std::optional<long long> lParam = need(5) ? parseNumber(args_[4]) : std::optional<long long>(0);
        if (!number || !wParam || !lParam) return usage("message, wParam and lParam must be numbers");
        HWND target = window();
        if (target == nullptr) return fail("no window " + args_[0] + " " + args_[1]);
        if (!send) {
            return postMessage(target, static_cast<UINT>(*number), static_cast<WPARAM>(*wParam),
                               static_cast<LPARAM>(*lParam))
                       ? kOk
                       : fail("PostMessage failed");
        }
        const std::optional<LRESULT> result = sendMessage(target, static_cast<UINT>(*number),
                                                          static_cast<WPARAM>(*wParam), static_cast<LPARAM>(*lParam),
                                                          options_.timeoutMs);
        if (!result) return fail("the window did not answer in time");
        printLine(std::to_string(static_cast<long long>(*result)));
        return kOk;
    }

    int menu() {
        if (!need(1)) return usage("menu needs <pid|exe>");
        const std::optional<DWORD> processId = resolveProcess(args_[0]);
        if (!processId) return fail("no process " + args_[0]);
        HWND menuWindow = waitForPopupMenu(*processId, options_.timeoutMs);
        if (menuWindow == nullptr) return fail("no pop-up menu");
        printLine("menu=" + hex(reinterpret_cast<UINT_PTR>(menuWindow)));
        std::string error;
        const std::optional<std::vector<MenuItem>> items = readPopupMenu(menuWindow, &error);
        if (items) {
            for (const MenuItem& item : *items) {
                printLine("item " + std::to_string(item.position) + " id=" + std::to_string(item.id) +
                          (item.separator ? " separator" : "") + (item.disabled ? " disabled" : "") +
                          (item.checked ? " checked" : "") + " text=\"" + item.text + "\"");
            }
        } else {
            printLine("items unreadable: " + error);
        }
        if (options_.close) return closePopupMenu(menuWindow) ? kOk : fail("the menu stayed open");
        const auto pick = options_.named.find("pick");
        if (pick != options_.named.end()) {
            const std::optional<long long> position = parseNumber(pick->second);
            if (!position) return usage("--pick needs a position");
            return choosePopupMenuItem(menuWindow, static_cast<int>(*position), items ? &*items : nullptr)
                       ? kOk
                       : fail("cannot choose item " + pick->second);
        }
        const auto pickText = options_.named.find("pick-text");
        if (pickText != options_.named.end()) {
            return choosePopupMenuItemByText(menuWindow, pickText->second, &error) ? kOk : fail(error);
        }
        return kOk;
    }

    int capture() {
        if (!need(3)) return usage("capture needs <class> <caption> <out.png>");
        CaptureMethod method = CaptureMethod::Auto;
        const auto chosen = options_.named.find("method");
        if (chosen != options_.named.end()) {
            if (chosen->second == "printwindow") method = CaptureMethod::PrintWindow;
            else if (chosen->second == "screen") method = CaptureMethod::Screen;
            else if (chosen->second != "auto") return usage("unknown method " + chosen->second);
        }
        HWND target = window();
        if (target == nullptr) return fail("no window " + args_[0] + " " + args_[1]);
        std::string error;
        const std::optional<CapturedImage> image = captureWindow(target, method, &error);
        if (!image) return fail("capture failed: " + error);
        const std::vector<std::uint8_t> png = encodePngRgb(image->width, image->height, image->rgb);
        if (png.empty() || !writeFileBytes(args_[2], png)) return fail("cannot write " + args_[2]);
        printLine(args_[2] + " " + std::to_string(image->width) + "x" + std::to_string(image->height) + " " +
                  captureMethodName(image->method) + (isUniform(*image) ? " uniform" : ""));
        return kOk;
    }

    int captureAll() {
        if (!need(2)) return usage("capture-all needs <pid|exe> <folder>");
        const std::optional<DWORD> processId = resolveProcess(args_[0]);
        if (!processId) return fail("no process " + args_[0]);
        const std::vector<std::string> paths = captureProcessWindows(*processId, args_[1], need(3) ? args_[2] : "window");
        for (const std::string& path : paths) printLine(path);
        return paths.empty() ? fail("no visible window captured") : kOk;
    }

    int startProgram() {
        if (!need(1)) return usage("start needs <exe>");
        std::string arguments;
        for (size_t i = 1; i < args_.size(); ++i) arguments += (i == 1 ? "" : " ") + quoteArgument(args_[i]);
        StartResult started = startProcess(args_[0], arguments, std::string(), StdStreams::None);
        if (!started.process) return fail("cannot start " + args_[0] + ", error " + std::to_string(started.error));
        printLine(std::to_string(started.process.id()));
        started.process.detach();   // the caller ends it
        return kOk;
    }

    int wait() {
        if (!need(1)) return usage("wait needs <pid>");
        const std::optional<long long> processId = parseNumber(args_[0]);
        const std::optional<long long> timeout = need(2) ? parseNumber(args_[1]) : std::optional<long long>(options_.timeoutMs);
        if (!processId || !timeout) return usage("pid and time-out must be numbers");
        Process process(win32::UniqueKernelHandle(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                                                static_cast<DWORD>(*processId))),
                        static_cast<DWORD>(*processId));
        if (!process) return fail("no process " + args_[0]);
        const std::optional<DWORD> code = process.waitForExit(static_cast<DWORD>(*timeout));
        if (!code) {
            process.detach();   // still running: waiting must not end it
            return fail("still running");
        }
        printLine(std::to_string(*code));
        return kOk;
    }

    int kill() {
        if (!need(1)) return usage("kill needs <pid>");
        const std::optional<long long> processId = parseNumber(args_[0]);
        if (!processId) return usage("pid must be a number");
        Process process(win32::UniqueKernelHandle(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                                                                static_cast<DWORD>(*processId))),
                        static_cast<DWORD>(*processId));
        if (!process) return fail("no process " + args_[0]);
        return process.terminate() ? kOk : fail("the process did not end");
    }

    Options options_;
    std::vector<std::string> args_;
};

std::optional<Options> parseOptions(const std::vector<std::string>& words, std::string* problem) {
    Options options;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == "--substring") {
            options.substring = true;
        } else if (word == "--visible") {
            options.visibleOnly = true;
        } else if (word == "--close") {
            options.close = true;
        } else if (word == "--timeout" || word == "--pid") {
            if (!hasValue) {
                *problem = word + " needs a value";
                return std::nullopt;
            }
            const std::string value = words[++i];
            if (word == "--timeout") {
                const std::optional<long long> ms = parseNumber(value);
                if (!ms || *ms < 0) {
                    *problem = "--timeout needs milliseconds";
                    return std::nullopt;
                }
                options.timeoutMs = static_cast<DWORD>(*ms);
            } else {
                const std::optional<DWORD> processId = resolveProcess(value);
                if (!processId) {
                    *problem = "no process " + value;
                    return std::nullopt;
                }
                options.processId = *processId;
            }
        } else if (word == "--answer" || word == "--pick" || word == "--pick-text" || word == "--method") {
            if (!hasValue) {
                *problem = word + " needs a value";
                return std::nullopt;
            }
            options.named[word.substr(2)] = words[++i];
        } else if (word == "--help" || word == "-h") {
            *problem = "help";
            return std::nullopt;
        } else {
            options.positional.push_back(word);
        }
    }
    return options;
}

std::vector<std::string> commandLineWords() {
    std::vector<std::string> words;
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (arguments == nullptr) return words;
    for (int i = 1; i < count; ++i) words.push_back(win32::fromWideBuffer(arguments[i]));
    ::LocalFree(arguments);
    return words;
}

} // namespace
} // namespace tidemark::automation

int main() {
    using namespace tidemark::automation;
    std::string problem;
    const std::optional<Options> options = parseOptions(commandLineWords(), &problem);
    if (!options) {
        if (problem == "help") {
            writeOut(::GetStdHandle(STD_OUTPUT_HANDLE), kUsageText);
            return kOk;
        }
        printError(problem);
        writeOut(::GetStdHandle(STD_ERROR_HANDLE), kUsageText);
        return kUsage;
    }
    try {
        return Command(*options).run();
    } catch (const std::exception& error) {
        printError(error.what());
        return kFailed;
    }
}
