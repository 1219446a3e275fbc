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

// The desktop arranges its icons itself (Auto arrange), so the positions
// cannot be restored; how to turn it off: right-click the desktop, View, Auto
// arrange icons.
inline constexpr const char* kShellArrangesText =
    "デスクトップのアイコンが自動整列されるため、アイコン位置を復元できません。\n"
    "デスクトップの右クリック → 表示 → アイコンの自動整列 をオフにしてから、もう一度復元してください。";
// After a restore, %d icons do not stand where they were put: the shell moved
// them elsewhere.
inline constexpr const char* kNotKeptFormat =
    "%d 個のアイコンが、復元した位置にありません。\n"
    "デスクトップ (シェル) がアイコンを別の位置に動かしました。";

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
    "/lock\n"
    "    アイコンの位置を固定する（現在の位置を保存して保持する）\n"
    "/unlock\n"
    "    アイコンの位置の固定をやめる\n"
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

// The lock (icon_lock.h): the tray menu item, as it reads while the shell
// arranges the icons itself (nothing is held) and while the lock rests for a
// minute; the tray icon's tip while it is on; the balloons that tell once
// why nothing is held.
inline constexpr const char* kLockMenuText = "アイコンの位置を固定する(&F)";
inline constexpr const char* kLockMenuArrangesText = "アイコンの位置を固定する(&F) - 自動整列のため保持していません";
inline constexpr const char* kLockMenuRestingText = "アイコンの位置を固定する(&F) - 1 分間休止中";
inline constexpr const char* kLockedTip = "Pavane - アイコンの位置を固定中";
inline constexpr const char* kLockBalloonTitle = "アイコンの位置を固定する";
inline constexpr const char* kLockShellArrangesText =
    "デスクトップのアイコンが自動整列されるため、アイコンの位置を保持できません。"
    "自動整列がオフになると、また保持します。";
inline constexpr const char* kLockRestingText =
    "デスクトップ (シェル) が同じアイコンを何度も動かすため、1 分間アイコンの位置を保持しません。";
