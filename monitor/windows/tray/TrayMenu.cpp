#include "monitor/windows/tray/TrayMenu.h"

namespace tidemark::monitor {

std::vector<TrayMenuItem> trayMenuItems(bool hideVisible, bool showVisible, bool adminEnabled) {
    const TrayMenuItem separator{true, TrayCommand::Cancel, {}, true};
    std::vector<TrayMenuItem> items{
        {false, TrayCommand::Cancel, "キャンセル (&C)", true},
        separator,
        {false, TrayCommand::Close, "閉じる (&X)", true},
        separator,
    };
    if (hideVisible) items.push_back({false, TrayCommand::Hide, "隠す (&H)", true});
    if (showVisible) items.push_back({false, TrayCommand::Show, "表示 (&S)", true});
    items.push_back({false, TrayCommand::CleanNow, "今すぐクリーニング (&M)", true});
    items.push_back(separator);
    items.push_back({false, TrayCommand::Fix, "設定 (&F)", true});
    items.push_back({false, TrayCommand::AdmFix, "管理者設定 (&Q)", adminEnabled});
    items.push_back(separator);
    items.push_back({false, TrayCommand::Ver, "バージョン情報 (&A)", true});
    items.push_back(separator);
    return items;
}

} // namespace tidemark::monitor
