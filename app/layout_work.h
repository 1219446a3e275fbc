// The one sign that the program reads or moves the desktop: a count above 0
// while a command, a snapshot, a look or a display change does.  The
// desktop's answers are awaited while messages sent to the program are
// handled, a WM_DISPLAYCHANGE among them; the display change then only takes
// note (display_change.h), and its timer, like the periodic look and the
// hook's reports, waits until the count is 0 again.  A command from another
// Tessaly.exe is told to ask again meanwhile (command_line_win.h).
#pragma once

// Counts one piece of layout work in `count` for as long as it lives.
class LayoutWork {
 public:
  explicit LayoutWork(int& count) : count_(count) { ++count_; }
  ~LayoutWork() { --count_; }
  LayoutWork(const LayoutWork&) = delete;
  LayoutWork& operator=(const LayoutWork&) = delete;

 private:
  int& count_;
};
