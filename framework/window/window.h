// The framework's top-level window: class registration, creation, and the
// creation thunk that hands a new window over to its owner's procedure.
#pragma once

#include <windows.h>

#include "framework/window/window_handle.h"

namespace flib {

// Creates one window of a class of its own and binds it to its object.  All
// creations, in every process of the logon session that uses the framework,
// are serialised by the named creation lock "flib::CWindow".  The object does
// not own the window: its owner calls DestroyWindow before destroying it.
class CWindow : public CWindowHandle {
 public:
  CWindow() = default;
  explicit CWindow(HWND window) : CWindowHandle(window) {}

  // Registers the class that `classDescription` describes (filled completely,
  // lpfnWndProc the caller's own window procedure) and creates the window.
  // lpfnWndProc is replaced in the caller's structure by the creation thunk,
  // which remains the class's procedure.  The caller's procedure receives every
  // message from the first on; its WM_CREATE carries this object as lParam,
  // its window field already set.  From WM_CREATE on the window runs on the
  // caller's procedure directly.  A class can be created this way once per
  // process: registering it again fails.  Returns the window, or null when
  // the class could not be registered or the window not created.  The
  // caller's procedure must not call Create while it handles the messages up
  // to WM_CREATE: the creation lock is not re-entrant.
  HWND Create(DWORD exStyle, const char* windowName, DWORD style, int x, int y, int width, int height, HWND parent,
              HMENU menu, LONG_PTR userValue, WNDCLASSEXA* classDescription);

  // The value given to Create; never interpreted by the framework.
  LONG_PTR GetUserValue() const { return userValue_; }

 private:
  static LRESULT CALLBACK CreationThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  WNDPROC windowProc_ = nullptr;  // the caller's own procedure
  LONG_PTR userValue_ = 0;
  // Set by the thunk when it has given the creation lock back, so that Create
  // gives it back only when the thunk did not.
  bool lockReleased_ = false;
};

}  // namespace flib
