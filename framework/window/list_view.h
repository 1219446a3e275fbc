// The list-view control wrapper.  Each operation sends one message to the
// control and returns its result.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/window/window_handle.h"

// A list-view control, created by the wrapper or bound to an existing one with
// Attach (the engine binds it to the shell's desktop icon view, a window of
// another process).  Records passed by address (LVITEMA, LVCOLUMNA,
// LVFINDINFOA, the text buffer) reach only a control of this process; the
// operations whose data travels in wParam and lParam alone work across
// processes, and GetItemPosition passes its address on unchanged so that the
// caller can give one that is valid in the control's process.
class CListView : public CControl {
 public:
  CListView() = default;

  // Creates a visible "SysListView32" child of `parent` with no menu, instance
  // or creation parameter; initialises the common controls on the first call
  // in the process.  Returns the control, or null on failure.
  HWND Create(DWORD exStyle, DWORD style, int x, int y, int width, int height, const char* title,
              HWND parent);

  // Adds `bits` to the extended style; returns the previous extended style.
  DWORD AddExtendedStyle(DWORD bits);
  BOOL DeleteColumn(int column);
  // Inserts `column` at its iSubItem; returns the new column's index or -1.
  int InsertColumn(const LVCOLUMNA& column);
  // Returns the new item's index or -1.
  int InsertItem(const LVITEMA& item);
  BOOL DeleteAllItems();
  BOOL GetItem(LVITEMA* item);
  BOOL SetItem(const LVITEMA& item);
  BOOL SortItems(PFNLVCOMPARE compare, LPARAM sortValue);
  // Returns the index of the first match after `start` (-1 searches from the
  // beginning), or -1.
  int FindItem(int start, const LVFINDINFOA& find);
  // Copies the text of an item or sub-item into `buffer` (always terminated
  // when `bufferSize` is positive; texts longer than the buffer are cut) and
  // returns the number of bytes copied.  The buffer must belong to the
  // control's process.
  int GetItemText(int item, int subItem, char* buffer, int bufferSize);
  int GetNextItem(int start, UINT flags);
  int GetColumnWidth(int column);
  BOOL DeleteItem(int item);
  // Returns the image list that `kind` had before.
  HIMAGELIST SetImageList(HIMAGELIST imageList, int kind);
  BOOL Scroll(int dx, int dy);
  int GetItemCount();
  // `point` is passed on unchanged; for a control of another process it must
  // be an address in that process.
  BOOL GetItemPosition(int item, POINT* point);
  // Each coordinate travels as its low 16 bits, so -32768..32767 survive.
  BOOL SetItemPosition(int item, int x, int y);
  bool Select(int item);
  bool Deselect(int item);
};
