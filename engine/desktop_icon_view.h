// The engine's access to the desktop icons.  Capture and restore are written
// against DesktopIconView alone.  The Windows build reaches the shell's
// desktop through the shell's own interface where the shell offers it for
// its desktop view, else through messages to the desktop's list view across
// processes (desktop_icon_view_win.cpp); MemoryDesktopView
// (tests/support/memory_desktop_view.h) stands in for it in tests.
#pragma once

#include "engine/icon_layout.h"

// Whether a desktop keeps the places its icons are given.
enum class Arranging {
  kKeepsPlaces,  // as far as the desktop tells
  kArranges,     // it arranges its icons itself (Auto arrange on): every move is undone
  kMayArrange,   // it may: a list view of the arranging style (Wine's shell view has it and keeps places)
};

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
  /// view is known or it cannot be reached (nothing is then held).
  virtual bool Open() = 0;
  /// The number of items, asked of the open connection.
  virtual int GetItemCount() = 0;
  /// Reads the names of item `index` into `entry`: name (at most 2046
  /// bytes), unicodeName and parsingName (empty where the view gives none);
  /// false when the view does not answer for that item.
  virtual bool ReadItemText(int index, IconEntry& entry) = 0;
  /// Reads the position of item `index`; false when the view does not answer.
  virtual bool ReadItemPosition(int index, int& x, int& y) = 0;
  /// Moves item `index` of the open connection to (x, y), at once or held
  /// back until FlushMoves; held moves go out in the order they were made.
  /// Whether the view carried a move out is not reported.
  virtual void SetItemPosition(int index, int x, int y) = 0;
  /// Sends the moves held back.  Close does not send them.
  virtual void FlushMoves() = 0;
  /// Releases what Open acquired.  Safe to call when Open failed.
  virtual void Close() = 0;
  /// False once the view of the latest lookup is gone (its shell ended), and
  /// while the connection's shell has not answered within its time limit.
  virtual bool IsViewPresent() = 0;
  /// How the view of the latest connection arranges its icons, as it told
  /// when opened (kept after Close); a view that does not tell keeps places.
  virtual Arranging HowItArranges() { return Arranging::kKeepsPlaces; }
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
