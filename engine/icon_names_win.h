// An icon's names from the UTF-16 text the shell shows (Windows only): both
// ways into the desktop read names as UTF-16 and store them so.
#pragma once

#include <string>
#include <string_view>

#include "engine/icon_layout.h"

// The longest text read of an icon, in UTF-16 units.
inline constexpr int kLongestShownText = 2046;

// Sets `entry.name` to `text` as code page 932 shows it (what the shell's ANSI
// messages give, whatever the system's code page), cut to at most 2046 bytes
// at a character's end, and `entry.unicodeName` to the whole text in UTF-8
// where the name lost something, else empty.
void SetShownName(std::wstring_view text, IconEntry& entry);

// `text` in UTF-8.
std::string ToUtf8(std::wstring_view text);
