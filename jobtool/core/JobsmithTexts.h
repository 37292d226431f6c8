// Every text Jobsmith shows: its console lines (UTF-8 here; "%s" stands for
// the word named beside it) and its message boxes.
#pragma once

namespace tidemark::jobtool::text {

inline constexpr const char* kBoxTitle = "タスクスケジューラ設定";

// Help; "%s" is the program name.
inline constexpr const char* kHelp[] = {
    "\n%s -- このプログラムは、ＡＴコマンドのように\n",
    "\tタスクスケジュールを設定します。\n\n",
    "文法:\n",
    "\t%s /?\n\t\t\t\t\t\t- ヘルプを表示します。\n\n",
    "\t%s\n\t\t\t\t\t\t- 設定されたタスクスケジュールを",
    "\t\t\t\t\t\t  表示します。\n\n",
    "\t%s タスク名.job /DELETE \n\t\t\t\t\t\t- 指定したタスクを削除します。\n\n",
    "\t%s タスク名.job [/SYS or /SOON or 00:00] タスクコメント \n",
    "\t\t実行パス 実行パラメータ ユーザー名 Password\n\t\t\t\t\t\t- タスクを追加します。\n\n",
    "タスク名.job は、タスクスケジューラに表示するタスク名を指定します。\n",
    "指定したタスク名は、タスクフォルダーに表示されます。\n",
    "拡張子の \".job\" は省略しないでください。\n",
    "システムが識別するために必要です。\n\n",
    "[/SYS or /SOON or 00:00] はシステムスタートか時間実行かを指定してください\n",
    "システムスタート = /SYS\n",
    "１分後に実行 = /SOON\n",
    "時間実行 = 00:00\n\n",
    " 00:00 は開始時刻を２４時間表記で指定してください\n\n",
    "タスクコメントは、表示されるコメントを指定してください\n\n",
    "実行パスは、実行ファイルのパスを指定してください。\n",
    "実行パスにスペースがある場合は、\" \" で囲んでください。\n",
    "実行パラメータが無い場合は、実行パスの後にスペースを入れ \"\" と入力して下さい。\n\n",
    "例 -> \"C:\\Program Files\\foo.exe\" \"\" \n\n",
    "ユーザー名と Password は Windows NT 実行環境で必要になります。\n",
    "指定しなかった場合、コマンドラインで入力する必要があります。\n",
    "Windows 9x 実行環境では、ユーザー名と Password は必要ありません。\n",
    "指定しなくても、コマンドラインで要求されません。\n\n",
};

// Start-up.
inline constexpr const char* kOleFailed = "OLE 初期化に失敗しました";
// A word longer than its buffer: "%d" its number, "%n" how many characters fit.
inline constexpr const char* kWordTooLong = "Error: %d 番目の引数が長すぎます (%n 文字まで)\n";
inline constexpr const char* kSeeHelp = "\n ヘルプは %s /? と入力してください\n";

// List.
inline constexpr const char* kListHeading = "\n設定されたタスクスケジュールを表示します\n";
inline constexpr const char* kEnumFailed = "スケジュールの列挙に失敗しました\n";
inline constexpr const char* kActivateFailed = "Error: タスクスケジューラ取得に失敗しました\n";
inline constexpr const char* kQueryTaskFailed = "Error: タスクスケジューラのクエリー取得に失敗しました\n";
inline constexpr const char* kTaskLine = "\nタスク： %s\n";
inline constexpr const char* kTriggerCountFailed = "Error: トリガーのカウントに失敗しました\n";
inline constexpr const char* kTriggerLine = "\t トリガー: %s\n";
inline constexpr const char* kTriggerStringFailed = "Error: トリガーの取得に失敗しました\n";

// Delete.
inline constexpr const char* kDeleteUsage = "Error: %s タスク名.job /DELETE と入力してください\n";

// Add: the time word.
inline constexpr const char* kTimeLengthError = "Error: 時間入力が間違っています\n";
inline constexpr const char* kHourPartError = "Error: 時入力が間違っています\n";
inline constexpr const char* kMinuteRangeError = "Error: 分設定は (00 - 59) で入力してください\n";
inline constexpr const char* kHourRangeError = "Error: 時設定は(00 - 23) で入力してください\n";
inline constexpr const char* kTimeNotConverted = "入力時間をシステム時間に変更できませんでした";

// Add: the account prompts; "%s" the task name, then the user name.
inline constexpr const char* kUserPrompt = "%s \nタスクを実行するユーザー名を入力してください\n\tUserName is: ";
inline constexpr const char* kPasswordPrompt = "%s: のパスワードを入力してください \n\tPassword is: ";

// Add: one box per failing step, in the order of the steps.
inline constexpr const char* kNewWorkItemFailed = "新しいタスクの作成に失敗しました";
inline constexpr const char* kQueryITaskFailed = "ITask インターフェイスのポインター取得に失敗しました";
inline constexpr const char* kAccountFailed = "実行アカウントのセットに失敗しました";
inline constexpr const char* kApplicationNameFailed = "タスク起動プログラムの設定に失敗しました";
inline constexpr const char* kParametersFailed = "パラメータの設定に失敗しました";
inline constexpr const char* kCommentFailed = "タスクコメントの設定に失敗しました";
inline constexpr const char* kFlagsFailed = "タスクフラグの設定に失敗しました";
inline constexpr const char* kCreateTriggerFailed = "トリガー作成に失敗しました";
inline constexpr const char* kSetTriggerFailed = "タスク実行のトリガー設定に失敗しました";
inline constexpr const char* kQueryPersistFailed = "残存タスクの取得に失敗しました";
inline constexpr const char* kSaveFailed = "タスク保存に失敗しました";

} // namespace tidemark::jobtool::text
