#include "app/main_window.h"

#include <wtsapi32.h>

#include "app/app_state.h"
#include "app/automatic_options.h"
#include "app/command_line_win.h"
#include "app/desktop_watch.h"
#include "app/display_change.h"
#include "app/hook_report.h"
#include "app/shell_state.h"
#include "app/tray_menu.h"
#include "engine/desktop_icon_view.h"
#include "hook/sorrel_contract.h"

namespace {

LRESULT OnCreate(HWND window, LPARAM lParam) {
  // The framework hands over the window object in place of the creation record.
  mainWindow = reinterpret_cast<flib::CWindow*>(lParam);
  MainWindowInstance();
  trayIcon.Create(kTrayIconId, mainWindow->instance, window, kMainWindowTitle);
  FindDesktopListView();
  // Connects, disconnects and unlocks of this session (WM_WTSSESSION_CHANGE).
  WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION);
  OnStartupActions(App(), Look());
  return 0;
}

LRESULT OnDestroy(HWND window) {
  WTSUnRegisterSessionNotification(window);
  App().host.WatchDesktopFolders(false);
  (void)App().host.WakeOnInput(false);
  trayIcon.Delete();
  // A display change that has not finished still owes the old resolution
  // its file.
  Display().WriteOwedSnapshot();
  return 0;
}

LRESULT OnClose() {
  PostQuitMessage(0);
  return 0;
}

// The session may end; another program may still cancel the log-off, so
// nothing ends here.
LRESULT OnQueryEndSession() { return TRUE; }

// The session ends (TRUE): what must survive is written before this returns,
// for the system may end the process as soon as it has; then the program ends
// as 終了 ends it.  A log-off that was cancelled (FALSE) changes nothing.
LRESULT OnEndSession(WPARAM ending) {
  if (!ending) return 0;
  (void)settings.Save();
  Display().WriteOwedSnapshot();
  PostQuitMessage(0);
  return 0;
}

// WM_DISPLAYCHANGE is sent, so it can arrive while the program waits for the
// shell to answer a capture or a restore.  It only takes note; the main
// window's timer carries the change out (display_change.h).
LRESULT OnDisplayChangeMessage() {
  Display().OnDisplayChange(App());
  return 0;
}

// A change of the display's scale comes as either of these, or with a
// WM_DISPLAYCHANGE; it is followed as a change of resolution.
LRESULT OnScaleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Display().OnScaleMayHaveChanged(App());
  return DefWindowProcA(window, message, wParam, lParam);
}

// The timers of the display change and of the watch on the desktop.
LRESULT OnTimer(WPARAM id) {
  if (id == kDisplayChangeTimer) Display().OnTimer(App());
  if (id == kLookTimer) Look().OnTimer(App());
  if (id == kInputPollTimer) Look().OnInputPoll(App());
  return 0;
}

// The desktop is back from sleep, or its session from elsewhere: monitors
// may have gone and come back meanwhile, and the shell moved icons.
void OnDesktopReturned() {
  if (!Display().OnReturn(App())) Look().OnSign(App(), true);
}

// Resume comes as PBT_APMRESUMEAUTOMATIC, and then PBT_APMRESUMESUSPEND
// when a user is there; the second finds the first under way.
LRESULT OnPowerBroadcast(WPARAM event) {
  if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) OnDesktopReturned();
  return TRUE;
}

LRESULT OnSessionChange(WPARAM event) {
  if (event == WTS_CONSOLE_CONNECT || event == WTS_REMOTE_CONNECT || event == WTS_SESSION_UNLOCK) {
    OnDesktopReturned();
  }
  return 0;
}

// The user's first input after a rest, while the desktop watch waits for it.
LRESULT OnInput(HWND window, WPARAM wParam, LPARAM lParam) {
  Look().OnInputArrived(App());
  return DefWindowProcA(window, WM_INPUT, wParam, lParam);
}

LRESULT OnHookReport(WPARAM wParam, LPARAM lParam) {
  if (IsLayoutReport(static_cast<std::uint64_t>(wParam), static_cast<std::uint64_t>(lParam))) {
    OnHookNotification(App());
    // With the lock on, a report is a sign for the desktop watch; an icon
    // added, removed or renamed has it read the names too.
    if (App().lock.On()) Look().OnSign(App(), wParam == WM_NOTIFY);
  }
  return 0;
}

LRESULT OnOtherMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  trayIcon.HandleMessage(message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window, lParam);
    case WM_DESTROY:
      return OnDestroy(window);
    case WM_CLOSE:
      return OnClose();
    case WM_QUERYENDSESSION:
      return OnQueryEndSession();
    case WM_ENDSESSION:
      return OnEndSession(wParam);
    case WM_DISPLAYCHANGE:
      return OnDisplayChangeMessage();
    case WM_SETTINGCHANGE:
    case WM_DPICHANGED:
      return OnScaleMessage(window, message, wParam, lParam);
    case WM_COMMAND:
      return OnCommand(mainWindow, wParam);
    case WM_TIMER:
      return OnTimer(wParam);
    case WM_INPUT:
      return OnInput(window, wParam, lParam);
    case WM_POWERBROADCAST:
      return OnPowerBroadcast(wParam);
    case WM_WTSSESSION_CHANGE:
      return OnSessionChange(wParam);
    case kHookReportMessage:
      return OnHookReport(wParam, lParam);
    case WM_COPYDATA:
      return OnCopyData(lParam);
    case kTrayCallbackMessage:
      return OnTrayNotify(mainWindow, wParam, lParam);
    default:
      return OnOtherMessage(window, message, wParam, lParam);
  }
}
