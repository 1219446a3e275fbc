#include "app/main_window.h"

#include "app/app_host_win.h"
#include "app/app_state.h"
#include "app/auto_layout.h"
#include "app/command_line_win.h"
#include "app/display_change.h"
#include "app/hook_report.h"
#include "app/tray_menu.h"
#include "engine/capture.h"
#include "engine/desktop_icon_view.h"
#include "hook/sorrel.h"

// Constructed before the entry point runs, destroyed after it returns, in
// this order (destruction in reverse).
HINSTANCE appInstance = nullptr;
flib::CWindow* mainWindow = nullptr;
HWND activeDialog = nullptr;
AppSettings settings;
CMainTrayIcon trayIcon;

namespace {

WinAppHost host;
AppState appState(GetDesktopIconView(), settings, host);

LRESULT OnCreate(HWND window, LPARAM lParam) {
  // The framework hands over the window object in place of the creation record.
  mainWindow = reinterpret_cast<flib::CWindow*>(lParam);
  MainWindowInstance();
  trayIcon.Create(kTrayIconId, mainWindow->instance, window, kMainWindowTitle);
  FindDesktopListView();
  OnStartupActions(App());
  return 0;
}

LRESULT OnDestroy() {
  trayIcon.Delete();
  // A display change that has not finished still owes the old resolution
  // its file.
  WritePendingSnapshot(App());
  return 0;
}

LRESULT OnClose() {
  PostQuitMessage(0);
  return 0;
}

LRESULT OnQueryEndSession() {
  PostQuitMessage(0);
  return 1;
}

// WM_DISPLAYCHANGE is sent, so it can arrive while the program waits for the
// shell to answer a capture or a restore.  It only takes note; the main
// window's timer carries the change out (display_change.h).
LRESULT OnDisplayChangeMessage() { return OnDisplayChange(App()); }

LRESULT OnTimer(WPARAM id) {
  OnLayoutTimer(App(), static_cast<unsigned>(id));
  return 0;
}

LRESULT OnHookReport(WPARAM wParam, LPARAM lParam) {
  if (IsLayoutReport(static_cast<std::uint64_t>(wParam), static_cast<std::uint64_t>(lParam))) {
    OnHookNotification(App());
  }
  return 0;
}

LRESULT OnOtherMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  trayIcon.HandleMessage(message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void CMainTrayIcon::OnTaskbarCreated() {
  Sorrel_End();
  Sorrel_Start();
}

AppState& App() { return appState; }

HINSTANCE MainWindowInstance() {
  if (!mainWindow) return appInstance;
  if (!mainWindow->instance && mainWindow->window) {
    mainWindow->instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow->window, GWLP_HINSTANCE));
  }
  return mainWindow->instance;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window, lParam);
    case WM_DESTROY:
      return OnDestroy();
    case WM_CLOSE:
      return OnClose();
    case WM_QUERYENDSESSION:
      return OnQueryEndSession();
    case WM_DISPLAYCHANGE:
      return OnDisplayChangeMessage();
    case WM_COMMAND:
      return OnCommand(mainWindow, wParam);
    case WM_TIMER:
      return OnTimer(wParam);
    case WM_USER:
      return OnHookReport(wParam, lParam);
    case WM_COPYDATA:
      return OnCopyData(lParam);
    case kTrayCallbackMessage:
      return OnTrayNotify(mainWindow, wParam, lParam);
    default:
      return OnOtherMessage(window, message, wParam, lParam);
  }
}
