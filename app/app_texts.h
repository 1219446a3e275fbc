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
