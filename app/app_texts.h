// The texts the program shows the user (code page 932 at run time).
#pragma once

inline constexpr const char* kDisplayName = "Pavane";

inline constexpr const char* kErrorCaption = "エラー";
inline constexpr const char* kErrorCaptionNamed = "エラー - Pavane";

// Obtaining the icon positions failed.
inline constexpr const char* kCaptureFailedText = "アイコン位置の取得に失敗しました";
// Saving the icon positions failed.
inline constexpr const char* kSaveFailedText = "アイコン位置の保存に失敗しました";
// There is no data saved for the current resolution.
inline constexpr const char* kNoLayoutText = "現在の解像度で保存されたデータはありません！";

// Title of the Save as and Restore from file dialogs: specify where to save.
inline constexpr const char* kFileDialogTitle = "保存先の指定";

// The command line's usage (Tessaly.exe /?): the options, that "-" may start
// them, that a running copy carries the command out, and the exit codes.
inline constexpr const char* kUsageText =
    "使い方: Tessaly.exe [オプション]\n"
    "\n"
    "/save [ファイル名]\n"
    "    アイコン位置を保存する（ファイル名を省略すると、現在の解像度の既定のファイル）\n"
    "/restore [ファイル名]\n"
    "    アイコン位置を復元する（ファイル名の省略は /save と同じ）\n"
    "/undo\n"
    "    最後の復元を元に戻す\n"
    "/exit\n"
    "    実行中の Tessaly を終了する\n"
    "/?\n"
    "    この説明を表示する\n"
    "\n"
    "オプションは「-」でも始められ、大文字と小文字を区別しません。"
    "空白を含むファイル名は \" で囲んでください。"
    "Tessaly が実行中なら、その Tessaly が実行します。\n"
    "\n"
    "終了コード: 0 成功、1 失敗、2 オプションの誤り";
