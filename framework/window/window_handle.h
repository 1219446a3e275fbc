// The common base of every window object of the framework, and the base of
// the control wrappers.
#pragma once

#include <windows.h>

// A window handle with the parent, module instance and font that belong to
// it.  The wrapper never owns the window: destroying it leaves the window in
// place, and the owner of the window calls DestroyWindow itself.  It does own
// `font`, which the font helper creates for this window; the destructor
// deletes it.  Copying would delete that font twice, so a wrapper can only be
// moved.
class CWindowHandle {
 public:
  CWindowHandle() = default;
  explicit CWindowHandle(HWND window) : window(window) {}
  CWindowHandle(CWindowHandle&& other) noexcept;
  CWindowHandle& operator=(CWindowHandle&& other) noexcept;
  CWindowHandle(const CWindowHandle&) = delete;
  CWindowHandle& operator=(const CWindowHandle&) = delete;
  ~CWindowHandle();

  // Binds the wrapper to an existing window (of any process) and its parent
  // or owner; returns the window's module instance, which is also stored.
  // Binding again replaces the stored handles.
  HINSTANCE Attach(HWND parent, HWND window);

  HWND window = nullptr;        // null until created or attached
  HWND parent = nullptr;        // parent or owner; may be null
  HINSTANCE instance = nullptr;  // module instance of the window
  HFONT font = nullptr;         // owned; deleted with the wrapper
};

// The base of the control wrappers: a window handle and the control's id in
// its dialog.
class CControl : public CWindowHandle {
 public:
  CControl() = default;

  // Binds the wrapper to the dialog's control `controlId`.  When the dialog
  // has no such control, `window` is null and the operations have no effect.
  // Returns the control's module instance, which is also stored.
  HINSTANCE AttachDlgItem(HWND dialog, int controlId);

  int controlId = 0;
};
