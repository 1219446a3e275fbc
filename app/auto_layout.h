// Automatic restore and automatic save: the start-up actions, the reaction to
// the hook's reports, the snapshot store and the periodic look at the
// desktop.  What happens at a display change is in display_change.h.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "engine/icon_layout.h"

struct AppState;

// The main window's timer of the periodic look at the desktop.
inline constexpr unsigned kLookTimer = 2;
// The look runs this often at least; a look that takes long (many icons, a
// slow shell) is spaced further apart, kLookCostRatio times its own duration.
inline constexpr unsigned kLookIntervalMs = 2000;
inline constexpr unsigned kLookCostRatio = 50;
// A look reads the icons' places alone, and their names too only every so
// many looks (or when a place has changed): names change seldom, and reading
// them costs twice what the places cost.
inline constexpr unsigned kLookNamesEvery = 5;

struct SnapshotState {
  // One layout per "default" file path (the key), compared byte by byte.  An
  // entry is made by the first snapshot under its key and replaced by each
  // later one, only once its capture has finished; entries stay until the
  // program ends.
  std::map<std::string, IconLayout> snapshotStore;
  // The key of the latest snapshot; empty at start and after a display change
  // has taken it.
  std::string snapshotKey;
  // The latest capture under snapshotKey failed: a display change writes
  // nothing for it.
  bool snapshotFailed = false;
  // A snapshot failure message is open; further failures show no second one.
  bool failureMessageOpen = false;
  // The resolution tag the program last saw in force: set at start-up and
  // when a display change has settled.  A snapshot is taken only while the
  // screen still has this resolution; when it has another, a change is under
  // way and its WM_DISPLAYCHANGE is on the way.
  std::string seenTag;
  // The period of the look timer while it runs, else 0.
  unsigned lookIntervalMs = 0;
  // Looks since the last that read the names.
  unsigned looksWithoutNames = 0;
  // What a look has taken lately, in milliseconds (a running mean).
  std::uint64_t lookCostMs = 0;
};

// The last step of start-up: remembers the resolution, restores its layout
// when startAutoRestore is on, then takes the first snapshot and starts the
// periodic look when resolutionAutoCapture is on.
void OnStartupActions(AppState& app);

// A report that passed IsLayoutReport.  With resolutionAutoCapture on and no
// capture, restore or display change running, removes the reports already
// waiting and takes one snapshot for all of them: a restore's moves come as a
// burst of reports and only the last snapshot of it could ever be read.
void OnHookNotification(AppState& app);

// Captures the desktop and, once the capture has finished, makes it the
// store's entry under the current resolution's "default" path and that path
// the snapshot key.  Shows the capture-failure message when the capture fails
// (unless one is already open).  Takes nothing while a display change is
// under way or the screen's resolution is not the one last seen, and drops a
// capture during which the display changed.  Without an application-data
// folder there is no key and nothing is done.  Returns 0.
int TakeSnapshot(AppState& app);

// Makes `layout` the snapshot under `key`, as if a snapshot had just captured
// it (the Save command uses this for the file it has written).
void ReplaceSnapshot(AppState& app, const std::string& key, const IconLayout& layout);

// After the Settings dialog ended with OK: with resolutionAutoCapture on, a
// snapshot at once and the periodic look; with it off, no look.
void OnSettingsApplied(AppState& app);

// The shell places icons on its own thread (a drag and drop) without the hook
// hearing of it.  While resolutionAutoCapture is on, the desktop is looked at
// every kLookIntervalMs or so, when no layout work or display change runs, and
// the snapshot is refreshed from the look when an icon's name or position
// differs (names are read every kLookNamesEvery looks).  A look that fails is
// silent.
void OnLookTimer(AppState& app);

// WM_TIMER of the main window: the display change's timer or the look's.
void OnLayoutTimer(AppState& app, unsigned id);
