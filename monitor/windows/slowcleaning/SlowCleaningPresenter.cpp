#include "monitor/windows/slowcleaning/SlowCleaningPresenter.h"

#include <limits>

#include "monitor/windows/UnreadableSettings.h"
#include "shared/system/NumberText.h"
#include "shared/settings/SettingsKeys.h"
#include "shared/settings/SettingsFiles.h"

namespace tidemark::monitor {
namespace slowcleaning {
namespace {

constexpr const char* kNoRightTip = "メモリークリーナー実行権が有効な場合のみ有効な機能です";
constexpr const char* kLabelTip = "現在の低速メモリー確保状況を表示しています";

// A figure as the message names it: the number read, or, where it was too
// long for any number, the digits as they were typed.
std::string figure(const std::string& text, std::int64_t value) {
    if (value != std::numeric_limits<std::int64_t>::max() && value != std::numeric_limits<std::int64_t>::min())
        return std::to_string(value);
    std::size_t i = text.find_first_not_of(" \t");
    std::size_t end = i == std::string::npos ? text.size() : i;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    return i == std::string::npos ? std::string() : text.substr(i, end - i);
}

} // namespace

Entry checkEntry(const std::string& pauseText, const std::string& stepText) {
    Entry e;
    e.pause = leadingNumber(pauseText).value_or(0);
    e.step = leadingNumber(stepText).value_or(0);
    const std::string pause = figure(pauseText, e.pause), step = figure(stepText, e.step);
    if (e.pause < 1) {
        e.problem = "メモリー確保間隔は、最低 1mSec 以上である必要があります。\r\n指定されたメモリー確保間隔 " + pause +
                    " mSec は設定できません。";
    } else if (e.pause > kMaxPause) {
        e.problem = "メモリー確保間隔は、最大 2147483647mSec 以下である必要があります。\r\n指定されたメモリー確保間隔 " +
                    pause + " mSec は設定できません。";
    } else if (e.step < 1) {
        e.problem = "メモリーサイズステップは、最低 1MB 以上である必要があります。\r\n指定されたメモリーサイズステップ " + step +
                    " MB は指定できません。";
    } else if (e.step > kMaxStep) {
        e.problem = "メモリーサイズステップは、最大 2047MB 以下である必要があります。\r\n指定されたメモリーサイズステップ " +
                    step + " MB は指定できません。";
    } else {
        e.stored = std::to_string(e.pause) + ">" + std::to_string(e.step);
    }
    return e;
}

std::optional<StoredParts> splitStored(const std::string& value) {
    const auto first = value.find('>');
    if (first == std::string::npos) return std::nullopt;
    const auto second = value.find('>', first + 1);
    return StoredParts{value.substr(0, first),
                       value.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1)};
}

std::optional<Status> statusFor(bool holdsRight, std::int32_t slowFlag) {
    if (!holdsRight) return Status{"無効", false, kNoRightTip, kNoRightTip};
    namespace flag = platform::slowstatus;
    switch (slowFlag) {
    case flag::Idle: return Status{"メモリー未確保", false, "", kLabelTip};
    case flag::Claiming: return Status{"メモリ確保中", true, "ボタンを押すとクリーニングを中止します", kLabelTip};
    case flag::Succeeded: return Status{"メモリ確保開放成功", false, "", kLabelTip};
    case flag::Failed: return Status{"メモリ確保に失敗", false, "", kLabelTip};
    case flag::Interrupted: return Status{"メモリ確保中断", false, "", kLabelTip};
    default: return std::nullopt;
    }
}

} // namespace slowcleaning

namespace {

using Control = SlowCleaningControl;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
namespace section = ini::section;
namespace key = ini::key;

constexpr const char* kCloseTitle = "低速メモリー確保設定";

} // namespace

SlowCleaningPresenter::SlowCleaningPresenter(MonitorContext& context, SlowCleaningView& view)
    : context_(context), view_(view) {}

void SlowCleaningPresenter::showModal() {
    shown_.reset();
    view_.runModal();
    view_.stopTimer();
}

void SlowCleaningPresenter::load() {
    const auto stored = SettingsFiles(context_.platform, context_.state)
                            .tryRead(section::AppSettingFlag, key::SlowMemCleanSetting);
    if (!stored) {
        tellSettingsUnreadable(context_.platform.messages, view_.handle());
        view_.close();
        return;
    }
    const char* pauseTip = "メモリークリーナーを分割実行する、時間の間隔を指定します";
    const char* stepTip = "メモリークリーナーを分割実行する、分割メモリーサイズを指定します";
    view_.setTooltip(Control::settingsFrame, "低速メモリー確保の設定を行います");
    view_.setTooltip(Control::pauseBox, pauseTip);
    view_.setTooltip(Control::pauseLabel, pauseTip);
    view_.setTooltip(Control::stepBox, stepTip);
    view_.setTooltip(Control::stepLabel, stepTip);
    view_.setTooltip(Control::defaultsButton, "低速メモリー確保設定の初期値を代入します");
    view_.setTooltip(Control::applyButton, "設定した低速メモリー確保設定を反映させます");
    view_.startTimer(1000);

    const auto parts = slowcleaning::splitStored(*stored);
    if (!stored->empty() && parts) {
        setBoxes(parts->pause, parts->step);
    } else {
        setBoxes(slowcleaning::kDefaultPause, slowcleaning::kDefaultStep);
        // A value without ">" is repaired to the defaults.
        if (!stored->empty()) write(std::string(slowcleaning::kDefaultPause) + ">" + slowcleaning::kDefaultStep);
    }
    refreshStatus();
}

bool SlowCleaningPresenter::onCharTyped(std::uint32_t character) {
    if ((character >= '0' && character <= '9') || character == 8 || character == 127) return true;
    view_.beep();
    return false;
}

void SlowCleaningPresenter::onDefaultsClicked() { setBoxes(slowcleaning::kDefaultPause, slowcleaning::kDefaultStep); }

void SlowCleaningPresenter::onApplyClicked() {
    const slowcleaning::Entry e = slowcleaning::checkEntry(view_.text(Control::pauseBox), view_.text(Control::stepBox));
    if (e.problem) {
        ask(*e.problem, "設定エラー", MessageIcon::Error);
        return;
    }
    if (!write(e.stored)) return;
    // The boxes show what was stored, so that closing finds nothing unsaved.
    setBoxes(std::to_string(e.pause), std::to_string(e.step));
    ask("設定を保存しました", "設定保存の成功", MessageIcon::Information);
}

void SlowCleaningPresenter::onStopClicked() {
    // Only this copy's own cleaning, and only while it runs: the library is
    // this process's, and a copy without the right has none to stop.
    auto& library = context_.platform.ramhold;
    if (context_.state.right.held && library.stepwiseClaimStatus() == platform::slowstatus::Claiming)
        library.requestBreak();
    refreshStatus();
}

void SlowCleaningPresenter::onTimer() { refreshStatus(); }

void SlowCleaningPresenter::onCloseRequested() {
    const std::string stored = SettingsFiles(context_.platform, context_.state).read(section::AppSettingFlag,
                                                                                      key::SlowMemCleanSetting);
    const auto parts = slowcleaning::splitStored(stored);
    bool mayClose = true;
    if (!stored.empty() && !parts) {
        setBoxes(slowcleaning::kDefaultPause, slowcleaning::kDefaultStep);
        write(std::string(slowcleaning::kDefaultPause) + ">" + slowcleaning::kDefaultStep);
    } else if (!stored.empty()) {
        if (parts->pause != view_.text(Control::pauseBox) || parts->step != view_.text(Control::stepBox))
            mayClose = ask("低速メモリー確保設定が変更されています。\r\n変更された設定内容が保存されていません。\r\nこのまま終了しますか？",
                           kCloseTitle, MessageIcon::Information, MessageButtons::YesNo) == MessageAnswer::Yes;
    } else {
        mayClose = ask("低速メモリー確保設定がされていません。\r\nこのまま終了しますか？", kCloseTitle,
                       MessageIcon::Information, MessageButtons::YesNo) == MessageAnswer::Yes;
    }
    if (!mayClose) return;
    view_.stopTimer();
    view_.close();
}

void SlowCleaningPresenter::refreshStatus() {
    const auto status =
        slowcleaning::statusFor(context_.state.right.held, context_.platform.ramhold.stepwiseClaimStatus());
    if (!status) return;
    // Sent only when they change: the label does not flicker every second.
    if (shown_ && shown_->label == status->label && shown_->stopEnabled == status->stopEnabled &&
        shown_->stopTooltip == status->stopTooltip && shown_->areaTooltip == status->areaTooltip)
        return;
    view_.setTooltip(Control::statusLabel, status->areaTooltip);
    view_.setTooltip(Control::statusFrame, status->areaTooltip);
    view_.setText(Control::statusLabel, status->label);
    view_.enable(Control::stopButton, status->stopEnabled);
    view_.setTooltip(Control::stopButton, status->stopTooltip);
    shown_ = status;
}

void SlowCleaningPresenter::setBoxes(const std::string& pause, const std::string& step) {
    view_.setText(Control::pauseBox, pause);
    view_.setText(Control::stepBox, step);
}

bool SlowCleaningPresenter::write(const std::string& value) {
    const bool ok = SettingsFiles(context_.platform, context_.state)
                        .write(section::AppSettingFlag, key::SlowMemCleanSetting, std::optional<std::string>(value));
    context_.state.settings.sharedWritable = ok;
    if (!ok) ask("設定の保存に失敗しました", "設定保存の失敗", MessageIcon::Error);
    return ok;
}

MessageAnswer SlowCleaningPresenter::ask(const std::string& text, const std::string& title, MessageIcon icon,
                                         MessageButtons buttons) {
    platform::MessageRequest m;
    m.owner = view_.handle();
    m.text = text;
    m.title = title;
    m.icon = icon;
    m.buttons = buttons;
    return context_.platform.messages.show(m);
}

} // namespace tidemark::monitor
