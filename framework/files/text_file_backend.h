// What CTextFile needs from the system: a stream opened without a sharing
// restriction, and whether the system's C library converts the line ends of a
// text mode itself.  text_file_win.cpp and text_file_posix.cpp implement it.
#pragma once

#include <cstdio>
#include <cwchar>

namespace textfile {

FILE* OpenShared(const char* name, const char* mode);
FILE* OpenSharedW(const wchar_t* name, const wchar_t* mode);
// True when CTextFile must convert CR LF itself for a stream opened with `mode`.
bool NeedsLineEndTranslation(const char* mode);
bool NeedsLineEndTranslationW(const wchar_t* mode);

}  // namespace textfile
