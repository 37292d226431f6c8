// The suite's events as the Event Viewer and a collector meet them: the
// message table compiled into Tidemark.exe (every event's Japanese text
// with all of its fields), and the strings of an event a real program
// reported, read back from Wine's eventlog debug channel.
//
// The channel test needs event-channel.sh: Wine writes a program's debug
// channels to the Unix standard error it inherited, which a Windows program
// cannot redirect for its children; the script sends this program's (and so
// its children's) to a file and names that file in TIDEMARK_EVENT_CHANNEL_LOG.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

#include "SuiteMessages.h"
#include "TidemarkSession.h"
#include "platform/win32/Win32Text.h"
#include "shared/events/SuiteEvents.h"

namespace tidemark::e2e {
namespace {

using win32::fromWide;
using win32::toWide;

static_assert(TM_EVENT_CLEANING_HELPED == events::id::CleaningHelped);
static_assert(TM_EVENT_CLEANING_DID_NOT_HELP == events::id::CleaningDidNotHelp);
static_assert(TM_EVENT_CLEANING_NOT_RUN == events::id::CleaningNotRun);
static_assert(TM_EVENT_RIGHT_TAKEN == events::id::RightTaken);
static_assert(TM_EVENT_RIGHT_GIVEN_UP == events::id::RightGivenUp);
static_assert(TM_EVENT_SYSTEM_START_STALE == events::id::SystemStartStale);
static_assert(TM_EVENT_SETTINGS_IMPORTED == events::id::SettingsImported);
static_assert(TM_EVENT_SETTINGS_NOT_IMPORTED == events::id::SettingsNotImported);

struct Reported {
    platform::EventType type;
    std::uint32_t id;
    std::vector<std::string> strings;
};

class RecordingLog final : public platform::EventLog {
public:
    void report(platform::EventType type, std::uint32_t id, const std::vector<std::string>& strings) override {
        events.push_back({type, id, strings});
    }
    std::vector<Reported> events;
};

// Every event the suite reports, once, as its report functions build it.
std::vector<Reported> everyEvent() {
    RecordingLog log;
    const events::Reporter who{"Tidemark.exe", "alice"};
    cleaner::CleaningResult result;
    events::reportCleaning(log, who, result, {}, true);
    events::reportCleaning(log, who, result, {}, false);
    result.end = cleaner::CleaningEnd::NotRun;
    events::reportCleaning(log, who, result, {}, false);
    events::reportRightTaken(log, who, "S-1-5-21-1", "1");
    events::reportRightGivenUp(log, who, "S-1-5-21-1", "1");
    events::reportSystemStartStale(log, who, "0930");
    events::reportSettingsImported(log, "C:\\a.vesk", "d");
    events::reportSettingsNotImported(log, "C:\\a.vesk", "d");
    return log.events;
}

std::string programFile(const char* name) { return automation::currentProgramFolder() + "\\" + name; }

TEST(MessageTable, EveryEventHasItsJapaneseSentenceWithEveryFieldItReports) {
    const HMODULE tidemark = ::LoadLibraryExW(toWide(programFile("Tidemark.exe")).c_str(), nullptr,
                                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(tidemark, nullptr);
    const std::map<std::uint32_t, std::string> sentences = {
        {1000, "メモリークリーニングが終わり、空きメモリーがトリガーを上回りました。"},
        {1001, "メモリークリーニングが終わりましたが、空きメモリーはトリガー以下のままです。次回の自動実行は ‹13› 以降です。"},
        {1002, "メモリークリーニングを実行できませんでした（Ramhold.dll を使用できません: ‹14›）。"},
        {1100, "‹1› がメモリクリーナ実行権を取得しました。"},
        {1101, "‹1› がメモリクリーナ実行権を手放しました。"},
        {1200, "システム起動時のメモリクリーナーが止まっているおそれがあります（SSAUserTime が更新されていません）。"},
        {1300, "設定ファイルをインポートしました。"},
        {1301, "設定ファイルをインポートできませんでした。"},
    };
    const std::vector<Reported> reported = everyEvent();
    ASSERT_EQ(reported.size(), sentences.size());
    for (const Reported& e : reported) {
        // Markers for the event's fields, and for as many again that no
        // message may use.
        std::vector<std::wstring> markers;
        for (std::size_t i = 1; i <= e.strings.size() * 2; ++i) markers.push_back(toWide("‹" + std::to_string(i) + "›"));
        std::vector<DWORD_PTR> arguments;
        for (const std::wstring& m : markers) arguments.push_back(reinterpret_cast<DWORD_PTR>(m.c_str()));
        for (const LANGID language : {LANGID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)), LANGID(0)}) {
            wchar_t* text = nullptr;
            const DWORD length = ::FormatMessageW(
                FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY, tidemark,
                e.id, language, reinterpret_cast<LPWSTR>(&text), 0, reinterpret_cast<va_list*>(arguments.data()));
            ASSERT_GT(length, 0u) << e.id << " error " << ::GetLastError();
            const std::string message = fromWide(std::wstring_view(text, length));
            ::LocalFree(text);
            EXPECT_EQ(message.substr(0, message.find("\r\n")), sentences.at(e.id)) << e.id;
            for (std::size_t i = 1; i <= markers.size(); ++i) {
                const bool shown = message.find("‹" + std::to_string(i) + "›") != std::string::npos;
                EXPECT_EQ(shown, i <= e.strings.size()) << e.id << " field " << i << "\n" << message;
            }
            // Every line ends as the Event Viewer breaks lines: with CRLF.
            std::size_t lines = 0, crlf = 0;
            for (std::size_t i = 0; i < message.size(); ++i)
                if (message[i] == '\n') ++lines, crlf += i > 0 && message[i - 1] == '\r';
            EXPECT_GT(lines, 1u) << e.id;
            EXPECT_EQ(crlf, lines) << e.id;
        }
    }
    ::FreeLibrary(tidemark);
}

// One debug-channel line's string: Wine writes each insertion string as
// L"..." with \n, \r, \t, \", \\ and every character outside printable ASCII
// as four hex digits after a backslash, and cuts a long one with "...".
struct ChannelString {
    std::string text;
    bool cut = false;
};
std::optional<ChannelString> decodeChannelString(const std::string& line) {
    const std::size_t open = line.find("L\"");
    if (open == std::string::npos) return std::nullopt;
    std::wstring out;
    std::size_t i = open + 2;
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] != '\\') {
            out += static_cast<wchar_t>(line[i]);
            continue;
        }
        if (++i >= line.size()) return std::nullopt;
        switch (line[i]) {
        case 'n': out += L'\n'; break;
        case 'r': out += L'\r'; break;
        case 't': out += L'\t'; break;
        case '"': out += L'"'; break;
        case '\\': out += L'\\'; break;
        default:
            if (i + 4 > line.size()) return std::nullopt;
            out += static_cast<wchar_t>(std::stoul(line.substr(i, 4), nullptr, 16));
            i += 3;
        }
    }
    if (i >= line.size()) return std::nullopt;
    return ChannelString{fromWide(out), line.compare(i + 1, 3, "...") == 0};
}

// The events on the channel: advapi's line gives the type and the ID
// ("ReportEventW (<handle>,0x<type>,0x<category>,0x<id>,..."), the eventlog
// lines after it the strings.
struct ChannelEvent {
    unsigned type = 0, id = 0;
    std::vector<ChannelString> strings;
};
std::vector<ChannelEvent> channelEvents(const std::string& logPath, std::size_t from) {
    std::ifstream in(toWide(logPath).c_str(), std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<ChannelEvent> out;
    std::size_t at = std::min(from, all.size());
    while (at < all.size()) {
        std::size_t end = all.find('\n', at);
        if (end == std::string::npos) end = all.size();
        const std::string line = all.substr(at, end - at);
        const std::size_t call = line.find(":advapi:ReportEventW (");
        unsigned type = 0, category = 0, id = 0;
        if (call != std::string::npos) {
            const std::size_t comma = line.find(',', call);
            if (comma != std::string::npos && std::sscanf(line.c_str() + comma, ",0x%x,0x%x,0x%x", &type, &category, &id) == 3)
                out.push_back({type, id, {}});
        } else if (line.find(":eventlog:ReportEventW") != std::string::npos && !out.empty()) {
            if (auto s = decodeChannelString(line)) out.back().strings.push_back(*s);
        }
        at = end + 1;
    }
    return out;
}

std::size_t fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(toWide(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return data.nFileSizeLow;
}

TEST(EventChannel, ASilentImportsEventCarriesItsTypeIdFileAndDetailWithTheSourceUnregistered) {
    const char* log = std::getenv("TIDEMARK_EVENT_CHANNEL_LOG");
    if (!log || !automation::runningUnderWine()) GTEST_SKIP() << "run by event-channel.sh under Wine";
    // With the source not registered, as after unpacking the zip: the
    // events go out all the same and nothing waits or shows.
    HKEY source = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Tidemark", 0,
                        KEY_READ, &source) == ERROR_SUCCESS) {
        ::RegCloseKey(source);
        GTEST_SKIP() << "the event source is registered in this prefix";
    }
    TidemarkSession session;
    const std::string inkett = session.folder() + "\\Inkett.exe";
    ASSERT_TRUE(::CopyFileW(toWide(programFile("Inkett.exe")).c_str(), toWide(inkett).c_str(), FALSE));
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    ::GlobalMemoryStatusEx(&status);
    const std::string good = session.folder() + "\\company settings.vesk";
    const std::string bad = session.folder() + "\\broken.vesk";
    auto& files = session.system().platform().files;
    ASSERT_EQ(files.replaceContents(good, "[AppSettingFlag]\r\nPhysMemSize=" + std::to_string(status.ullTotalPhys) +
                                              "\r\nMemCleanForm=Slow\r\n"), 0u);
    ASSERT_EQ(files.replaceContents(bad, "[AppSettingFlag]\r\nMemCleanForm=Slow\r\n"), 0u);

    // Only the programs started from here get the channels: advapi's line
    // of each call (its type and ID) and eventlog's (its strings).
    ::SetEnvironmentVariableW(L"WINEDEBUG", L"-all,fixme+advapi,+eventlog");
    struct Case {
        std::string file;
        DWORD exitCode;
        const char* detailStart;
    };
    const Case cases[] = {
        {good, 0, "【設定読込み情報】設定のインポートが終了しました"},
        {bad, 6, "【設定ファイル読込みの失敗】設定ファイルが壊れています"},
    };
    for (const Case& c : cases) {
        const std::size_t before = fileSize(log);
        automation::Process run = automation::start(inkett, "/silent " + automation::quoteArgument(c.file), session.folder());
        // A box would wait for an answer nobody gives: it ends on its own.
        ASSERT_EQ(run.waitForExit(30000), std::optional<DWORD>(c.exitCode)) << c.file;
        const std::vector<ChannelEvent> reported = channelEvents(log, before);
        ASSERT_EQ(reported.size(), 1u) << c.file;
        EXPECT_EQ(reported[0].id, c.exitCode == 0 ? events::id::SettingsImported : events::id::SettingsNotImported);
        EXPECT_EQ(reported[0].type, c.exitCode == 0 ? unsigned(EVENTLOG_INFORMATION_TYPE) : unsigned(EVENTLOG_ERROR_TYPE));
        const std::vector<ChannelString>& strings = reported[0].strings;
        ASSERT_EQ(strings.size(), 2u) << c.file;
        EXPECT_EQ(strings[0].text, c.file);
        EXPECT_FALSE(strings[0].cut);
        // The detail may be cut by the channel: what it shows is its start.
        const std::string start = c.detailStart;
        EXPECT_EQ(strings[1].text.substr(0, start.size()), start.substr(0, strings[1].text.size())) << strings[1].text;
    }
    ::SetEnvironmentVariableW(L"WINEDEBUG", nullptr);
    EXPECT_EQ(session.shared("AppSettingFlag", "MemCleanForm"), "Slow");
    ::DeleteFileW(toWide(inkett).c_str());
    ::DeleteFileW(toWide(good).c_str());
    ::DeleteFileW(toWide(bad).c_str());
}

} // namespace
} // namespace tidemark::e2e
