// The engine's access to the desktop icons.  Capture and restore are written
// against DesktopIconView alone; the Windows build reads the shell's desktop
// list view across processes, and MemoryDesktopView
// (tests/support/memory_desktop_view.h) stands in for it in tests.
#pragma once

#include <string>

// A window handle of the desktop icon view (an HWND in the Windows build),
// held as an opaque pointer so that this header stays portable.
using DesktopViewHandle = void*;

class DesktopIconView {
 public:
  virtual ~DesktopIconView() = default;

  /// Looks the desktop icon view up and remembers it; when the lookup fails,
  /// returns the view found last (null when none was ever found).
  virtual DesktopViewHandle FindDesktopListView() = 0;
  /// Opens a connection to the view found by a fresh lookup; false when no
  /// view is known or its process cannot be opened (nothing is then held).
  virtual bool Open() = 0;
  /// The number of items, asked of the open connection.
  virtual int GetItemCount() = 0;
  /// Reads the text of item `index` into `name` (at most 2046 bytes); false
  /// when the view does not answer for that item.
  virtual bool ReadItemText(int index, std::string& name) = 0;
  /// Reads the position of item `index`; false when the view does not answer.
  virtual bool ReadItemPosition(int index, int& x, int& y) = 0;
  /// Moves item `index` of the view found by the latest lookup to (x, y).
  /// Each coordinate travels as its low 16 bits.  Needs no open connection;
  /// whether the view carried the move out is not reported.
  virtual void SetItemPosition(int index, int x, int y) = 0;
  /// Releases what Open acquired.  Safe to call when Open failed.
  virtual void Close() = 0;
  /// False once the view of the latest lookup is gone (its shell ended).
  virtual bool IsViewPresent() = 0;
  /// The size of the view window found by the latest lookup, in pixels;
  /// false when no view is known.  The shell sizes its view to the
  /// desktop, so after a display change this tells whether it has caught up.
  virtual bool GetViewSize(int& width, int& height) = 0;
};

// The platform's desktop: the shell's desktop icon view in the Windows build;
// a desktop that is never found in the portable build.  Lives for the whole
// process and keeps the remembered view handle.
DesktopIconView& GetDesktopIconView();

// Looks the platform's desktop icon view up and remembers it (the program
// calls this once at start-up to prime the remembered handle).  Returns the
// view, or the one remembered from an earlier lookup, or null.
DesktopViewHandle FindDesktopListView();
