// The hidden main window of the tray program and the process-wide state of
// the shell.  Every event of the program arrives at MainWndProc: tray
// callbacks, menu commands, display changes, the hook library's reports and
// commands from the command line of another Tessaly.exe.
#pragma once

#include <windows.h>

#include "app/settings.h"
#include "framework/window/tray_icon.h"
#include "framework/window/window.h"

struct AppState;

// The main window is found by these two (by a second copy of the program and
// by the hook library in the shell's process).
inline constexpr const char* kMainWindowClass = "CID_TESSALY";
inline constexpr const char* kMainWindowTitle = "Pavane";
inline constexpr UINT kTrayCallbackMessage = 0x8065;  // WM_APP + 0x65
inline constexpr int kTrayIconId = 102;               // the same number as the icon resource

// The tray icon; when the shell restarts, the hook is set again on the new
// desktop before the icon is added again.
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

// The module instance cached in the main window object, filled from the
// window when still empty.
HINSTANCE MainWindowInstance();

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
