#include "tests/support/shell_desktop_client.h"

#include <shlobj.h>

#include <cstdlib>
#include <sstream>

#include "tests/support/shell_interface.h"

namespace testsupport {

std::string ShellDesktop::DesktopFolder() {
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder))) return "";
  return folder;
}

ShellDesktop::~ShellDesktop() { Quit(); }

namespace {

std::wstring Wide(UINT codePage, const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<size_t>(
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

bool SetRegistryText(HKEY root, const char* key, const char* name, const std::string& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS) return false;
  const bool set = RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(opened);
  return set;
}

bool FolderIsEmpty(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool empty = true;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") empty = false;
  } while (empty && FindNextFileA(search, &found));
  FindClose(search);
  return empty;
}

}  // namespace

bool ShellDesktop::Start(const std::vector<std::string>& fileNames) {
  std::vector<std::wstring> wide;
  for (const std::string& name : fileNames) wide.push_back(Wide(CP_ACP, name));
  return Start(wide);
}

bool ShellDesktop::Start(const std::vector<std::wstring>& fileNames) {
  Quit();
  const std::string folder = DesktopFolder();
  if (folder.empty() || !FolderIsEmpty(folder)) return false;
  for (const std::wstring& name : fileNames) {
    std::wstring path = Wide(CP_ACP, folder) + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      Quit();
      return false;
    }
    CloseHandle(file);
    files_.push_back(path);
  }
  if (Launch("")) return true;
  Quit();
  return false;
}

bool ShellDesktop::Restart() {
  Kill();
  return Launch("");
}

void ShellDesktop::Quit() {
  DesktopProcess::Quit();
  for (const std::wstring& path : files_) DeleteFileW(path.c_str());
  files_.clear();
}

bool ShellDesktop::Refresh() { return Command("refresh"); }

long ShellDesktop::Requests() {
  std::string reply;
  if (!Command("count requests", &reply)) return -1;
  return std::atol(reply.c_str());
}

bool ShellDesktop::RequestTimes(RequestTiming* timing) {
  std::string reply;
  if (!Command("requesttimes", &reply)) return false;
  char* end = nullptr;
  timing->latest = std::strtoul(reply.c_str(), &end, 10);
  timing->latestBurst = std::strtoul(end, nullptr, 10);
  return true;
}

std::vector<ShellIcon> ShellDesktop::Items() {
  std::vector<ShellIcon> icons;
  std::string reply;
  if (!Command("items", &reply)) return icons;
  std::istringstream in(reply);
  std::string line;
  std::getline(in, line);  // "count N"
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string index, x, y;
    ShellIcon icon;
    if (std::getline(fields, index, '\t') && std::getline(fields, icon.name, '\t') &&
        std::getline(fields, icon.parsingName, '\t') && std::getline(fields, x, '\t') && std::getline(fields, y)) {
      icon.x = std::atoi(x.c_str());
      icon.y = std::atoi(y.c_str());
      icons.push_back(icon);
    }
  }
  return icons;
}

long ShellDesktop::ForeignMoves() {
  std::string reply;
  if (!Command("count foreignmoves", &reply)) return -1;
  return std::atol(reply.c_str());
}

long ShellDesktop::Moves() {
  std::string reply;
  if (!Command("count moves", &reply)) return -1;
  return std::atol(reply.c_str());
}

bool ShellDesktop::SetInterface(const std::string& mode) { return Command("interface " + mode); }

bool ShellDesktop::ServeShellInterface() {
  HMODULE proxy = LoadLibraryA(ProgramBesideMe("shell_proxy.dll").c_str());
  if (!proxy) return false;
  auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(proxy, "DllRegisterServer"));
  const bool registered = registerServer && SUCCEEDED(registerServer());
  if (!registered) return false;
  wchar_t clsid[64] = {};
  StringFromGUID2(kTestShellWindows, clsid, 64);
  std::string text;
  for (const wchar_t* c = clsid; *c; ++c) text += static_cast<char>(*c);
  // CLSID_ShellWindows.
  return SetRegistryText(HKEY_CLASSES_ROOT, "CLSID\\{9BA05972-F6A8-11CF-A442-00A0C90A8F39}\\TreatAs", nullptr, text);
}

bool ShellDesktop::HideExtensions() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", 0,
                      nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const DWORD hide = 1;
  const bool set = RegSetValueExA(key, "HideFileExt", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&hide), sizeof hide) ==
                   ERROR_SUCCESS;
  RegCloseKey(key);
  return set;
}

}  // namespace testsupport
