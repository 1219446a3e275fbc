#include "app/startup_shortcut_win.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <string>

using Microsoft::WRL::ComPtr;

namespace {

constexpr const wchar_t* kShortcutName = L"Tessaly.lnk";

// COM for the length of one call on this thread, when it is not there yet.
class ComForCall {
 public:
  ComForCall() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComForCall() {
    if (initialized_) CoUninitialize();
  }

 private:
  bool initialized_;
};

std::wstring ShortcutPath() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder))) return std::wstring();
  return std::wstring(folder) + L"\\" + kShortcutName;
}

std::wstring ProgramPath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

// Where the shortcut at `path` leads, or "" when it cannot be read.
std::wstring TargetOf(const std::wstring& path) {
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  wchar_t target[MAX_PATH] = {};
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
      FAILED(link.As(&file)) || FAILED(file->Load(path.c_str(), STGM_READ)) ||
      FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) {
    return std::wstring();
  }
  return target;
}

// The same file, whatever case or form the two paths are written in.
bool SameFile(const std::wstring& a, const std::wstring& b) {
  wchar_t fullA[MAX_PATH] = {};
  wchar_t fullB[MAX_PATH] = {};
  if (!GetFullPathNameW(a.c_str(), MAX_PATH, fullA, nullptr) || !GetFullPathNameW(b.c_str(), MAX_PATH, fullB, nullptr)) {
    return false;
  }
  return CompareStringOrdinal(fullA, -1, fullB, -1, TRUE) == CSTR_EQUAL;
}

bool LeadsHere(const std::wstring& shortcut, const std::wstring& program) {
  return GetFileAttributesW(shortcut.c_str()) != INVALID_FILE_ATTRIBUTES && SameFile(TargetOf(shortcut), program);
}

}  // namespace

bool StartsAtLogOn() {
  ComForCall com;
  const std::wstring shortcut = ShortcutPath();
  const std::wstring program = ProgramPath();
  return !shortcut.empty() && !program.empty() && LeadsHere(shortcut, program);
}

bool SetStartAtLogOn(bool start) {
  ComForCall com;
  const std::wstring shortcut = ShortcutPath();
  const std::wstring program = ProgramPath();
  if (shortcut.empty() || program.empty()) return false;
  if (!start) {
    // Another Tessaly.exe's shortcut stays.
    if (!LeadsHere(shortcut, program)) return true;
    return DeleteFileW(shortcut.c_str()) != 0;
  }
  const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) &&
         SUCCEEDED(link->SetPath(program.c_str())) && SUCCEEDED(link->SetWorkingDirectory(folder.c_str())) &&
         SUCCEEDED(link.As(&file)) && SUCCEEDED(file->Save(shortcut.c_str(), TRUE));
}
