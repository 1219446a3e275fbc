// The shell's desktop icon view: a SysListView32 in the shell's process, read
// through three small blocks of memory placed in that process.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstring>

#include "engine/desktop_icon_view.h"
#include "engine/shell_view_window.h"
#include "framework/window/list_view.h"

namespace {

// PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE: enough to place,
// fill, read and free the blocks, nothing more.
constexpr DWORD kShellAccess = 0x38;

// The text block holds a name of at most 2046 bytes and its terminator; the
// view is told 2047 so that it always has room for the NUL.
constexpr SIZE_T kTextBlockSize = 2048;
constexpr int kTextMax = 2047;
constexpr int kLongestName = kTextMax - 1;

// The shell is a 64-bit process: its LVITEMA is the record that ends with
// iGroupId, cColumns and puColumns, 72 bytes.  Later members of this build's
// LVITEMA are not sent.
constexpr SIZE_T kItemBlockSize = offsetof(LVITEMA, puColumns) + sizeof(void*);
static_assert(kItemBlockSize == 72, "the shell's LVITEMA is 72 bytes");

class ShellDesktopView final : public DesktopIconView {
 public:
  ~ShellDesktopView() override { Close(); }

  DesktopViewHandle FindDesktopListView() override {
    HWND view = static_cast<HWND>(FindShellListView());
    if (view) remembered_ = view;
    return remembered_;
  }

  bool Open() override {
    Close();
    HWND window = static_cast<HWND>(FindDesktopListView());
    if (!window) return false;
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(window, &processId)) return false;
    process_ = OpenProcess(kShellAccess, FALSE, processId);
    if (!process_) return false;
    view_.Attach(nullptr, window);
    // Data only: the blocks are never executed, so they are not executable.
    // A block that cannot be placed makes every transfer through it fail,
    // and the items concerned are skipped.
    positionBlock_ = Allocate(sizeof(POINT));
    textBlock_ = Allocate(kTextBlockSize);
    itemBlock_ = Allocate(kItemBlockSize);
    std::memset(&image_, 0, sizeof image_);
    image_.pszText = static_cast<char*>(textBlock_);
    image_.cchTextMax = kTextMax;
    return true;
  }

  int GetItemCount() override { return view_.GetItemCount(); }

  bool ReadItemText(int index, std::string& name) override {
    if (!itemBlock_ || !textBlock_) return false;
    if (WriteProcessMemory(process_, itemBlock_, &image_, kItemBlockSize, nullptr) != 1) return false;
    // An item the view no longer has is not answered: nothing is written,
    // and the block would still hold the previous item's name.  Emptied
    // first, it then reads as no name, and the position read that follows
    // leaves the item out.
    const char empty = '\0';
    if (WriteProcessMemory(process_, textBlock_, &empty, 1, nullptr) != 1) return false;
    // The answer is no length to cut the name at: a view may count
    // characters, not bytes, and a double-byte name would lose its end.  It
    // only tells a refused request (negative) from an answered one.
    LRESULT answer = SendMessageA(view_.window, LVM_GETITEMTEXTA, static_cast<WPARAM>(static_cast<LONG_PTR>(index)),
                                  reinterpret_cast<LPARAM>(itemBlock_));
    if (answer < 0) return false;
    if (ReadProcessMemory(process_, textBlock_, text_, kTextBlockSize, nullptr) != 1) return false;
    // Up to the first NUL, never more than 2046 bytes, whatever a
    // misbehaving view writes.
    name.assign(text_, strnlen(text_, kLongestName));
    return true;
  }

  bool ReadItemPosition(int index, int& x, int& y) override {
    if (!positionBlock_) return false;
    // The view answers FALSE for an item it does not have; the block then
    // still holds the previous item's place.
    if (!view_.GetItemPosition(index, static_cast<POINT*>(positionBlock_))) return false;
    POINT point = {};
    if (ReadProcessMemory(process_, positionBlock_, &point, sizeof point, nullptr) != 1) return false;
    x = point.x;
    y = point.y;
    return true;
  }

  void SetItemPosition(int index, int x, int y) override {
    // A move needs no shell memory: it goes to the view of the latest lookup.
    CListView target;
    target.Attach(nullptr, remembered_);
    target.SetItemPosition(index, x, y);
  }

  void Close() override {
    for (void** block : {&positionBlock_, &textBlock_, &itemBlock_}) {
      if (*block) VirtualFreeEx(process_, *block, 0, MEM_RELEASE);
      *block = nullptr;
    }
    if (process_) CloseHandle(process_);
    process_ = nullptr;
    view_.window = nullptr;
    view_.parent = nullptr;
    view_.instance = nullptr;
  }

  bool IsViewPresent() override { return remembered_ && IsWindow(remembered_); }

  bool GetViewSize(int& width, int& height) override {
    // The window, not its client area: a view with scroll bars (icons beyond
    // its edge) has a smaller client area but has been sized all the same.
    RECT area = {};
    if (!remembered_ || !GetWindowRect(remembered_, &area)) return false;
    width = area.right - area.left;
    height = area.bottom - area.top;
    return true;
  }

 private:
  void* Allocate(SIZE_T size) {
    return VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }

  HWND remembered_ = nullptr;  // written by every successful lookup, never cleared
  CListView view_;             // bound to the shell's window; does not own it
  HANDLE process_ = nullptr;
  void* positionBlock_ = nullptr;  // addresses in the shell's process
  void* textBlock_ = nullptr;
  void* itemBlock_ = nullptr;
  LVITEMA image_ = {};
  char text_[kTextBlockSize] = {};
};

}  // namespace

DesktopIconView& GetDesktopIconView() {
  static ShellDesktopView view;
  return view;
}
