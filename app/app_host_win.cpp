#include "app/app_host_win.h"

#include <windows.h>
#include <commdlg.h>

#include "app/main_window.h"

namespace {

HWND MainWindowHandle() { return mainWindow ? mainWindow->window : nullptr; }

}  // namespace

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
  dialog.Flags = request.flags;
  dialog.lpstrDefExt = request.defaultExtension.c_str();
  BOOL chosen = request.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  if (chosen != 1) return false;
  path = file;
  return true;
}

bool WinAppHost::TakePendingReport(std::uint64_t& wParam, std::uint64_t& lParam) {
  HWND window = MainWindowHandle();
  MSG message;
  if (!window || !PeekMessageA(&message, window, WM_USER, WM_USER, PM_REMOVE)) return false;
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
