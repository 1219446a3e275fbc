#include "framework/window/list_view.h"

namespace {

bool commonControlsReady = false;

// LVM_GETITEMTEXTA takes the buffer size as an int, but the control has always
// been given at most 16 bits of it: a larger buffer counts as 0xFFFF bytes.
int TextLimit(int bufferSize) { return bufferSize > 0xFFFF ? 0xFFFF : bufferSize; }

}  // namespace

HWND CListView::Create(DWORD exStyle, DWORD style, int x, int y, int width, int height, const char* title,
                       HWND parent) {
  if (!commonControlsReady) {
    InitCommonControls();
    commonControlsReady = true;
  }
  this->parent = parent;
  window = CreateWindowExA(exStyle, WC_LISTVIEWA, title, style, x, y, width, height, parent, nullptr, nullptr,
                           nullptr);
  if (window) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
  }
  return window;
}

DWORD CListView::AddExtendedStyle(DWORD bits) {
  DWORD old = static_cast<DWORD>(SendMessageA(window, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  return static_cast<DWORD>(SendMessageA(window, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, old | bits));
}

BOOL CListView::DeleteColumn(int column) {
  return static_cast<BOOL>(SendMessageA(window, LVM_DELETECOLUMN, column, 0));
}

int CListView::InsertColumn(const LVCOLUMNA& column) {
  return static_cast<int>(
      SendMessageA(window, LVM_INSERTCOLUMNA, column.iSubItem, reinterpret_cast<LPARAM>(&column)));
}

int CListView::InsertItem(const LVITEMA& item) {
  return static_cast<int>(SendMessageA(window, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListView::DeleteAllItems() { return static_cast<BOOL>(SendMessageA(window, LVM_DELETEALLITEMS, 0, 0)); }

BOOL CListView::GetItem(LVITEMA* item) {
  return static_cast<BOOL>(SendMessageA(window, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CListView::SetItem(const LVITEMA& item) {
  return static_cast<BOOL>(SendMessageA(window, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListView::SortItems(PFNLVCOMPARE compare, LPARAM sortValue) {
  return static_cast<BOOL>(
      SendMessageA(window, LVM_SORTITEMS, static_cast<WPARAM>(sortValue), reinterpret_cast<LPARAM>(compare)));
}

int CListView::FindItem(int start, const LVFINDINFOA& find) {
  return static_cast<int>(SendMessageA(window, LVM_FINDITEMA, start, reinterpret_cast<LPARAM>(&find)));
}

int CListView::GetItemText(int item, int subItem, char* buffer, int bufferSize) {
  if (!buffer || bufferSize <= 0) return 0;
  // A control that does not answer leaves an empty text rather than garbage.
  buffer[0] = '\0';
  LVITEMA record = {};
  record.iSubItem = subItem;
  record.pszText = buffer;
  record.cchTextMax = TextLimit(bufferSize);
  int copied = static_cast<int>(SendMessageA(window, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&record)));
  // Some controls fill a short buffer to the last byte without a terminator.
  if (copied >= record.cchTextMax) {
    copied = record.cchTextMax - 1;
    buffer[copied] = '\0';
  }
  return copied < 0 ? 0 : copied;
}

int CListView::GetNextItem(int start, UINT flags) {
  return static_cast<int>(SendMessageA(window, LVM_GETNEXTITEM, start, MAKELPARAM(flags & 0xFFFF, 0)));
}

int CListView::GetColumnWidth(int column) {
  return static_cast<int>(SendMessageA(window, LVM_GETCOLUMNWIDTH, column, 0));
}

BOOL CListView::DeleteItem(int item) { return static_cast<BOOL>(SendMessageA(window, LVM_DELETEITEM, item, 0)); }

HIMAGELIST CListView::SetImageList(HIMAGELIST imageList, int kind) {
  return reinterpret_cast<HIMAGELIST>(
      SendMessageA(window, LVM_SETIMAGELIST, kind, reinterpret_cast<LPARAM>(imageList)));
}

BOOL CListView::Scroll(int dx, int dy) { return static_cast<BOOL>(SendMessageA(window, LVM_SCROLL, dx, dy)); }

int CListView::GetItemCount() { return static_cast<int>(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0)); }

BOOL CListView::GetItemPosition(int item, POINT* point) {
  return static_cast<BOOL>(SendMessageA(window, LVM_GETITEMPOSITION, item, reinterpret_cast<LPARAM>(point)));
}

BOOL CListView::SetItemPosition(int item, int x, int y) {
  LPARAM position = static_cast<LPARAM>((static_cast<DWORD>(y & 0xFFFF) << 16) | static_cast<DWORD>(x & 0xFFFF));
  return static_cast<BOOL>(SendMessageA(window, LVM_SETITEMPOSITION, item, position));
}

bool CListView::Select(int item) {
  LVITEMA state = {};
  state.state = LVIS_SELECTED;
  state.stateMask = LVIS_SELECTED;
  SendMessageA(window, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
  return true;
}

bool CListView::Deselect(int item) {
  LVITEMA state = {};
  state.state = 0;
  state.stateMask = LVIS_SELECTED;
  SendMessageA(window, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
  return true;
}
