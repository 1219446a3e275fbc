// The tray program's process-wide objects (Windows only): the main window
// object, the open dialog, the settings, the tray icon, and the state the
// commands and the automatic behaviours share.  They live from before the
// entry point until after it; every room of the program reaches them here,
// and the main window (main_window.h) dispatches to those rooms.
#pragma once

#include <windows.h>

#include "app/settings.h"
#include "framework/window/tray_icon.h"
#include "framework/window/window.h"

struct AppState;
class DesktopFolderWatch;
class DesktopWatch;
class DisplayChange;

// The tray icon's callback message (wParam: the icon id, lParam: the mouse
// message) and its id, the same number as the icon resource.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 0x65;
inline constexpr int kTrayIconId = 102;

// The tray icon; when the shell restarts, the hook is set again on the new
// desktop before the icon is added again, and the new desktop is followed
// until it has settled (display_change.h).
class CMainTrayIcon : public CTrayIcon {
 public:
  void OnTaskbarCreated() override;
};

extern HINSTANCE appInstance;      // the entry point's instance; the tray menu is loaded from it
extern flib::CWindow* mainWindow;  // the entry point's window object, kept from WM_CREATE
extern CMainTrayIcon trayIcon;
extern HWND activeDialog;          // the open Settings or About dialog, else null
extern AppSettings settings;

// The state the commands and the automatic behaviours share.
AppState& App();
// The display change being followed, the watch on the desktop, and the
// watch on its folders, which the message loop waits on.
DisplayChange& Display();
DesktopWatch& Look();
DesktopFolderWatch& DesktopFolders();

// The module instance cached in the main window object, filled from the
// window when still empty.
HINSTANCE MainWindowInstance();
