// The shell's desktop: the desktop icon view is looked up as a window, and
// every connection goes through the shell's interface where the shell
// answers for that view, else through messages to the list view.
#include <windows.h>

#include "engine/desktop_icon_view.h"
#include "engine/folder_view_route_win.h"
#include "engine/list_view_route_win.h"
#include "engine/shell_view_window.h"

namespace {

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
    route_ = nullptr;
    HWND window = static_cast<HWND>(FindDesktopListView());
    if (!window) return false;
    // The way is chosen anew for every connection: the shell's interface may
    // come up after its desktop window (at log-on), and may go away.
    if (folderView_.Open(window)) {
      route_ = &folderView_;
    } else if (listView_.Open(window)) {
      route_ = &listView_;
    } else {
      return false;
    }
    open_ = true;
    return true;
  }

  int GetItemCount() override { return open_ ? route_->GetItemCount() : 0; }
  bool ReadItemText(int index, IconEntry& entry) override { return open_ && route_->ReadItemText(index, entry); }
  bool ReadItemPosition(int index, int& x, int& y) override {
    return open_ && route_->ReadItemPosition(index, x, y);
  }
  void SetItemPosition(int index, int x, int y) override {
    if (open_) route_->SetItemPosition(index, x, y);
  }
  void FlushMoves() override {
    if (open_) route_->FlushMoves();
  }
  void Close() override {
    if (open_) route_->Close();
    open_ = false;
  }

  bool IsViewPresent() override {
    return remembered_ && IsWindow(remembered_) && !(route_ && route_->Stalled());
  }

  Arranging HowItArranges() override { return route_ ? route_->HowItArranges() : Arranging::kKeepsPlaces; }

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
  HWND remembered_ = nullptr;  // written by every successful lookup, never cleared
  FolderViewRoute folderView_;
  ListViewRoute listView_;
  ShellRoute* route_ = nullptr;  // the way of the latest connection, kept after it closed
  bool open_ = false;
};

}  // namespace

DesktopIconView& GetDesktopIconView() {
  static ShellDesktopView view;
  return view;
}
