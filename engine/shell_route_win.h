// The two ways into the shell's desktop icon view (Windows only), between
// which the desktop of desktop_icon_view_win.cpp chooses at every Open: the
// shell's own interface (folder_view_route_win.h) and messages to the
// desktop's list view across processes (list_view_route_win.h).
#pragma once

#include <windows.h>

#include "engine/desktop_icon_view.h"
#include "engine/icon_layout.h"

// How long the program waits for the shell's answer to one request before it
// takes the shell for hung: a shell at work answers in milliseconds.
inline constexpr DWORD kShellAnswerMs = 5000;

class ShellRoute {
 public:
  virtual ~ShellRoute() = default;

  /// Opens a connection to the desktop icon view `listView` (the shell's
  /// "SysListView32"); false when this way cannot serve it.
  virtual bool Open(HWND listView) = 0;
  /// The operations of DesktopIconView, on the open connection.
  virtual int GetItemCount() = 0;
  virtual bool ReadItemText(int index, IconEntry& entry) = 0;
  virtual bool ReadItemPosition(int index, int& x, int& y) = 0;
  virtual void SetItemPosition(int index, int x, int y) = 0;
  virtual void FlushMoves() = 0;
  virtual void Close() = 0;
  /// True once the shell has not answered a request of the latest
  /// connection within kShellAnswerMs (or the request failed outright); it
  /// stays so after Close, until the next Open.
  virtual bool Stalled() const = 0;
  /// How the view of the latest connection arranges its icons, as it told
  /// at Open; kept after Close.
  virtual Arranging HowItArranges() const = 0;
};
