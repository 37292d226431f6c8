// Every text the transfer tools show, exactly as shown.
#pragma once

namespace tidemark::transfer::text {

inline constexpr const char* kCrLf = "\r\n";

// Start-up.
inline constexpr const char* kAdminTitle = "管理者権限が必要です";
inline constexpr const char* kAdminText =
    "Tidemarkの設定ファイルを\r\nTidemarkにインポートするには\r\n管理者権限が必要です";
inline constexpr const char* kCannotRun = "設定保存プログラムを実行することが出来ません";

// Inkett's argument.
inline constexpr const char* kAloneTitle = "単独実行できません";
inline constexpr const char* kAloneText = "このプログラムは\r\n設定ファイルに書込むプログラムです\r\n単独実行は出来ません";
inline constexpr const char* kNotTransferTitle = "インポートできません";
inline constexpr const char* kNotTransferText = "このファイルは設定ファイルではありません";

// frmSave.
inline constexpr const char* kStowelCaption = "Tidemark設定 保存・読込み";
inline constexpr const char* kCoverText =
    "現在のTidemarkの設定を\r\nファイルへ保存します。\r\nまたは、保存ファイルから読込んで\r\n設定ファイルに書込みます";
inline constexpr const char* kSaveButton = "設定保存 (&S)";
inline constexpr const char* kLoadButton = "設定読込 (&L)";

// File dialogs: the filter as the dialog takes it, pairs ended by NUL.
inline constexpr char kDialogFilter[] = "設定ファイル (*.vesk)\0*.vesk\0";
inline constexpr const char* kDefaultExtension = "vesk";

// Export.
inline constexpr const char* kExportTitle = "設定書込み情報";
inline constexpr const char* kExportDone = "設定のエクスポートが終了しました";
inline constexpr const char* kExportFailedTitle = "設定書込みの失敗";
inline constexpr const char* kExportFailed = "設定のエクスポートに失敗しました";

// Import.
inline constexpr const char* kCorruptTitle = "設定ファイル読込みの失敗";
inline constexpr const char* kCorruptText = "設定ファイルが壊れています\r\n設定を読み込む事が出来ませんでした";
inline constexpr const char* kMemoryWarningTitle = "設定読込み処理の警告";
inline constexpr const char* kMemoryWarningText =
    "設定保存されたファイルの物理メモリーが、現在の物理メモリーサイズと異なります\r\n"
    "設定保存されたファイルをインポートするのは危険です\r\n"
    "設定ファイルの読込みを続けますか？\r\n\r\n"
    "（設定読込み処理を続けても、ファイルの物理メモリーがインポートされることはありません）";
inline constexpr const char* kSizeWarningTitle = "設定読込みの警告";
inline constexpr const char* kSizeWarningText1 = "読込んだ起動メモリーサイズが、規定サイズを超えています\r\n最大サイズの ";
inline constexpr const char* kSizeWarningText2 = " MB に設定されます";
inline constexpr const char* kSkippedText = "次の設定は値が正しくないため読込みませんでした";
inline constexpr const char* kSkippedMore1 = "ほか ";
inline constexpr const char* kSkippedMore2 = " 件";
inline constexpr const char* kImportTitle = "設定読込み情報";
inline constexpr const char* kImportDone = "設定のインポートが終了しました";
inline constexpr const char* kImportFailedTitle = "設定読込みの失敗";
inline constexpr const char* kImportFailed = "設定のインポートに失敗しました";

// The detail of a silent import's event.
inline constexpr const char* kSilentNoFile = "インポートする設定ファイル（.vesk）が指定されていません";
inline constexpr const char* kSilentMissing = "設定ファイルが見つかりません";
inline constexpr const char* kSilentAnsweredYes = "（画面を出さないインポートのため「はい」として続行しました）";

} // namespace tidemark::transfer::text
