#include <windows.h>

#include "tests/files/unwritable_file.h"

namespace testfiles {

bool WithUnwritableFile(const std::string& path, const std::function<void()>& checks, std::string* why) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY)) {
    *why = path + ": cannot set the read-only attribute, error " + std::to_string(GetLastError());
    return false;
  }
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool ran = false;
  if (holder == INVALID_HANDLE_VALUE) {
    *why = path + ": cannot hold the file open, error " + std::to_string(GetLastError());
  } else if (writer != INVALID_HANDLE_VALUE) {
    *why = "the file can still be written";
  } else {
    checks();
    ran = true;
  }
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
  SetFileAttributesA(path.c_str(), attributes);
  return ran;
}

}  // namespace testfiles
