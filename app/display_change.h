// A change of display resolution, followed to its end.  When WM_DISPLAYCHANGE
// arrives, the snapshot of the old resolution is fixed at once; from then on
// the main window's timer drives the rest, whatever else arrives meanwhile:
//
//  1. the old resolution's snapshot is written to that resolution's file;
//  2. the shell lays the desktop out for the new size: we wait until its view
//     has the new size and the icons have stood still for a quiet time (or
//     until a bound has passed);
//  3. the new resolution's layout is restored (resolutionAutoRestore), and
//     restored again while the shell keeps moving restored icons (a few
//     tries at most);
//  4. a snapshot of the new resolution is taken (resolutionAutoCapture).
//
// Further changes on the way start step 2 again; the old snapshot is written
// once and the restore is for the resolution in force at the end.  No
// snapshot is taken from the change until step 4.
#pragma once

#include <cstdint>
#include <string>

#include "engine/icon_layout.h"

struct AppState;

// The main window's timer that drives a display change.
inline constexpr unsigned kDisplayChangeTimer = 1;
// How often the desktop is looked at while the shell lays it out.
inline constexpr unsigned kDisplayChangeTickMs = 250;
// The icons have stood still this long: the shell is done.
inline constexpr std::uint64_t kQuietMs = 750;
// Restore anyway when the shell has not come to rest this long after the
// change (or after a restore).
inline constexpr std::uint64_t kSettleBoundMs = 6000;
// Restores of one change, the first included.
inline constexpr int kMaxRestores = 3;

struct DisplayChangeState {
  bool underWay = false;
  // WM_DISPLAYCHANGE messages so far.  Layout work that began before one
  // arrived drops its result when it ends.
  unsigned changes = 0;

  // The old resolution's snapshot, fixed when the change arrived, until it
  // has been written.
  bool writePending = false;
  std::string writePath;
  IconLayout writeLayout;

  // Waiting for the desktop to come to rest, since the latest change or the
  // latest restore.
  std::uint64_t waitingSince = 0;
  std::uint64_t movedAt = 0;  // the latest look that found the desktop moving
  bool looked = false;
  IconLayout lastLook;

  // The new resolution's layout once it has been restored.
  bool restored = false;
  int restores = 0;
  IconLayout stored;
};

// WM_DISPLAYCHANGE.  Returns at once (also inside a capture or a restore,
// which awaits the shell with sent messages): fixes the old snapshot, and
// starts or restarts the sequence when an automatic option is on.  With both
// options off only the resolution seen is updated.  Returns 0.
int OnDisplayChange(AppState& app);

// kDisplayChangeTimer: one step of the sequence.  Does nothing while other
// layout work runs (it waits for the next tick).
void OnDisplayChangeTimer(AppState& app);

bool IsDisplayChangeUnderWay(const AppState& app);

// At exit: writes the old resolution's snapshot if a change has fixed it and
// it is not written yet.
void WritePendingSnapshot(AppState& app);
