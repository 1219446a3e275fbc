// Special folders on Windows: GetModuleFileNameA, SHGetSpecialFolderPathA,
// GetVersionExA, SHBrowseForFolderA and SHGetPathFromIDListA.
#include <windows.h>
#include <shlobj.h>

#include "framework/files/special_folders_backend.h"

namespace folderbackend {

int ReadModulePath(char* buffer, int size) {
  return static_cast<int>(GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size)));
}

int QueryShellFolder(void* owner, int id, char* buffer, int) {
  return SHGetSpecialFolderPathA(static_cast<HWND>(owner), buffer, id, FALSE) ? 1 : 0;
}

unsigned long PlatformId() {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return VER_PLATFORM_WIN32_NT;
  return info.dwPlatformId;
}

int ChooseFolder(void* owner, const char* title, char* buffer) {
  BROWSEINFOA info = {};
  info.hwndOwner = static_cast<HWND>(owner);
  info.lpszTitle = title;
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (chosen == nullptr) return 0;
  buffer[0] = '\0';
  BOOL ok = SHGetPathFromIDListA(chosen, buffer);
  CoTaskMemFree(chosen);
  return ok ? 1 : 0;
}

}  // namespace folderbackend
