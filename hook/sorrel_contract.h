// What Tessaly and its hook library agree on (Windows only): how the library
// in the shell's process finds Tessaly's main window, and the message it
// reports with.  A second copy of Tessaly finds the first one by the same
// class and title.
#pragma once

#include <windows.h>

inline constexpr const char* kMainWindowClass = "CID_TESSALY";
inline constexpr const char* kMainWindowTitle = "Pavane";

// Posted to the main window for each message that another thread sends to a
// window of the shell's desktop thread; wParam and lParam as sorrel.h says.
inline constexpr UINT kHookReportMessage = WM_USER;
