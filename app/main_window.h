// The hidden main window of the tray program.  Every event of the program
// arrives at MainWndProc and goes to the room that handles it: tray
// callbacks and menu commands (tray_menu.h), display changes
// (display_change.h) and the returns from sleep and of the session, the
// timers of the display change and of the watch on the desktop
// (desktop_watch.h), the hook library's reports (hook_report.h) and
// commands from the command line of another Tessaly.exe (command_line_win.h).
#pragma once

#include <windows.h>

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
