// The state that the commands and the automatic behaviours share: the
// desktop they work on, the options, the host (message boxes, file dialogs,
// the report queue) and the snapshot store.  The program has one, built in
// its entry point; tests build their own around an in-memory desktop.
#pragma once

#include "app/app_host.h"
#include "app/auto_layout.h"
#include "app/settings.h"
#include "engine/desktop_icon_view.h"

struct AppState {
  AppState(DesktopIconView& view, AppSettings& settings, AppHost& host)
      : view(view), settings(settings), host(host) {}

  DesktopIconView& view;
  AppSettings& settings;
  AppHost& host;
  SnapshotState snapshots;

  // Above 0 while the program reads or moves the desktop for a command, a
  // snapshot or a display change.  The desktop's answers are awaited with
  // sent messages, during which a WM_DISPLAYCHANGE can be delivered; the
  // main window puts that off while this is set (see main_window.h).
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
