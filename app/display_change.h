// A change of the display setup (a resolution; a monitor attached, detached,
// moved or rescaled, also where the whole desktop keeps its size), followed
// to its end: each setup has its layout file (default_layout.h), and the
// "resolution" below is the setup.  WM_DISPLAYCHANGE only takes note; the
// main window's timer then carries the change out, step by step, whatever
// else arrives meanwhile:
//
//  1. at once: the snapshot store is frozen, and the old resolution's
//     snapshot (resolutionAutoCapture) is owed to that resolution's file;
//     with the lock on (icon_lock.h) nothing is owed: its file holds the
//     held layout;
//  2. kSettling: the owed snapshot is written, and the shell lays the
//     desktop out for the new size: we wait until its view has the new size
//     and the icons have stood still for a quiet time (or a bound passed);
//  3. the new resolution's layout is restored (resolutionAutoRestore, or the
//     lock, which keeps an undo only where resolutionAutoRestore would);
//     kRestored: while the shell moves restored icons again, we wait for rest
//     and restore again (a few restores at most);
//  4. the lock holds what was restored; the store thaws, and a snapshot of
//     the new resolution is taken (resolutionAutoCapture); the change is
//     over (kIdle).
//
// A further change on the way goes back to kSettling: the old snapshot is
// written once, and the restore is for the resolution in force at the end.
//
// Two other events disturb the desktop without a change of setup, and are
// followed the same way, from step 2 (nothing is owed to a file):
//
//  - the shell has started again ("TaskbarCreated"): its new desktop shows the
//    places it last stored for itself, which may be older than the user's,
//    or none; once it has settled, the setup's latest snapshot, or without
//    one its "default" file, is put back (resolutionAutoRestore; with the
//    lock on, the held layout), and until
//    then the snapshot from before is not replaced by the new arrangement;
//  - the desktop is back from sleep, or its session has connected or been
//    unlocked: with another setup than the one last seen, this is a display
//    change; with the same one, the shell may still have moved icons
//    meanwhile (a monitor that slept went away for a while), and the
//    setup's snapshot is put back (both automatic options on; with the lock
//    on, the held layout).
#pragma once

#include <cstdint>
#include <optional>

#include "app/snapshot_store.h"
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
// A new shell may take a while to show its icons: the bound of its wait (and
// of the wait after a return), during which an empty desktop is not at rest.
inline constexpr std::uint64_t kShellSettleBoundMs = 30000;
// Restores of one change, the first included.
inline constexpr int kMaxRestores = 3;

class DisplayChange {
 public:
  enum class Step {
    kIdle,      // no change under way
    kSettling,  // waiting for the shell to lay out the new size, then restore
    kRestored,  // restored; waiting to see whether the shell moves icons again
  };

  /// WM_DISPLAYCHANGE.  Returns at once (also inside a capture or a restore,
  /// which awaits the shell while sent messages are handled): takes the old
  /// snapshot and starts, or starts again, when an automatic option is on.
  /// With both options off only the resolution seen is updated.
  void OnDisplayChange(AppState& app);
  /// "TaskbarCreated", once the hook is on the new desktop.  False when
  /// neither automatic option is on: nothing follows.
  bool OnShellRestarted(AppState& app);
  /// Resume from sleep, a session connected or unlocked.  False when nothing
  /// follows; the caller then looks at the desktop as after any sign.
  bool OnReturn(AppState& app);
  /// WM_SETTINGCHANGE, WM_DPICHANGED: a change of a monitor's scale is
  /// followed as a change of resolution (the scales are part of the layout
  /// file's name); any other change of settings is not.
  void OnScaleMayHaveChanged(AppState& app);
  /// kDisplayChangeTimer: one step.  Does nothing while other layout work
  /// runs (it waits for the next tick).
  void OnTimer(AppState& app);
  /// At exit: writes the old resolution's snapshot if it is still owed.
  void WriteOwedSnapshot();

  // What the desktop is followed after.
  enum class Cause { kDisplay, kShellRestart, kReturn };

  Step CurrentStep() const { return step_; }
  bool UnderWay() const { return step_ != Step::kIdle; }

 private:
  // Watching the desktop until it rests (kSettling, kRestored).
  struct RestWatch {
    std::uint64_t since = 0;    // the change, or the latest restore
    std::uint64_t movedAt = 0;  // the latest look that found the desktop moving
    bool looked = false;
    IconLayout lastLook;
  };

  void Begin(AppState& app, Cause cause);
  void Watch(AppState& app);
  bool LoadLayoutToRestore(AppState& app);
  bool DesktopAtRest(AppState& app);
  int Restore(AppState& app);
  void Finish(AppState& app);

  Step step_ = Step::kIdle;
  Cause cause_ = Cause::kDisplay;
  // WM_DISPLAYCHANGE messages so far: a step during which one arrived drops
  // its result.
  unsigned changes_ = 0;
  // The old resolution's snapshot, from step 1 until it is written.
  std::optional<Snapshot> owed_;
  RestWatch watch_;           // kSettling, kRestored
  IconLayout restoredLayout_; // kRestored: the layout restored, for restoring again
  int restores_ = 0;          // kRestored: restores so far
  bool shellArranges_ = false;  // a restore found that the shell arranges the icons itself
};
