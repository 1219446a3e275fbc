// The state that the commands and the automatic behaviours share: the
// desktop they work on, the options, the host (message boxes, file dialogs,
// timers, the report queue, the desktop's size), the snapshot store, and
// whether layout work is under way.  The program has one, built with the main
// window's statics (main_window_win.cpp) and used by the command line too;
// tests build their own around an in-memory desktop and a host of their own.
// The display change and the periodic look keep their own state beside it.
#pragma once

#include "app/app_host.h"
#include "app/icon_lock.h"
#include "app/layout_work.h"
#include "app/settings.h"
#include "app/snapshot_store.h"
#include "engine/desktop_icon_view.h"

struct AppState {
  AppState(DesktopIconView& view, AppSettings& settings, AppHost& host)
      : view(view), settings(settings), host(host) {}

  DesktopIconView& view;
  AppSettings& settings;
  AppHost& host;
  SnapshotStore snapshots;
  IconLock lock;

  // Above 0 while layout work is under way (layout_work.h).
  int layoutWork = 0;

  // What a snapshot reads the desktop with.
  DesktopAccess Desktop() { return {view, host, layoutWork}; }
};
