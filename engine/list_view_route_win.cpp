#include "engine/list_view_route_win.h"

#include <commctrl.h>

#include <cstddef>
#include <cwchar>
#include <string_view>

#include "engine/icon_names_win.h"

namespace {

// Enough to place, fill, read and free the blocks, nothing more.
constexpr DWORD kShellAccess = PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE;

// The text block holds a text of at most 2046 characters and its terminator;
// the view is told 2047 so that it always has room for the NUL.
constexpr int kTextMax = kLongestShownText + 1;
constexpr SIZE_T kTextBlockSize = (kTextMax + 1) * sizeof(wchar_t);

// The shell is a 64-bit process: its LVITEMW is the record that ends with
// iGroupId, cColumns and puColumns, 72 bytes.  Later members of this build's
// LVITEMW are not sent.
constexpr SIZE_T kItemBlockSize = offsetof(LVITEMW, puColumns) + sizeof(void*);
static_assert(kItemBlockSize == 72, "the shell's LVITEMW is 72 bytes");

}  // namespace

bool ListViewRoute::Open(HWND listView) {
  Close();
  stalled_ = false;
  asked_ = false;
  DWORD processId = 0;
  if (!listView || !GetWindowThreadProcessId(listView, &processId)) return false;
  process_ = OpenProcess(kShellAccess, FALSE, processId);
  if (!process_) return false;
  view_ = listView;
  arranging_ = (GetWindowLongPtrW(listView, GWL_STYLE) & LVS_AUTOARRANGE) ? Arranging::kMayArrange
                                                                          : Arranging::kKeepsPlaces;
  // Data only: the blocks are never executed, so they are not executable.
  // A block that cannot be placed makes every transfer through it fail, and
  // the items concerned are skipped.
  positionBlock_ = Allocate(sizeof(POINT));
  textBlock_ = Allocate(kTextBlockSize);
  itemBlock_ = Allocate(kItemBlockSize);
  return true;
}

bool ListViewRoute::Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (stalled_) return false;
  // The first request of a connection fails at once when the shell already
  // stopped answering (SMTO_ABORTIFHUNG); the others need not ask, which
  // costs a call to the system each (under Wine half again the time of a
  // restore), as a request that times out ends the connection.  Messages sent
  // to this thread meanwhile are handled, as during SendMessage.
  const UINT flags = asked_ ? SMTO_NORMAL : SMTO_NORMAL | SMTO_ABORTIFHUNG;
  asked_ = true;
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(view_, message, wParam, lParam, flags, kShellAnswerMs, &answer)) {
    stalled_ = true;
    return false;
  }
  if (result) *result = static_cast<LRESULT>(answer);
  return true;
}

int ListViewRoute::GetItemCount() {
  LRESULT count = 0;
  return Send(LVM_GETITEMCOUNT, 0, 0, &count) ? static_cast<int>(count) : 0;
}

bool ListViewRoute::ReadItemText(int index, IconEntry& entry) {
  if (!itemBlock_ || !textBlock_) return false;
  LVITEMW image = {};
  image.pszText = static_cast<wchar_t*>(textBlock_);
  image.cchTextMax = kTextMax;
  if (WriteProcessMemory(process_, itemBlock_, &image, kItemBlockSize, nullptr) != 1) return false;
  // An item the view no longer has is not answered: nothing is written, and
  // the block would still hold the previous item's text.  Emptied first, it
  // then reads as no name, and the position read that follows leaves the
  // item out.
  const wchar_t empty = L'\0';
  if (WriteProcessMemory(process_, textBlock_, &empty, sizeof empty, nullptr) != 1) return false;
  // The answer is no length to cut the text at (a view may answer 0); it
  // only tells a refused request (negative) from an answered one.
  LRESULT answer = 0;
  if (!Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(static_cast<LONG_PTR>(index)), reinterpret_cast<LPARAM>(itemBlock_),
            &answer) ||
      answer < 0) {
    return false;
  }
  wchar_t text[kTextMax + 1];
  if (ReadProcessMemory(process_, textBlock_, text, sizeof text, nullptr) != 1) return false;
  // Up to the first NUL, never more than 2046 characters, whatever a
  // misbehaving view writes.
  SetShownName(std::wstring_view(text, wcsnlen(text, kLongestShownText)), entry);
  entry.parsingName.clear();
  return true;
}

bool ListViewRoute::ReadItemPosition(int index, int& x, int& y) {
  if (!positionBlock_) return false;
  // The view answers FALSE for an item it does not have; the block then
  // still holds the previous item's place.
  LRESULT answered = 0;
  if (!Send(LVM_GETITEMPOSITION, static_cast<WPARAM>(static_cast<LONG_PTR>(index)),
            reinterpret_cast<LPARAM>(positionBlock_), &answered) ||
      !answered) {
    return false;
  }
  POINT point = {};
  if (ReadProcessMemory(process_, positionBlock_, &point, sizeof point, nullptr) != 1) return false;
  x = point.x;
  y = point.y;
  return true;
}

void ListViewRoute::SetItemPosition(int index, int x, int y) {
  // The place travels in lParam, each coordinate as its low 16 bits: no
  // shell memory is needed.
  const LPARAM place = static_cast<LPARAM>((static_cast<DWORD>(y) & 0xFFFF) << 16 | (static_cast<DWORD>(x) & 0xFFFF));
  Send(LVM_SETITEMPOSITION, static_cast<WPARAM>(static_cast<LONG_PTR>(index)), place, nullptr);
}

void ListViewRoute::Close() {
  for (void** block : {&positionBlock_, &textBlock_, &itemBlock_}) {
    if (*block) VirtualFreeEx(process_, *block, 0, MEM_RELEASE);
    *block = nullptr;
  }
  if (process_) CloseHandle(process_);
  process_ = nullptr;
  view_ = nullptr;
}

void* ListViewRoute::Allocate(SIZE_T size) {
  return VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}
