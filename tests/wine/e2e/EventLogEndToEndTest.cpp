// The suite's events as the Event Viewer and a collector meet them: the
// message table compiled into Tidemark.exe (every event's Japanese sentence
// with all of its fields, CRLF lines), and an event a real program reported,
// read back from Wine's debug channels. Wine writes those to the Unix
// standard error a program inherited, which a Windows program cannot
// redirect for its children: event-channel.sh sends this run's to a file and
// names it in TIDEMARK_EVENT_CHANNEL_LOG.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>

#include "TidemarkSession.h"
#include "platform/win32/Win32Text.h"
#include "shared/events/SuiteEvents.h"

namespace tidemark::e2e {
namespace {

using win32::toWide;

struct Reported {
    std::uint32_t id;
    std::size_t fields;
};
class RecordingLog final : public platform::EventLog {
public:
    void report(platform::EventType, std::uint32_t id, const std::vector<std::string>& strings) override {
        events.push_back({id, strings.size()});
    }
    std::vector<Reported> events;
};

TEST(MessageTable, EveryEventHasItsJapaneseSentenceWithEveryFieldItReports) {
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
    const std::map<std::uint32_t, std::string> sentences = {
        {1000, "メモリークリーニングが終わり、空きメモリーがトリガーを上回りました。"},
        {1001, "メモリークリーニングが終わりましたが、空きメモリーはトリガー以下のままです。次回の自動実行は <13> 以降です。"},
        {1002, "メモリークリーニングを実行できませんでした（Ramhold.dll を使用できません: <14>）。"},
        {1100, "<1> がメモリクリーナ実行権を取得しました。"},
        {1101, "<1> がメモリクリーナ実行権を手放しました。"},
        {1200, "システム起動時のメモリクリーナーが止まっているおそれがあります（SSAUserTime が更新されていません）。"},
        {1300, "設定ファイルをインポートしました。"},
        {1301, "設定ファイルをインポートできませんでした。"},
    };
    ASSERT_EQ(log.events.size(), sentences.size());
    const HMODULE tidemark = ::LoadLibraryExW(toWide(automation::currentProgramFolder() + "\\Tidemark.exe").c_str(),
                                              nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(tidemark, nullptr);
    for (const Reported& e : log.events) {
        // A marker for each field, and as many again that no message may use.
        std::vector<std::wstring> markers;
        std::vector<DWORD_PTR> arguments;
        for (std::size_t i = 1; i <= e.fields * 2; ++i) markers.push_back(L"<" + std::to_wstring(i) + L">");
        for (const std::wstring& m : markers) arguments.push_back(reinterpret_cast<DWORD_PTR>(m.c_str()));
        wchar_t* text = nullptr;
        const DWORD length = ::FormatMessageW(
            FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY, tidemark, e.id,
            MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&text), 0,
            reinterpret_cast<va_list*>(arguments.data()));
        ASSERT_GT(length, 0u) << e.id << " error " << ::GetLastError();
        const std::string message = win32::fromWide(std::wstring_view(text, length));
        ::LocalFree(text);
        EXPECT_EQ(message.substr(0, message.find("\r\n")), sentences.at(e.id)) << e.id;
        for (std::size_t i = 1; i <= markers.size(); ++i)
            EXPECT_EQ(message.find("<" + std::to_string(i) + ">") != std::string::npos, i <= e.fields)
                << e.id << " field " << i << "\n" << message;
        std::size_t lines = 0, crlf = 0;
        for (std::size_t i = 1; i < message.size(); ++i)
            if (message[i] == '\n') ++lines, crlf += message[i - 1] == '\r';
        EXPECT_GT(lines, 1u) << e.id;
        EXPECT_EQ(crlf, lines) << e.id;
    }
    ::FreeLibrary(tidemark);
}

// A string as Wine's channels print it: L"..." with \n, \r, \t, \", \\ and
// each character outside printable ASCII as a backslash and four hex digits.
std::string channelQuoted(const std::string& utf8) {
    std::string out;
    char hex[8];
    for (wchar_t c : toWide(utf8)) {
        if (c == L'\n') out += "\\n";
        else if (c == L'\r') out += "\\r";
        else if (c == L'"' || c == L'\\') out += std::string("\\") + static_cast<char>(c);
        else if (c >= L' ' && c < 127) out += static_cast<char>(c);
        else std::snprintf(hex, sizeof hex, "\\%04x", static_cast<unsigned>(c)), out += hex;
    }
    return out;
}

struct ChannelEvent {
    unsigned type = 0, id = 0;
    std::vector<std::string> strings;   // as printed, without L"", cut where Wine cut them
};
// advapi's fixme line of each ReportEventW call gives its type and ID, the
// eventlog lines after it its strings.
std::vector<ChannelEvent> channelEvents(const std::string& logPath, std::size_t from) {
    std::ifstream in(toWide(logPath).c_str(), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    std::vector<ChannelEvent> out;
    unsigned type, category, id;
    for (std::string line; std::getline(in, line);) {
        const std::size_t call = line.find(":advapi:ReportEventW (");
        const std::size_t text = line.find(":eventlog:ReportEventW L\"");
        if (call != std::string::npos && line.find(',', call) != std::string::npos &&
            std::sscanf(line.c_str() + line.find(',', call), ",0x%x,0x%x,0x%x", &type, &category, &id) == 3)
            out.push_back({type, id, {}});
        else if (text != std::string::npos && !out.empty())
            out.back().strings.push_back(line.substr(text + 25, line.rfind('"') - text - 25));
    }
    return out;
}

TEST(EventChannel, ARefusedSilentImportsEventCarriesItsTypeIdFileAndReasonWithTheSourceUnregistered) {
    const char* log = std::getenv("TIDEMARK_EVENT_CHANNEL_LOG");
    if (!log || !automation::runningUnderWine()) GTEST_SKIP() << "run by event-channel.sh under Wine";
    // Unregistered, as after unpacking the zip: the events go out all the
    // same and nothing waits or shows.
    HKEY source = nullptr;
    ASSERT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Tidemark",
                              0, KEY_READ, &source), ERROR_SUCCESS);
    TidemarkSession session;
    const std::string inkett = session.folder() + "\\Inkett.exe", file = session.folder() + "\\broken settings.vesk";
    ASSERT_TRUE(::CopyFileW(toWide(automation::currentProgramFolder() + "\\Inkett.exe").c_str(), toWide(inkett).c_str(), FALSE));
    ASSERT_EQ(session.system().platform().files.replaceContents(file, "[AppSettingFlag]\r\nMemCleanForm=Slow\r\n"), 0u);
    WIN32_FILE_ATTRIBUTE_DATA before{};
    ::GetFileAttributesExW(toWide(log).c_str(), GetFileExInfoStandard, &before);
    // Only the programs started from here get the channels.
    ::SetEnvironmentVariableW(L"WINEDEBUG", L"-all,fixme+advapi,+eventlog");
    automation::Process run = automation::start(inkett, "/silent " + automation::quoteArgument(file), session.folder());
    ::SetEnvironmentVariableW(L"WINEDEBUG", nullptr);
    // A box would wait for an answer nobody gives: it ends on its own.
    ASSERT_EQ(run.waitForExit(30000), std::optional<DWORD>(6));
    const std::vector<ChannelEvent> reported = channelEvents(log, before.nFileSizeLow);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].type, unsigned(EVENTLOG_ERROR_TYPE));
    EXPECT_EQ(reported[0].id, events::id::SettingsNotImported);
    ASSERT_EQ(reported[0].strings.size(), 2u);
    EXPECT_EQ(reported[0].strings[0], channelQuoted(file));
    // The channel cuts a long string: what it shows is the detail's start.
    const std::string detail = channelQuoted("【設定ファイル読込みの失敗】設定ファイルが壊れています\r\n設定を読み込む事が出来ませんでした");
    const std::string& shown = reported[0].strings[1];
    EXPECT_GT(shown.size(), 40u);
    EXPECT_EQ(detail.compare(0, shown.size(), shown), 0) << shown;
    for (const std::string& f : {inkett, file}) ::DeleteFileW(toWide(f).c_str());
}

} // namespace
} // namespace tidemark::e2e
