// The desktop through the shell's own interface (Windows only): the shell's
// desktop window reached through IShellWindows::FindWindowSW(SWC_DESKTOP),
// its browser's active view, and that view's IFolderView.  Icons are read
// with GetItemPosition and moved with SelectAndPositionItems, which the
// shell keeps (it forgets positions set by messages to its list view since
// Windows 10 1809); names come from the desktop folder, whole, in UTF-16,
// with each icon's parsing name.  All calls run on the ShellCallThread, each
// awaited at most kShellAnswerMs.
#pragma once

#include <memory>
#include <vector>

#include "engine/shell_route_win.h"

class FolderViewRoute final : public ShellRoute {
 public:
  FolderViewRoute();
  ~FolderViewRoute() override;

  /// Serves `listView` only when the shell answers with a view whose window
  /// is the "SHELLDLL_DefView" that holds it, and that view gives the
  /// desktop's items and their positions.  After the shell did not, the
  /// view is not asked about again for a few seconds.
  bool Open(HWND listView) override;
  int GetItemCount() override { return static_cast<int>(count_); }
  bool ReadItemText(int index, IconEntry& entry) override;
  bool ReadItemPosition(int index, int& x, int& y) override;
  /// Held back until FlushMoves, which sends them in as few calls as it can;
  /// the places are read from the shell again after it.
  void SetItemPosition(int index, int x, int y) override;
  void FlushMoves() override;
  void Close() override;
  bool Stalled() const override { return stalled_; }
  /// IFolderView::GetAutoArrange, asked at Open.
  Arranging HowItArranges() const override { return arranging_; }

  struct Session;  // what only the call thread touches

 private:
  struct Move {
    int index;
    POINT place;
  };

  Session* session_;  // owned by the call thread's work, never freed while it may run
  size_t count_ = 0;
  HWND refusedView_ = nullptr;  // the view the shell last did not serve, and when
  ULONGLONG refusedAt_ = 0;
  bool open_ = false;
  bool stalled_ = false;
  Arranging arranging_ = Arranging::kKeepsPlaces;
  // Read from the shell once per connection (the places again after moves), on first use.
  bool namesRead_ = false;
  std::vector<IconEntry> names_;
  bool placesRead_ = false;
  std::vector<POINT> places_;
  std::vector<bool> placed_;
  std::vector<Move> moves_;
};
