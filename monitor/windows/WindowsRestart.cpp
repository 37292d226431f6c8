#include "monitor/windows/WindowsRestart.h"

#include <string>

namespace tidemark::monitor {

bool restartWindows(MonitorContext& context, platform::SystemRestart& restart) {
    const auto error = restart.restart();
    if (!error) return true;
    // Never retried with force: that would end every user's programs
    // without letting them save.
    if (*error == platform::kErrorPrivilegeNotHeld) {
        context.message("シャットダウン権限がありません", platform::MessageIcon::Error);
    } else {
        context.message("( " + std::to_string(*error) + " )\rWindows 終了処理に失敗しました\r他の方法で Windows を再起動させて下さい",
                        platform::MessageIcon::Error);
    }
    return false;
}

} // namespace tidemark::monitor
