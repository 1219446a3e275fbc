// The reports of the hook library: WM_USER posted to the main window with
// wParam = the message the shell's desktop thread received and lParam = the
// 32-bit code of a WM_NOTIFY, zero-extended, or 0.
#pragma once

#include <cstdint>

// True for a report that the layout changed: an icon placed
// (LVM_SETITEMPOSITION, LVM_SETITEMPOSITION32), renamed (LVN_ENDLABELEDITA/W),
// added or removed (LVN_INSERTITEM, LVN_DELETEITEM, LVN_DELETEALLITEMS).  Both
// values are compared in their full 64-bit width: a sign-extended code is not
// a report of this library and does not qualify.
bool IsLayoutReport(std::uint64_t wParam, std::uint64_t lParam);
