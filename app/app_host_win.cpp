#include "app/app_host_win.h"

#include <windows.h>
#include <commdlg.h>

#include "app/shell_state.h"
#include "app/texts.h"
#include "app/texts_win.h"
#include "hook/sorrel_contract.h"
#include "resources/resource.h"

HINSTANCE WinAppHost::MainWindowInstance() const {
  const flib::CWindow* window = *window_;
  if (!window || window->instance || !window->window) return window ? window->instance : nullptr;
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window->window, GWLP_HINSTANCE));
}

void WinAppHost::ShowError(unsigned text, unsigned caption, int number) {
  ShowMessage(MainWindowHandle(), WithNumber(LoadText(text), number), LoadText(caption), MB_ICONERROR);
}

std::string WinAppHost::Text(unsigned id) { return LoadAnsiText(id); }

bool WinAppHost::ChooseFile(const FileDialogRequest& request, std::string& path) {
  char file[1024] = {};
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;  // 152
  dialog.hwndOwner = MainWindowHandle();
  dialog.hInstance = MainWindowInstance();
  dialog.lpstrFilter = request.filter.c_str();
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrTitle = request.title.c_str();
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
  LASTINPUTINFO input = {};
  input.cbSize = sizeof input;
  if (!GetLastInputInfo(&input)) return input_;
  // Read every second: without new input the window in front is taken as it
  // was at the latest input, and the system is asked nothing more.
  if (input.dwTime == input_.lastInput && inputRead_) return input_;
  inputRead_ = true;
  input_.lastInput = input.dwTime;
  // The desktop's process owns Progman, the WorkerW windows behind it and the
  // shell's folder windows.
  DWORD front = 0;
  DWORD desktop = 0;
  if (HWND window = GetForegroundWindow()) GetWindowThreadProcessId(window, &front);
  if (HWND progman = FindWindowA("Progman", nullptr)) GetWindowThreadProcessId(progman, &desktop);
  input_.desktopInFront = front != 0 && front == desktop;
  return input_;
}

// The mouse and the keyboard as raw input, also while another window is in
// front; the main window hands the first WM_INPUT to the desktop watch, which
// then asks for no more.
bool WinAppHost::WakeOnInput(bool on) {
  HWND window = MainWindowHandle();
  if (!window) return false;
  RAWINPUTDEVICE devices[2] = {};
  for (RAWINPUTDEVICE& device : devices) {
    device.usUsagePage = 0x01;  // generic desktop controls
    device.dwFlags = on ? RIDEV_INPUTSINK : RIDEV_REMOVE;
    device.hwndTarget = on ? window : nullptr;
  }
  devices[0].usUsage = 0x02;  // mouse
  devices[1].usUsage = 0x06;  // keyboard
  return RegisterRawInputDevices(devices, 2, sizeof devices[0]) != FALSE;
}

void WinAppHost::WatchDesktopFolders(bool on) {
  if (on) {
    folders_.Start();
  } else {
    folders_.Stop();
  }
}

// The tip goes through the ANSI code page (the tray icon's data is ANSI).
void WinAppHost::ShowLock(bool on) {
  trayIcon.Modify(on ? IDI_LOCKED : IDI_APP, on ? LoadAnsiText(IDS_LOCKED_TIP).c_str() : kMainWindowTitle);
}

void WinAppHost::ShowBalloon(unsigned text) {
  trayIcon.ShowBalloon(LoadText(IDS_LOCK_BALLOON_TITLE).c_str(), LoadText(text).c_str());
}
