// Automatic restore and automatic save: the start-up actions, the reaction to
// the hook's reports, the snapshot store and the display-change handler.
#pragma once

#include <map>
#include <string>

#include "engine/icon_layout.h"

struct AppState;

struct SnapshotState {
  // One layout per "default" file path (the key), compared byte by byte.  An
  // entry is made by the first snapshot under its key and replaced by each
  // later one; entries stay until the program ends.
  std::map<std::string, IconLayout> snapshotStore;
  // The key of the latest snapshot; empty at start and after a display change
  // has written it.
  std::string snapshotKey;
  // The latest capture under snapshotKey failed: its entry holds nothing
  // worth writing, and a display change leaves that file alone.
  bool snapshotFailed = false;
  // A snapshot failure message is open; further failures show no second one.
  bool failureMessageOpen = false;
};

// The last step of start-up: restore the current resolution's layout when
// startAutoRestore is on, then take the first snapshot when
// resolutionAutoCapture is on.
void OnStartupActions(AppState& app);

// A report that passed IsLayoutReport.  With resolutionAutoCapture on and no
// capture or restore running, removes the reports already waiting and takes
// one snapshot for all of them: a restore's moves come as a burst of reports
// and only the last snapshot of it could ever be read.
void OnHookNotification(AppState& app);

// Captures the desktop into the store under the current resolution's
// "default" path and makes that the snapshot key.  Shows the capture-failure
// message when the capture fails (unless one is already open).  Without an
// application-data folder there is no key and nothing is done.  Returns 0.
int TakeSnapshot(AppState& app);

// WM_DISPLAYCHANGE: writes the snapshot to the file of the resolution it was
// taken at (unless its capture failed), restores the new resolution's layout
// when resolutionAutoRestore is on, and takes a snapshot under the new
// resolution when resolutionAutoCapture is on.  Returns 0.
int OnDisplayChange(AppState& app);

// Makes `layout` the snapshot under `key`, as if a snapshot had just captured
// it (the Save command uses this for the file it has written).
void ReplaceSnapshot(AppState& app, const std::string& key, const IconLayout& layout);
