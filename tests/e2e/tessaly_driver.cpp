#include "tests/e2e/tessaly_driver.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/desktop_watch.h"
#include "engine/display_setup.h"

namespace e2e {

using testsupport::DesktopIcon;

std::string MakerFolder() {
  char folder[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::string(folder) + "\\Brindle-Works";
}

std::string SettingsFolder() { return MakerFolder() + "\\Tessaly"; }
std::string SettingsFile() { return SettingsFolder() + "\\Tessaly.ini"; }

std::string LayoutFile(int width, int height) {
  return SettingsFolder() + "\\default." + std::to_string(width) + "x" + std::to_string(height) + ".qvd";
}

// The monitors as Tessaly measures them.
std::string CurrentLayoutFile() { return SettingsFolder() + "\\default." + SetupTag(QueryDisplaySetup()); }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

bool WriteSettings(const std::string& text) {
  CreateDirectoryA(MakerFolder().c_str(), nullptr);
  CreateDirectoryA(SettingsFolder().c_str(), nullptr);
  return WriteBytes(SettingsFile(), text);
}

std::string ProfileValue(const std::string& path, const char* section, const char* key) {
  char value[4096] = {};
  GetPrivateProfileStringA(section, key, "<absent>", value, sizeof value, path.c_str());
  return value;
}

bool WriteLayout(const std::string& path, const std::vector<DesktopIcon>& icons) {
  DeleteFileA(path.c_str());
  bool ok = WritePrivateProfileStringA("QVD-Fomat", "Version", "0.01", path.c_str()) != 0;
  ok = ok && WritePrivateProfileStringA("QVD-Data", "IconCount", std::to_string(icons.size()).c_str(), path.c_str());
  for (size_t i = 0; i < icons.size() && ok; ++i) {
    std::string n = std::to_string(i);
    ok = WritePrivateProfileStringA("QVD-Data", ("IconName_" + n).c_str(), icons[i].name.c_str(), path.c_str()) &&
         WritePrivateProfileStringA("QVD-Data", ("IconPosX_" + n).c_str(), std::to_string(icons[i].x).c_str(),
                                    path.c_str()) &&
         WritePrivateProfileStringA("QVD-Data", ("IconPosY_" + n).c_str(), std::to_string(icons[i].y).c_str(),
                                    path.c_str());
  }
  return ok;
}

std::vector<DesktopIcon> ReadLayout(const std::string& path) {
  std::vector<DesktopIcon> icons;
  int count = GetPrivateProfileIntA("QVD-Data", "IconCount", 0, path.c_str());
  for (int i = 0; i < count; ++i) {
    std::string n = std::to_string(i);
    icons.push_back({ProfileValue(path, "QVD-Data", ("IconName_" + n).c_str()),
                     std::atoi(ProfileValue(path, "QVD-Data", ("IconPosX_" + n).c_str()).c_str()),
                     std::atoi(ProfileValue(path, "QVD-Data", ("IconPosY_" + n).c_str()).c_str())});
  }
  return icons;
}

std::vector<DesktopIcon> InPositionOrder(std::vector<DesktopIcon> icons) {
  std::stable_sort(icons.begin(), icons.end(), [](const DesktopIcon& a, const DesktopIcon& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
  });
  return icons;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  for (int waited = 0;; waited += 50) {
    if (done()) return true;
    if (waited >= timeoutMs) return false;
    Sleep(50);
  }
}

bool WaitUntil(const std::function<bool()>& done, DWORD deadline) {
  for (;;) {
    const bool late = static_cast<LONG>(GetTickCount() - deadline) >= 0;
    if (done()) return true;
    if (late) return false;
    Sleep(50);
  }
}

DWORD LookDeadline(DWORD signAt, DWORD lastLookEnd, DWORD lookCostMs) {
  const DWORD spacing = std::max<DWORD>(static_cast<DWORD>(kLookSpacingMs), lookCostMs * kLookCostRatio);
  const DWORD still = signAt + static_cast<DWORD>(kStillMs);
  const DWORD spaced = lastLookEnd + spacing;
  const DWORD due = static_cast<LONG>(spaced - still) > 0 ? spaced : still;
  return due + kLookTickMs + kLookMarginMs;
}

bool WaitForFileSettled(const std::string& path, int timeoutMs) {
  std::string last;
  int stableFor = 0;
  for (int waited = 0; waited < timeoutMs; waited += 100) {
    if (Exists(path)) {
      std::string now = ReadBytes(path);
      stableFor = now == last ? stableFor + 100 : 0;
      if (stableFor >= 500) return true;
      last = now;
    }
    Sleep(100);
  }
  return false;
}

Tessaly::~Tessaly() {
  if (!process_) return;
  if (Running()) {
    if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
  }
  WaitForSingleObject(process_, 10000);
  CloseHandle(process_);
}

bool Tessaly::Start(bool waitForWindow, const std::string& arguments, const std::string& folder) {
  std::string command = "\"" + testsupport::DeliverablePath("Tessaly.exe") + "\"";
  if (!arguments.empty()) command += " " + arguments;
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  // A copy started before by this driver has ended: its window is no more.
  if (process_) CloseHandle(process_);
  process_ = pi.hProcess;
  processId_ = pi.dwProcessId;
  window_ = nullptr;
  if (!waitForWindow) return true;
  const bool found = WaitFor([&] {
    HWND window = FindWindowA("CID_TESSALY", "Pavane");
    DWORD owner = 0;
    if (window) GetWindowThreadProcessId(window, &owner);
    if (owner == processId_) window_ = window;
    return window_ != nullptr || !Running();
  }) && window_ != nullptr;
  // The window is found while it is still being created; a message it has
  // answered means that its thread waits for messages.  (Held still in the
  // middle of its start, inside the loader, Wine's Tessaly could hold up
  // the next process started for good.)
  DWORD_PTR answer = 0;
  return found && SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer) != 0;
}

bool Tessaly::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Tessaly::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
  return window_ && PostMessageA(window_, message, wParam, lParam);
}

bool Tessaly::AnnounceNewTaskbar() const {
  DWORD_PTR result = 0;
  return window_ && SendMessageTimeoutA(window_, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_NORMAL, 20000,
                                        &result) != 0;
}

bool Tessaly::WaitExit(int* exitCode, int timeoutMs) {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  *exitCode = static_cast<int>(code);
  return true;
}

bool Tessaly::Close(int* exitCode) { return Post(WM_CLOSE) && WaitExit(exitCode); }

void Tessaly::Kill() {
  if (!process_) return;
  TerminateProcess(process_, 99);
  WaitForSingleObject(process_, 10000);
}

namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (lstrcmpA(cls, search->className) != 0) return TRUE;
  if (search->title && WindowText(window) != search->title) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND Tessaly::FindOwnWindow(const char* className, const char* title) const {
  WindowSearch search = {processId_, className, title, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Tessaly::WaitForDialog(const char* title, int timeoutMs) const {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindOwnWindow("#32770", title)) != nullptr; }, timeoutMs);
  return found;
}

bool Tessaly::WaitForNoDialog(const char* title, int timeoutMs) const {
  return WaitFor([&] { return FindOwnWindow("#32770", title) == nullptr; }, timeoutMs);
}

HWND Tessaly::FindMenu() const { return FindOwnWindow("#32768", nullptr); }

int RunTessaly(const std::string& arguments, const std::string& folder) {
  Tessaly command;
  if (!command.Start(false, arguments, folder)) return kNotEnded;
  int exitCode = kNotEnded;
  command.WaitExit(&exitCode, 60000);
  return exitCode;
}

std::string MessageBoxText(HWND box) {
  char text[1024] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

void PressOk(HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); }

}  // namespace e2e
