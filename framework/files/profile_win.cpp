// CProfile on Windows: GetPrivateProfileStringA, WritePrivateProfileStringA,
// and CreateFileA for the access probe.
#include <windows.h>

#include "framework/files/profile_backend.h"

namespace profilebackend {

int GetString(const char* section, const char* key, const char* defaultText, char* buffer, int size,
              const char* path) {
  return static_cast<int>(GetPrivateProfileStringA(section, key, defaultText, buffer, static_cast<DWORD>(size), path));
}

int WriteString(const char* section, const char* key, const char* value, const char* path) {
  return WritePrivateProfileStringA(section, key, value, path);
}

bool ProbeFile(const char* path, int readOnly, int truncate) {
  DWORD access = readOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = !readOnly && truncate ? CREATE_ALWAYS : OPEN_ALWAYS;
  HANDLE file = CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace profilebackend
