// The slow cleaning window: the stored pause and step, what 設定反映 accepts,
// the status of this copy's stepwise cleaning and the closing questions.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "monitor/windows/slowcleaning/SlowCleaningPresenter.h"
#include "shared/settings/SettingsFiles.h"
#include "support/MonitorCopy.h"
#include "support/SimFixture.h"

namespace tidemark::monitor {
namespace {

using C = SlowCleaningControl;
using platform::MessageAnswer;

class RecordingSlowView final : public SlowCleaningView {
public:
    SlowCleaningPresenter* presenter = nullptr;
    std::function<void()> whileOpen;
    std::map<C, std::string> texts, tooltips;
    std::map<C, bool> enabled;
    unsigned timer = 0;
    int beeps = 0, closes = 0, statusSends = 0;

    void runModal() override {
        presenter->load();
        if (whileOpen) whileOpen();
    }
    void close() override { ++closes; }
    platform::NativeWindow handle() const override { return 0x900; }
    void setText(C c, const std::string& t) override {
        texts[c] = t;
        if (c == C::statusLabel) ++statusSends;
    }
    std::string text(C c) override { return texts[c]; }
    void setTooltip(C c, const std::string& t) override { tooltips[c] = t; }
    void enable(C c, bool e) override { enabled[c] = e; }
    void startTimer(unsigned ms) override { timer = ms; }
    void stopTimer() override { timer = 0; }
    void beep() override { ++beeps; }
};

class SlowCleaning : public testing::SimFixture {
protected:
    SlowCleaning() {
        copy.state.settings.sharedPath = sharedSettingsPath(copy.process->platform().process);
        view.presenter = &presenter;
    }
    // nullptr removes the key.
    void store(const char* value) {
        SettingsFiles(copy.process->platform(), copy.state)
            .write("AppSettingFlag", "SlowMemCleanSetting",
                          value ? std::optional<std::string>(value) : std::nullopt);
    }
    std::string stored() {
        return SettingsFiles(copy.process->platform(), copy.state).read("AppSettingFlag", "SlowMemCleanSetting");
    }
    void type(const std::string& pause, const std::string& step) {
        view.texts[C::pauseBox] = pause;
        view.texts[C::stepBox] = step;
    }
    std::string lastMessage() { return machine.messages.empty() ? "" : machine.messages.back().request.text; }

    testing::MonitorCopy copy{machine, "alice"};
    RecordingSlowView view;
    SlowCleaningPresenter presenter{copy.context, view};
};

TEST_F(SlowCleaning, OpeningShowsTheStoredValueOrTheDefaults) {
    struct Case {
        const char* stored;   // nullptr: absent
        const char* pause;
        const char* step;
        const char* after;    // the stored value afterwards ("" when absent)
    } cases[] = {
        {"250>12", "250", "12", "250>12"},
        {"250>12>9", "250", "12", "250>12>9"},
        {">", "", "", ">"},
        {"7000", "5000", "5", "5000>5"},   // repaired
        {nullptr, "5000", "5", ""},         // not written
    };
    for (const Case& c : cases) {
        store(c.stored);
        presenter.load();
        EXPECT_EQ(view.texts[C::pauseBox], c.pause) << c.after;
        EXPECT_EQ(view.texts[C::stepBox], c.step) << c.after;
        EXPECT_EQ(stored(), c.after);
        EXPECT_EQ(view.timer, 1000u);
    }
    EXPECT_TRUE(machine.messages.empty());
    EXPECT_EQ(view.tooltips[C::pauseLabel], "メモリークリーナーを分割実行する、時間の間隔を指定します");
    EXPECT_EQ(view.tooltips[C::stepBox], "メモリークリーナーを分割実行する、分割メモリーサイズを指定します");
}

// Opened while another program holds the file: defaults shown for the value
// it could not read would be saved over it with 設定反映.
TEST_F(SlowCleaning, OpenedWhileTheFileCannotBeReadSaysSoAndShowsNothing) {
    store("7000");   // a value the window would repair, had it read it
    const std::string before = machine.files.contents(copy.state.settings.sharedPath);
    machine.files.denyReads(copy.state.settings.sharedPath);
    presenter.load();
    machine.files.allowReads(copy.state.settings.sharedPath);
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(view.texts.count(C::pauseBox), 0u);
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "設定ファイルを読み込めませんでした。\r\nしばらくしてからもう一度開いてください");
    EXPECT_EQ(machine.messages[0].request.owner, 0x900u);
    EXPECT_EQ(machine.files.contents(copy.state.settings.sharedPath), before);
}

TEST_F(SlowCleaning, ApplyAcceptsWhatTheCleanerCanHold) {
    const std::string digits25 = "1234567890123456789012345";
    struct Case {
        std::string pause, step;
        std::string stored;    // empty: refused
        std::string message;   // part of the message shown
    } cases[] = {
        {"0", "5", "", "指定されたメモリー確保間隔 0 mSec は設定できません。"},
        {"", "", "", "メモリー確保間隔は、最低 1mSec 以上である必要があります。\r\n"},
        {"1", "0", "", "指定されたメモリーサイズステップ 0 MB は指定できません。"},
        {"1", "1", "1>1", "設定を保存しました"},
        {"5000", "2047", "5000>2047", "設定を保存しました"},
        {"5000", "2048", "", "最大 2047MB 以下である必要があります。\r\n指定されたメモリーサイズステップ 2048 MB"},
        {"2147483647", "5", "2147483647>5", "設定を保存しました"},
        {"2147483648", "5", "", "最大 2147483647mSec 以下である必要があります。\r\n指定されたメモリー確保間隔 2147483648 mSec"},
        {digits25, "5", "", "指定されたメモリー確保間隔 " + digits25 + " mSec"},
        {"5000", digits25, "", "指定されたメモリーサイズステップ " + digits25 + " MB"},
        {"0250", "5x", "250>5", "設定を保存しました"},
    };
    for (const Case& c : cases) {
        store("9>9");
        machine.messages.clear();
        type(c.pause, c.step);
        presenter.onApplyClicked();
        ASSERT_EQ(machine.messages.size(), 1u) << c.pause;
        const auto& m = machine.messages[0].request;
        EXPECT_NE(m.text.find(c.message), std::string::npos) << m.text;
        if (c.stored.empty()) {
            EXPECT_EQ(m.title, "設定エラー");
            EXPECT_EQ(m.icon, platform::MessageIcon::Error);
            EXPECT_EQ(stored(), "9>9");
        } else {
            EXPECT_EQ(m.title, "設定保存の成功");
            EXPECT_EQ(stored(), c.stored);
            EXPECT_EQ(view.texts[C::pauseBox] + ">" + view.texts[C::stepBox], c.stored);
        }
    }
}

TEST_F(SlowCleaning, AFailedWriteIsReported) {
    presenter.load();
    machine.files.denyWrites(copy.state.settings.sharedPath);
    type("100", "3");
    presenter.onApplyClicked();
    ASSERT_EQ(machine.messages.size(), 1u);
    EXPECT_EQ(machine.messages[0].request.text, "設定の保存に失敗しました");
    EXPECT_EQ(machine.messages[0].request.title, "設定保存の失敗");
    EXPECT_EQ(machine.messages[0].request.icon, platform::MessageIcon::Error);
    EXPECT_FALSE(copy.state.settings.sharedWritable);
}

TEST_F(SlowCleaning, DefaultsFillTheBoxesOnly) {
    store("250>12");
    presenter.load();
    presenter.onDefaultsClicked();
    EXPECT_EQ(view.texts[C::pauseBox], "5000");
    EXPECT_EQ(view.texts[C::stepBox], "5");
    EXPECT_EQ(stored(), "250>12");
}

TEST_F(SlowCleaning, OnlyDigitsAndDeletionKeysReachTheBoxes) {
    for (std::uint32_t c : {48u, 53u, 57u, 8u, 127u}) EXPECT_TRUE(presenter.onCharTyped(c));
    for (std::uint32_t c : {97u, 45u, 46u, 32u, 0x3042u}) EXPECT_FALSE(presenter.onCharTyped(c));
    EXPECT_EQ(view.beeps, 5);
}

TEST_F(SlowCleaning, StatusFollowsTheLibraryWhileThisCopyHoldsTheRight) {
    struct Case {
        bool right;
        std::int32_t flag;
        const char* label;
        bool stop;
    } cases[] = {
        {true, 0, "メモリー未確保", false},   {true, 1, "メモリ確保中", true},
        {true, 2, "メモリ確保開放成功", false}, {true, 3, "メモリ確保に失敗", false},
        {true, 4, "メモリ確保中断", false},     {false, 1, "無効", false},
        {false, 0, "無効", false},
    };
    for (const Case& c : cases) {
        const auto s = slowcleaning::statusFor(c.right, c.flag);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->label, c.label);
        EXPECT_EQ(s->stopEnabled, c.stop);
        EXPECT_EQ(s->stopTooltip, c.stop ? "ボタンを押すとクリーニングを中止します"
                                         : c.right ? "" : "メモリークリーナー実行権が有効な場合のみ有効な機能です");
    }
    EXPECT_FALSE(slowcleaning::statusFor(true, 9));
    EXPECT_TRUE(slowcleaning::statusFor(false, 9));
}

TEST_F(SlowCleaning, StopBreaksThisCopysRunningCleaningOnly) {
    auto& library = copy.process->ramhold;
    library.startStepwiseClaim(100, 5242880, 5000);
    presenter.load();
    EXPECT_EQ(view.texts[C::statusLabel], "メモリ確保中");
    EXPECT_TRUE(view.enabled[C::stopButton]);
    presenter.onTimer();
    EXPECT_EQ(view.statusSends, 1);   // unchanged: not sent again
    presenter.onStopClicked();
    EXPECT_EQ(library.breaks, 1);
    EXPECT_EQ(view.texts[C::statusLabel], "メモリ確保中断");
    EXPECT_FALSE(view.enabled[C::stopButton]);

    // Another copy holds the right: nothing of this one's to stop.
    library.startStepwiseClaim(100, 5242880, 5000);
    copy.state.right.held = false;
    presenter.onTimer();
    EXPECT_EQ(view.texts[C::statusLabel], "無効");
    EXPECT_EQ(view.tooltips[C::statusFrame], "メモリークリーナー実行権が有効な場合のみ有効な機能です");
    presenter.onStopClicked();
    EXPECT_EQ(library.breaks, 1);
}

TEST_F(SlowCleaning, ClosingAsksOnlyAboutUnsavedBoxes) {
    struct Case {
        const char* stored;   // nullptr: absent
        std::string pause, step;
        MessageAnswer answer;
        bool asked, closes;
        const char* after;
    } cases[] = {
        {"250>5", "250", "5", MessageAnswer::No, false, true, "250>5"},
        {"250>5", "0250", "5", MessageAnswer::No, true, false, "250>5"},
        {"250>5", "0250", "5", MessageAnswer::Yes, true, true, "250>5"},
        {"250>5", "5000", "5", MessageAnswer::No, true, false, "250>5"},   // after 初期値
        {"oops", "1", "1", MessageAnswer::No, false, true, "5000>5"},
        {nullptr, "5000", "5", MessageAnswer::No, true, false, ""},
        {nullptr, "5000", "5", MessageAnswer::Yes, true, true, ""},
    };
    for (const Case& c : cases) {
        store(c.stored);
        machine.messages.clear();
        machine.scriptedAnswers = {c.answer};
        view.closes = 0;
        type(c.pause, c.step);
        presenter.onCloseRequested();
        EXPECT_EQ(machine.messages.size(), c.asked ? 1u : 0u) << c.pause;
        if (c.asked) {
            EXPECT_EQ(machine.messages[0].request.title, "低速メモリー確保設定");
            EXPECT_EQ(machine.messages[0].request.text.rfind(c.stored ? "低速メモリー確保設定が変更されています。"
                                                                      : "低速メモリー確保設定がされていません。", 0),
                      0u);
        }
        EXPECT_EQ(view.closes, c.closes ? 1 : 0) << c.pause;
        EXPECT_EQ(stored(), c.after);
    }
}

TEST_F(SlowCleaning, ShownModallyWithTheTimerStoppedAfterwards) {
    view.whileOpen = [&] { EXPECT_EQ(view.timer, 1000u); };
    presenter.showModal();
    EXPECT_EQ(view.timer, 0u);
}

} // namespace
} // namespace tidemark::monitor
