// The watch on the folders the desktop shows: the user's Desktop folder and
// the public one.  Each is a change notification (file and folder names
// only: a document saved in place moves no icon) that the message loop
// waits on beside the window messages (main.cpp); a folder that cannot be
// watched is left out.
#pragma once

#include <windows.h>

class DesktopFolderWatch {
 public:
  ~DesktopFolderWatch() { Stop(); }

  void Start();
  void Stop();
  /// The handles to wait on, Count() of them.
  const HANDLE* Handles() const { return handles_; }
  DWORD Count() const { return count_; }
  /// Handle `index` was signalled: it waits for the next change.
  void Rearm(DWORD index);

 private:
  HANDLE handles_[2] = {};
  DWORD count_ = 0;
};
