// The reports of the hook library and what the automatic save makes of them.
// A report is kHookReportMessage (WM_USER) posted to the main window with
// wParam = the message the shell's desktop thread received and lParam = the
// 32-bit code of a WM_NOTIFY, zero-extended, or 0 (hook/sorrel.h).
#pragma once

#include <cstdint>

// True for a report that the layout changed: an icon placed
// (LVM_SETITEMPOSITION, LVM_SETITEMPOSITION32), renamed (LVN_ENDLABELEDITA/W),
// added or removed (LVN_INSERTITEM, LVN_DELETEITEM, LVN_DELETEALLITEMS).  Both
// values are compared in their full 64-bit width: a sign-extended code is not
// a report of this library and does not qualify.
bool IsLayoutReport(std::uint64_t wParam, std::uint64_t lParam);

struct AppState;

// A report that passed IsLayoutReport.  With resolutionAutoCapture on and no
// layout work under way, removes the reports already waiting and takes one
// snapshot for all of them: a restore's moves come as a burst of reports and
// only the last snapshot of it could ever be read.
void OnHookNotification(AppState& app);
