// The state that the commands and the automatic behaviours share: the
// desktop they work on, the options, the host (message boxes, file dialogs,
// timers, the report queue, the desktop's size), the snapshot store and the
// display change being followed.  The program has one, built with the main
// window's statics (main_window_win.cpp) and used by the command line too;
// tests build their own around an in-memory desktop and a host of their own.
#pragma once

#include "app/app_host.h"
#include "app/auto_layout.h"
#include "app/display_change.h"
#include "app/settings.h"
#include "engine/desktop_icon_view.h"

struct AppState {
  AppState(DesktopIconView& view, AppSettings& settings, AppHost& host)
      : view(view), settings(settings), host(host) {}

  DesktopIconView& view;
  AppSettings& settings;
  AppHost& host;
  SnapshotState snapshots;
  DisplayChangeState display;

  // Above 0 while the program reads or moves the desktop for a command, a
  // snapshot or a display change.  The desktop's answers are awaited with
  // sent messages, during which a WM_DISPLAYCHANGE can be delivered; the
  // display change then only takes note (display_change.h), and its timer,
  // like the periodic look (auto_layout.h), waits until this is 0 again.  A
  // command from another Tessaly.exe is told to ask again meanwhile
  // (command_line_win.h).
  int layoutWork = 0;
};

// Counts one piece of layout work for as long as it lives.
class LayoutWork {
 public:
  explicit LayoutWork(AppState& app) : app_(app) { ++app_.layoutWork; }
  ~LayoutWork() { --app_.layoutWork; }
  LayoutWork(const LayoutWork&) = delete;
  LayoutWork& operator=(const LayoutWork&) = delete;

 private:
  AppState& app_;
};
