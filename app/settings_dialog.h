// The Settings dialog (resource 103): three check boxes for the options.
#pragma once

#include <windows.h>

// Ends with 1 (OK: the check boxes become the options) or 2 (close box: the
// options stay as they were).  Escape does not close it.
INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
