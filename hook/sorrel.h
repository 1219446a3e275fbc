// sorrel_x64.dll: the desktop hook library.
//
// Sorrel_Start installs a WH_CALLWNDPROC hook on the thread that owns the
// desktop icon view, so that the system loads this library into the shell's
// process.  There, for each message that another thread or process sends to
// one of that thread's windows, the hook posts kHookReportMessage (WM_USER)
// to Tessaly's main window (sorrel_contract.h):
//   wParam  the identifier of the message sent, zero-extended
//   lParam  for WM_NOTIFY the NMHDR code, zero-extended (LVN_DELETEITEM, -103,
//           arrives as 0xFFFFFF99), or 0 when it cannot be read; else 0
// No memory is shared between the processes that load the library.
#pragma once

#ifdef SORREL_BUILDING_LIBRARY
#define SORREL_API
#else
#define SORREL_API __declspec(dllimport)
#endif

extern "C" {

// Installs the hook, removing one this process installed before.  Returns 1
// when a hook is installed, 0 when not (no desktop icon view, or the system
// refused the hook).
SORREL_API int Sorrel_Start();

// Removes the hook.  Returns 1 when no hook is left (none was installed, or it
// was removed), 0 when the removal failed; the hook then stays installed.
SORREL_API int Sorrel_End();

}  // extern "C"

// The function types, for whoever looks the exports up with GetProcAddress.
using SorrelStartFunction = decltype(&Sorrel_Start);
using SorrelEndFunction = decltype(&Sorrel_End);
