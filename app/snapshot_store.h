// The snapshots of the automatic save: the latest layout of the desktop,
// kept in memory for each display setup's "default" file, and the setup the
// program last saw in force.  A display change freezes the store: it takes
// the last complete snapshot, for the old resolution's file, and no snapshot
// is taken until the change has run its course.  The store knows nothing of
// the display change or of the periodic look; both use it.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "app/app_host.h"
#include "engine/desktop_icon_view.h"
#include "engine/icon_layout.h"

// The desktop a snapshot reads, the host that names its file and measures the
// resolution, and the count of layout work (layout_work.h) that a capture
// adds to while it runs.
struct DesktopAccess {
  DesktopIconView& view;
  AppHost& host;
  int& layoutWork;
};

enum class SnapshotResult { kTaken, kFailed, kSkipped };

// The snapshot of one "default" file.
struct Snapshot {
  std::string path;  // the file's path: the store's key
  IconLayout layout;
  DisplaySetup setup;  // the monitors it was taken on, written with it
};

class SnapshotStore {
 public:
  /// Captures the desktop and, once the capture has finished, makes it the
  /// entry under the "default" path of the resolution last seen, and that
  /// path the latest.  Takes nothing (kSkipped) while frozen, while the
  /// screen has another resolution than the one last seen (its change is on
  /// the way), or without an application-data folder; drops a capture during
  /// which the store was frozen, and one of a desktop that arranges its icons
  /// itself.  A failed capture marks the latest snapshot
  /// failed, so that no display change writes it, unless `quiet` (the
  /// periodic look), which leaves everything as it was.
  SnapshotResult Take(DesktopAccess desktop, bool quiet);
  /// Take, and the capture-failure message when it failed; a failure while
  /// that message is open shows no second one.
  void TakeAndReport(DesktopAccess desktop);
  /// Makes `snapshot` the one under its path, as if a snapshot had just
  /// captured it (the Save command, for the file it has written).
  void Replace(const Snapshot& snapshot);
  /// True when the latest snapshot is whole, of the resolution in force, and
  /// every icon still stands where it has it.  Reads the places alone.
  bool StillStands(DesktopAccess desktop);

  /// A display change has arrived: no snapshot is taken until Thaw, and a
  /// capture under way drops what it read.
  void Freeze() {
    frozen_ = true;
    ++freezes_;
  }
  /// Gives the latest snapshot, for the old resolution's file, when it is
  /// complete, and forgets which was the latest.
  std::optional<Snapshot> TakeLatest();
  /// The display change has run its course.
  void Thaw() { frozen_ = false; }
  bool Frozen() const { return frozen_; }

  /// The resolution tag last seen in force ("1024x768.qvd"): set at start-up
  /// and when a display change has settled; until then, the current one.
  const std::string& SeenTag(AppHost& host);
  void SetSeenTag(const std::string& tag) { seenTag_ = tag; }

  /// True while a snapshot failure message is open.
  bool FailureMessageOpen() const { return failureMessageOpen_; }
  /// The snapshots by path, and the path of the latest (empty at start and
  /// after a display change has taken it).
  const std::map<std::string, Snapshot>& Snapshots() const { return snapshots_; }
  const std::string& LatestPath() const { return latestPath_; }

 private:
  bool ResolutionHeld(AppHost& host);

  std::map<std::string, Snapshot> snapshots_;  // entries stay until the program ends
  std::string latestPath_;
  bool latestFailed_ = false;  // the latest capture under latestPath_ failed
  std::string seenTag_;
  bool frozen_ = false;
  unsigned freezes_ = 0;  // a capture that sees this change drops what it read
  bool failureMessageOpen_ = false;
};
