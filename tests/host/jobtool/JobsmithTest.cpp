// Jobsmith over a Task Scheduler in memory: the word forms and their exit
// codes, the time rules, every failing step of an add, the prompts and the
// listing.
#include <gtest/gtest.h>

#include "FakeTaskScheduler.h"
#include "jobtool/core/Jobsmith.h"
#include "jobtool/core/JobsmithTexts.h"
#include "jobtool/core/StartTime.h"
#include "platform/sim/SimClock.h"

namespace tidemark::jobtool {
namespace {

using testing::FakeScheduler;
using Words = std::vector<std::string>;
constexpr HResult kBroken = 0x8007001F;

class Jobsmith : public ::testing::Test {
protected:
    Jobsmith() { clock.setLocalTime(2026, 12, 7, 12, 34, 10); }
    HResult run(const Words& words) {
        auto factory = fake.factory();
        JobsmithServices services{*factory, console, clock, boxes};
        const HResult r = runJobsmith(words, services);
        EXPECT_EQ(fake.alive, 0) << "an interface was not released";
        return r;
    }
    Words add(const std::string& when, Words more = {}) {
        Words w{"Jobsmith", "Soon", when, "comment", "C:\\Program Files\\Tidemark\\Corvid.exe", "PassTest"};
        w.insert(w.end(), more.begin(), more.end());
        return w;
    }
    bool helpShown() const { return console.output.find("ＡＴコマンドのように") != std::string::npos; }
    bool schedulerCreated() const {
        return std::find(fake.calls.begin(), fake.calls.end(), "CoCreateInstance") != fake.calls.end();
    }
    std::string lastBox() const { return boxes.shown.empty() ? std::string() : boxes.shown.back().text; }

    FakeScheduler fake;
    testing::ScriptedConsole console;
    testing::RecordedBoxes boxes;
    sim::SimClock clock;
};

TEST_F(Jobsmith, WordCountsChooseTheActionAndTheExitCode) {
    struct Case {
        int words;
        HResult exit;
        bool help, scheduler;
    };
    for (const Case& c : {Case{1, hr::Ok, false, true}, Case{2, hr::Ok, true, false}, Case{4, hr::Fail, true, false},
                          Case{5, hr::Fail, true, false}, Case{9, hr::Fail, true, false},
                          Case{12, hr::Fail, true, false}}) {
        SCOPED_TRACE(c.words);
        fake.calls.clear();
        console.output.clear();
        Words w{"Jobsmith"};
        while (static_cast<int>(w.size()) < c.words) w.push_back("w");
        EXPECT_EQ(run(w), c.exit);
        EXPECT_EQ(helpShown(), c.help);
        EXPECT_EQ(schedulerCreated(), c.scheduler);
    }
}

TEST_F(Jobsmith, HelpIsTheWholeTextWithTheProgramName) {
    EXPECT_EQ(run({"C:\\bin\\Jobsmith.exe", "/DELETE"}), hr::Ok);
    std::string expected;
    for (const char* line : text::kHelp) expected += line;
    for (auto at = expected.find("%s"); at != std::string::npos; at = expected.find("%s"))
        expected.replace(at, 2, "C:\\bin\\Jobsmith.exe");
    EXPECT_EQ(console.output, expected);
    EXPECT_EQ(console.output.substr(0, 60), "\nC:\\bin\\Jobsmith.exe -- このプログラムは、ＡＴコ");
}

TEST_F(Jobsmith, SchedulerThatCannotBeCreatedIsReportedWithItsCode) {
    fake.failing["CoCreateInstance"] = hr::ServiceNotRunning;
    EXPECT_EQ(run({"Jobsmith"}), hr::ServiceNotRunning);
    EXPECT_EQ(lastBox(), "OLE 初期化に失敗しました");
    EXPECT_EQ(boxes.shown.back().title, "タスクスケジューラ設定");
    EXPECT_EQ(boxes.shown.back().owner, 0u);
}

TEST_F(Jobsmith, WordsLongerThanTheirBuffersAreRefusedBeforeAnythingStarts) {
    std::string fits;
    for (int i = 0; i < 254; ++i) fits += "名";   // one UTF-16 unit each
    EXPECT_EQ(run({"Jobsmith", fits, "/DELETE"}), 0x80070002u);   // fits: reaches Delete
    fake.calls.clear();
    EXPECT_EQ(run({"Jobsmith", fits + "名", "/DELETE"}), hr::Fail);
    EXPECT_FALSE(schedulerCreated());
    EXPECT_NE(console.output.find("Error: 1 番目の引数が長すぎます (254 文字まで)"), std::string::npos);
    struct Case {
        std::size_t index, limit;
    };
    for (const Case& c : {Case{2, 31}, Case{3, 254}, Case{4, 254}, Case{5, 254}, Case{6, 63}, Case{7, 127}}) {
        SCOPED_TRACE(c.index);
        Words w = add("12:00", {"user", "password"});
        // At its limit a word is taken whole (a time word that long is then
        // refused as a time, not for its length).
        w[c.index] = c.index == 2 ? "12:00" + std::string(c.limit - 5, ' ') : std::string(c.limit, '1');
        fake.tasks.clear();
        console.output.clear();
        run(w);
        EXPECT_EQ(console.output.find("長すぎます"), std::string::npos);
        EXPECT_EQ(fake.tasks.size(), c.index == 2 ? 0u : 1u);
        w[c.index] += "1";
        fake.tasks.clear();
        fake.calls.clear();
        EXPECT_EQ(run(w), hr::Fail);
        EXPECT_FALSE(schedulerCreated());
        EXPECT_TRUE(fake.tasks.empty());
    }
}

TEST_F(Jobsmith, DeleteComparesTheKeywordWithoutCase) {
    fake.tasks["a"] = {};
    EXPECT_EQ(run({"Jobsmith", "a", "/delete"}), hr::Ok);
    EXPECT_TRUE(fake.tasks.empty());
    EXPECT_EQ(run({"Jobsmith", "a", "/delete"}), 0x80070002u);   // no such task: Delete's own code
    EXPECT_EQ(console.output, "");
    EXPECT_EQ(run({"Jobsmith", "a", "/REMOVE"}), hr::Fail);
    EXPECT_EQ(console.output,
              "Error: Jobsmith タスク名.job /DELETE と入力してください\n\n ヘルプは Jobsmith /? と入力してください\n");
}

TEST_F(Jobsmith, TimeWordsAreReadStrictly) {
    struct Case {
        const char* word;
        const char* error;   // nullptr: accepted
        int hour = 0, minute = 0;
    };
    for (const Case& c : {Case{"7:05", nullptr, 7, 5}, Case{"23:59", nullptr, 23, 59}, Case{"00:00", nullptr, 0, 0},
                          Case{"123", text::kTimeLengthError}, Case{"12:345", text::kTimeLengthError},
                          Case{"123:4", text::kHourPartError}, Case{"24:00", text::kHourRangeError},
                          Case{"10:60", text::kMinuteRangeError}, Case{"1:234", text::kMinuteRangeError},
                          Case{"ab:cd", text::kHourPartError}, Case{"12:5", text::kMinuteRangeError},
                          Case{"0:005", text::kMinuteRangeError}, Case{"+1:30", text::kHourPartError},
                          Case{" 1:30", text::kHourPartError}, Case{"1:3x", text::kMinuteRangeError},
                          Case{"１２:３０", text::kHourPartError}}) {
        SCOPED_TRACE(c.word);
        const TimeWordReading r = readTimeWord(c.word);
        if (c.error == nullptr) {
            ASSERT_TRUE(r.time);
            EXPECT_EQ(r.time->hour, c.hour);
            EXPECT_EQ(r.time->minute, c.minute);
            continue;
        }
        EXPECT_FALSE(r.time);
        EXPECT_EQ(r.errorLine, c.error);
        console.output.clear();
        boxes.shown.clear();
        fake.calls.clear();
        EXPECT_EQ(run(add(c.word)), hr::Fail);
        EXPECT_EQ(console.output, c.error);
        EXPECT_EQ(lastBox(), "入力時間をシステム時間に変更できませんでした");
        EXPECT_TRUE(fake.tasks.empty());
        EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "NewWorkItem"), 0);
    }
}

TEST(JobsmithCalendar, NextMinuteAndNextDayAcrossMonthYearAndLeapDays) {
    auto at = [](int y, int mo, int d, int h, int mi, int s = 0) {
        platform::LocalTime t;
        t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
        return t;
    };
    auto st = [](int y, int mo, int d, int h, int mi) {
        return StartTime{static_cast<std::uint16_t>(y), static_cast<std::uint16_t>(mo), static_cast<std::uint16_t>(d),
                         static_cast<std::uint16_t>(h), static_cast<std::uint16_t>(mi)};
    };
    EXPECT_EQ(nextMinute(at(2026, 12, 31, 23, 59)), st(2027, 1, 1, 0, 0));
    EXPECT_EQ(nextMinute(at(1900, 2, 28, 23, 59)), st(1900, 3, 1, 0, 0));
    EXPECT_EQ(nextMinute(at(2100, 2, 28, 23, 59)), st(2100, 3, 1, 0, 0));
    EXPECT_EQ(nextMinute(at(2000, 2, 28, 23, 59)), st(2000, 2, 29, 0, 0));
    EXPECT_EQ(nextMinute(at(2024, 2, 28, 23, 59)), st(2024, 2, 29, 0, 0));
    EXPECT_EQ(nextMinute(at(2024, 2, 29, 23, 59)), st(2024, 3, 1, 0, 0));
    EXPECT_EQ(nextMinute(at(2026, 4, 30, 23, 59)), st(2026, 5, 1, 0, 0));
    EXPECT_EQ(nextMinute(at(2026, 5, 31, 10, 59)), st(2026, 5, 31, 11, 0));
    EXPECT_EQ(nextMinute(at(2026, 5, 31, 10, 12, 54), 5), st(2026, 5, 31, 10, 13));
    EXPECT_EQ(nextMinute(at(2026, 5, 31, 10, 12, 56), 5), st(2026, 5, 31, 10, 14));
    EXPECT_EQ(nextMinute(at(2026, 12, 31, 23, 58, 59), 5), st(2027, 1, 1, 0, 0));
    EXPECT_EQ(startAtTimeOfDay({7, 5}, at(2026, 12, 31, 8, 0)), st(2027, 1, 1, 7, 5));
    EXPECT_EQ(startAtTimeOfDay({8, 0}, at(2026, 12, 7, 8, 0, 30)), st(2026, 12, 7, 8, 0));
    EXPECT_EQ(startAtTimeOfDay({8, 1}, at(2026, 12, 7, 8, 0, 30)), st(2026, 12, 7, 8, 1));
    EXPECT_EQ(startAtTimeOfDay({7, 59}, at(2100, 2, 28, 8, 0)), st(2100, 3, 1, 7, 59));
}

TEST_F(Jobsmith, AddStoresTheTaskWithItsTrigger) {
    EXPECT_EQ(run(add("/SYS", {"Administrator", "pa ss\"word"})), hr::Ok);
    const testing::SavedTask& t = fake.tasks.at("Soon");
    EXPECT_EQ(t.application, "C:\\Program Files\\Tidemark\\Corvid.exe");
    EXPECT_EQ(t.parameters, "PassTest");
    EXPECT_EQ(t.comment, "comment");
    EXPECT_EQ(t.user, "Administrator");
    EXPECT_EQ(t.password, "pa ss\"word");
    EXPECT_EQ(t.flags, 2u);
    ASSERT_TRUE(t.trigger);
    EXPECT_EQ(t.trigger->triggerType, 6);
    EXPECT_EQ(t.trigger->beginYear, 2026);
    EXPECT_EQ(t.trigger->beginDay, 7);
    EXPECT_TRUE(console.output.empty());

    fake.tasks.clear();
    clock.setLocalTime(2026, 12, 31, 23, 59, 56);
    EXPECT_EQ(run(add("/soon", {"u", "p"})), hr::Ok);
    const TaskTriggerData soon = *fake.tasks.at("Soon").trigger;
    EXPECT_EQ(soon.triggerType, 0);
    EXPECT_EQ(StartTime({soon.beginYear, soon.beginMonth, soon.beginDay, soon.startHour, soon.startMinute}),
              StartTime({2027, 1, 1, 0, 1}));
    EXPECT_EQ(run(add("/SOON", {"u", "p"})), 0x80070050u);   // the name exists
    EXPECT_EQ(lastBox(), "新しいタスクの作成に失敗しました");

    // Exactly five seconds left: the next minute is still soon enough.
    fake.tasks.clear();
    clock.setLocalTime(2026, 12, 31, 23, 59, 55);
    EXPECT_EQ(run(add("/soon", {"u", "p"})), hr::Ok);
    const TaskTriggerData boundary = *fake.tasks.at("Soon").trigger;
    EXPECT_EQ(StartTime({boundary.beginYear, boundary.beginMonth, boundary.beginDay, boundary.startHour,
                         boundary.startMinute}),
              StartTime({2027, 1, 1, 0, 0}));
}

// Each step of an add failing in turn: its box, its code, nothing saved,
// everything released.
TEST_F(Jobsmith, EveryFailingAddStepShowsItsBoxAndLeavesNoTask) {
    const std::pair<const char*, const char*> steps[] = {
        {"NewWorkItem", "新しいタスクの作成に失敗しました"},
        {"QueryTask", "ITask インターフェイスのポインター取得に失敗しました"},
        {"SetAccountInformation", "実行アカウントのセットに失敗しました"},
        {"SetApplicationName", "タスク起動プログラムの設定に失敗しました"},
        {"SetParameters", "パラメータの設定に失敗しました"},
        {"SetComment", "タスクコメントの設定に失敗しました"},
        {"SetFlags", "タスクフラグの設定に失敗しました"},
        {"CreateTrigger", "トリガー作成に失敗しました"},
        {"SetTrigger", "タスク実行のトリガー設定に失敗しました"},
        {"QueryPersistFile", "残存タスクの取得に失敗しました"},
        {"Save", "タスク保存に失敗しました"},
    };
    for (const auto& [step, message] : steps) {
        SCOPED_TRACE(step);
        fake.failing = {{step, kBroken}};
        fake.calls.clear();
        boxes.shown.clear();
        EXPECT_EQ(run(add("12:00", {"u", "p"})), kBroken);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(lastBox(), message);
        EXPECT_TRUE(fake.tasks.empty());
        EXPECT_EQ(fake.calls.back(), "CoUninitialize");
        EXPECT_EQ(fake.calls[fake.calls.size() - 2], step) << "something was tried after the failing step";
    }
}

TEST_F(Jobsmith, AccountPromptsReadWholeLinesAndFailCleanly) {
    // Six words: the user name, then the password without echo.
    console.input = {std::string("Taro Yamada"), std::string("two words")};
    clock.setLocalTime(2026, 12, 7, 12, 34, 10);
    console.onRead = [&] { clock.advance(40000); };   // the start follows the typing
    EXPECT_EQ(run(add("/SOON")), hr::Ok);
    EXPECT_EQ(fake.tasks.at("Soon").user, "Taro Yamada");
    EXPECT_EQ(fake.tasks.at("Soon").password, "two words");
    EXPECT_EQ(console.readsWereSecret, (std::vector<bool>{false, true}));
    EXPECT_EQ(console.output, "Soon \nタスクを実行するユーザー名を入力してください\n\tUserName is: \n"
                              "Taro Yamada: のパスワードを入力してください \n\tPassword is: \n");
    EXPECT_EQ(fake.tasks.at("Soon").trigger->startMinute, 36);

    struct Case {
        Words more;
        std::deque<std::optional<std::string>> typed;
        HResult exit;
        const char* password;   // stored, when saved
    };
    for (const Case& c : {Case{{}, {std::nullopt}, hr::Fail, nullptr}, Case{{}, {std::string("")}, hr::Fail, nullptr},
                          Case{{}, {std::string(64, 'u')}, hr::Fail, nullptr},
                          Case{{}, {std::string("u"), std::string(128, 'p')}, hr::Fail, nullptr},
                          Case{{"user"}, {std::string("secret")}, hr::Ok, "secret"},
                          Case{{"user"}, {std::nullopt}, hr::Ok, ""}}) {
        fake.tasks.clear();
        boxes.shown.clear();
        console.input = c.typed;
        EXPECT_EQ(run(add("/SYS", c.more)), c.exit);
        if (c.password == nullptr) {
            EXPECT_EQ(lastBox(), "実行アカウントのセットに失敗しました");
            EXPECT_TRUE(fake.tasks.empty());
        } else {
            EXPECT_EQ(fake.tasks.at("Soon").password, c.password);
        }
    }

    // Without security services nothing is asked.
    fake.tasks.clear();
    fake.noSecurityServices = true;
    console.readsWereSecret.clear();
    EXPECT_EQ(run(add("/SYS")), hr::Ok);
    EXPECT_TRUE(console.readsWereSecret.empty());
}

TEST_F(Jobsmith, ListShowsEveryTaskAndStopsAtTheFirstFailure) {
    EXPECT_EQ(run({"Jobsmith"}), hr::Ok);
    EXPECT_EQ(console.output, "\n設定されたタスクスケジュールを表示します\n");

    fake.tasks["A"].trigger = TaskTriggerData{};
    fake.tasks["B"].trigger = TaskTriggerData{0, 0, 0, 0, 0, TaskTriggerData::kAtSystemStart};
    console.output.clear();
    EXPECT_EQ(run({"Jobsmith"}), hr::Ok);
    EXPECT_EQ(console.output, "\n設定されたタスクスケジュールを表示します\n\nタスク： A\n\t トリガー: Once\n"
                              "\nタスク： B\n\t トリガー: At system start\n");

    // A trigger text the scheduler cannot give (Wine: E_NOTIMPL) ends that
    // task's lines only; the exit code tells of it.
    fake.failing = {{"GetTriggerString", hr::NotImplemented}};
    console.output.clear();
    EXPECT_EQ(run({"Jobsmith"}), hr::NotImplemented);
    EXPECT_EQ(console.output, "\n設定されたタスクスケジュールを表示します\n\nタスク： A\n"
                              "Error: トリガーの取得に失敗しました\n\nタスク： B\nError: トリガーの取得に失敗しました\n");

    struct Case {
        const char* call;
        const char* line;
    };
    for (const Case& c : {Case{"Enum", "スケジュールの列挙に失敗しました\n"}, Case{"Next", ""},
                          Case{"Activate", "Error: タスクスケジューラ取得に失敗しました\n"},
                          Case{"QueryTask", "Error: タスクスケジューラのクエリー取得に失敗しました\n"},
                          Case{"GetTriggerCount", "Error: トリガーのカウントに失敗しました\n"}}) {
        SCOPED_TRACE(c.call);
        fake.failing = {{c.call, kBroken}};
        fake.calls.clear();
        console.output.clear();
        EXPECT_EQ(run({"Jobsmith"}), kBroken);
        EXPECT_NE(console.output.find(c.line), std::string::npos);
        EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), std::string(c.call)), 1);
    }
    // A result that is neither a name nor the end never loops.
    fake.failing.clear();
    fake.nextAfterNames = hr::Ok + 2;
    EXPECT_EQ(run({"Jobsmith"}), hr::Fail);
}

TEST_F(Jobsmith, DottedNamesRefusedByTheSchedulerFailAtNewWorkItem) {
    fake.refuseDottedNames = true;
    Words w = add("/SOON", {"u", "p"});
    w[1] = "Quillon Kestrel Soon Start Task.job";
    EXPECT_EQ(run(w), hr::InvalidArgument);
    EXPECT_EQ(lastBox(), "新しいタスクの作成に失敗しました");
    EXPECT_TRUE(fake.tasks.empty());
}

} // namespace
} // namespace tidemark::jobtool
