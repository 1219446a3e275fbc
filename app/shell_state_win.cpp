#include "app/shell_state.h"

#include "app/app_host_win.h"
#include "app/app_state.h"
#include "app/display_change.h"
#include "app/desktop_watch.h"
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

WinAppHost host(&mainWindow);
AppState appState(GetDesktopIconView(), settings, host);
DisplayChange displayChange;
DesktopWatch look;

}  // namespace

void CMainTrayIcon::OnTaskbarCreated() {
  Sorrel_End();
  Sorrel_Start();
  (void)displayChange.OnShellRestarted(appState);
}

AppState& App() { return appState; }
DisplayChange& Display() { return displayChange; }
DesktopWatch& Look() { return look; }
DesktopFolderWatch& DesktopFolders() { return host.Folders(); }

HINSTANCE MainWindowInstance() {
  if (!mainWindow) return appInstance;
  if (!mainWindow->instance && mainWindow->window) {
    mainWindow->instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow->window, GWLP_HINSTANCE));
  }
  return mainWindow->instance;
}
