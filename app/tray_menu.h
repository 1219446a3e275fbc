// The tray icon's mouse events, its popup menu (resource 101) and the
// dispatch of the menu's commands.
#pragma once

#include <windows.h>

#include "framework/window/window.h"

// Message 0x8065: wParam is the icon id, lParam the mouse message.  A right
// button press opens the menu; any click while the Settings or About dialog
// is open brings that dialog forward instead.  Returns 0.
LRESULT OnTrayNotify(flib::CWindow* window, WPARAM wParam, LPARAM lParam);

// Shows the tray menu at `point` (screen coordinates) and returns when it
// closes; the chosen item arrives as WM_COMMAND.
void ShowTrayMenu(flib::CWindow* window, POINT point);

// WM_COMMAND: runs the command in the low word of wParam.  Returns 0.
LRESULT OnCommand(flib::CWindow* window, WPARAM wParam);
