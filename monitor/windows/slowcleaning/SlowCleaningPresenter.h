// The slow cleaning window, frmClStp: the pause and step of the stepwise
// cleaning as "SlowMemCleanSetting" stores them, and the state of this
// copy's running stepwise cleaning, refreshed every second.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "monitor/core/MonitorContext.h"
#include "monitor/windows/slowcleaning/SlowCleaningView.h"

namespace tidemark::monitor {

namespace slowcleaning {

inline constexpr const char* kDefaultPause = "5000";
inline constexpr const char* kDefaultStep = "5";
// The cleaner keeps the pause in 32 bits of milliseconds and the step in
// 32 bits of bytes.
inline constexpr std::int64_t kMaxPause = 2147483647;
inline constexpr std::int64_t kMaxStep = 2047;

// The two boxes checked before they are stored: nullopt when they can be
// stored as text, else the message to show.
struct Entry {
    std::int64_t pause = 0, step = 0;
    std::string stored;                    // pause ">" step, when usable
    std::optional<std::string> problem;    // the "設定エラー" message
};
Entry checkEntry(const std::string& pauseText, const std::string& stepText);

// The stored value split as the window shows it: both parts when it holds
// a ">", nothing otherwise.
struct StoredParts {
    std::string pause, step;
};
std::optional<StoredParts> splitStored(const std::string& value);

// What the status frame shows for the library's slow-cleaning flag, or for
// a copy without the right. nullopt: an unknown flag changes nothing.
struct Status {
    std::string label;
    bool stopEnabled = false;
    std::string stopTooltip;
    std::string areaTooltip;               // of the label and its frame
};
std::optional<Status> statusFor(bool holdsRight, std::int32_t slowFlag);

} // namespace slowcleaning

class SlowCleaningPresenter {
public:
    SlowCleaningPresenter(MonitorContext& context, SlowCleaningView& view);

    // Opened modally from the administrator window.
    void showModal();

    void load();
    // A character typed into either box: digits, backspace and DEL pass,
    // anything else is dropped with a beep. True when it passes.
    bool onCharTyped(std::uint32_t character);
    void onDefaultsClicked();
    void onApplyClicked();
    void onStopClicked();
    void onTimer();
    // The frame's close box or Esc: closes once the closing questions allow.
    void onCloseRequested();

private:
    void refreshStatus();
    void setBoxes(const std::string& pause, const std::string& step);
    bool write(const std::string& value);
    platform::MessageAnswer ask(const std::string& text, const std::string& title, platform::MessageIcon icon,
                                platform::MessageButtons buttons = platform::MessageButtons::Ok);

    MonitorContext& context_;
    SlowCleaningView& view_;
    std::optional<slowcleaning::Status> shown_;
};

} // namespace tidemark::monitor
