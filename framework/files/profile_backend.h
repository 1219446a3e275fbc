// What CProfile needs from the system: the two private-profile operations,
// the access probe of Open, and how the system takes the bytes of a file and
// of a value.  profile_win.cpp calls the Win32 functions;
// profile_posix.cpp works on the file's text with ProfileText.
#pragma once

#include <string>

#include "framework/files/file_seam.h"

namespace profilebackend {

// GetPrivateProfileStringA(section, key, default, buffer, size, path).
int GetString(const char* section, const char* key, const char* defaultText, char* buffer, int size,
              const char* path);
// WritePrivateProfileStringA(section, key, value, path); where the backend
// rewrites the file itself, it does so through `files`.
int WriteString(const char* section, const char* key, const char* value, const char* path, FileSeam& files);
// Opens the existing file once with the asked access and closes it; with
// readOnly 0 and truncate non-zero it is emptied.  True when it opened.
bool ProbeFile(const char* path, int readOnly, int truncate);
// The bytes of a whole profile file as the private-profile functions read
// them, in the active code page.
std::string DecodeFile(std::string bytes);
// A value as WriteString passes it on to be stored, in the active code page.
std::string TakeValue(const char* value);

}  // namespace profilebackend
