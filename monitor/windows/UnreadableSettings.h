// A window opened while the settings file cannot be read (another program
// holds it past every retry) says so and opens nothing: it would show
// defaults for what it could not read, and a later save would write them
// back over the real settings.
#pragma once
#include "platform/MessageBox.h"

namespace tidemark::monitor {

inline constexpr const char* kUnreadableSettingsTitle = "設定の読込み";
inline constexpr const char* kUnreadableSettingsText =
    "設定ファイルを読み込めませんでした。\r\nしばらくしてからもう一度開いてください";

inline void tellSettingsUnreadable(platform::MessageBoxes& messages, platform::NativeWindow owner) {
    platform::MessageRequest m;
    m.owner = owner;
    m.title = kUnreadableSettingsTitle;
    m.text = kUnreadableSettingsText;
    m.icon = platform::MessageIcon::Exclamation;
    messages.show(m);
}

} // namespace tidemark::monitor
