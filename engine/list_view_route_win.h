// The desktop through messages to the shell's desktop list view (Windows
// only): the texts and positions are read through three small blocks of
// memory placed in the shell's process, the icons moved with
// LVM_SETITEMPOSITION.  Every message waits at most kShellAnswerMs.  Since
// Windows 10 1809 the shell forgets positions set this way at its next
// refresh; it is the way in where the shell's interface does not answer.
#pragma once

#include "engine/shell_route_win.h"

class ListViewRoute final : public ShellRoute {
 public:
  ~ListViewRoute() override { Close(); }

  bool Open(HWND listView) override;
  int GetItemCount() override;
  bool ReadItemText(int index, IconEntry& entry) override;
  bool ReadItemPosition(int index, int& x, int& y) override;
  void SetItemPosition(int index, int x, int y) override;
  void FlushMoves() override {}
  void Close() override;
  bool Stalled() const override { return stalled_; }
  /// The list view's style alone cannot tell: Wine's shell view has the
  /// arranging style and keeps the places it is given.
  Arranging HowItArranges() const override { return arranging_; }

 private:
  // Sends `message` to the view; false (and stalled) when the view does not
  // answer in time.
  bool Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  void* Allocate(SIZE_T size);

  HWND view_ = nullptr;  // the shell's window; the route does not own it
  HANDLE process_ = nullptr;
  bool stalled_ = false;
  bool asked_ = false;  // a request of this connection went out
  Arranging arranging_ = Arranging::kKeepsPlaces;
  void* positionBlock_ = nullptr;  // addresses in the shell's process
  void* textBlock_ = nullptr;
  void* itemBlock_ = nullptr;
};
