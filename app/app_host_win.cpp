#include "app/app_host_win.h"

#include <windows.h>
#include <commdlg.h>

#include "hook/sorrel_contract.h"

HINSTANCE WinAppHost::MainWindowInstance() const {
  const flib::CWindow* window = *window_;
  if (!window || window->instance || !window->window) return window ? window->instance : nullptr;
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window->window, GWLP_HINSTANCE));
}

void WinAppHost::ShowError(const char* text, const char* caption) {
  MessageBoxA(MainWindowHandle(), text, caption, MB_ICONERROR);
}

bool WinAppHost::ChooseFile(const FileDialogRequest& request, std::string& path) {
  char file[1024] = {};
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;  // 152
  dialog.hwndOwner = MainWindowHandle();
  dialog.hInstance = MainWindowInstance();
  dialog.lpstrFilter = request.filter.c_str();
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrTitle = request.title;
  dialog.Flags = OFN_HIDEREADONLY | OFN_EXTENSIONDIFFERENT | (request.fileMustExist ? OFN_FILEMUSTEXIST : 0);
  dialog.lpstrDefExt = request.defaultExtension.c_str();
  if (!request.initialFolder.empty()) dialog.lpstrInitialDir = request.initialFolder.c_str();
  BOOL chosen = request.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  if (chosen != 1) return false;
  path = file;
  return true;
}

bool WinAppHost::TakePendingReport(std::uint64_t& wParam, std::uint64_t& lParam) {
  HWND window = MainWindowHandle();
  MSG message;
  if (!window || !PeekMessageA(&message, window, kHookReportMessage, kHookReportMessage, PM_REMOVE)) return false;
  wParam = message.wParam;
  lParam = static_cast<std::uint64_t>(message.lParam);
  return true;
}

std::uint64_t WinAppHost::NowMs() { return GetTickCount64(); }

void WinAppHost::StartTimer(unsigned id, unsigned ms) {
  HWND window = MainWindowHandle();
  if (window) SetTimer(window, id, ms, nullptr);
}

void WinAppHost::StopTimer(unsigned id) {
  HWND window = MainWindowHandle();
  if (window) KillTimer(window, id);
}

InputReading WinAppHost::ReadInput() {
  InputReading reading;
  LASTINPUTINFO input = {};
  input.cbSize = sizeof input;
  if (GetLastInputInfo(&input)) reading.lastInput = input.dwTime;
  // The desktop's process owns Progman, the WorkerW windows behind it and the
  // shell's folder windows.
  DWORD front = 0;
  DWORD desktop = 0;
  if (HWND window = GetForegroundWindow()) GetWindowThreadProcessId(window, &front);
  if (HWND progman = FindWindowA("Progman", nullptr)) GetWindowThreadProcessId(progman, &desktop);
  reading.desktopInFront = front != 0 && front == desktop;
  return reading;
}

void WinAppHost::WatchDesktopFolders(bool on) {
  if (on) {
    folders_.Start();
  } else {
    folders_.Stop();
  }
}
