#include "app/snapshot_store.h"

#include "app/layout_work.h"
#include "engine/capture.h"
#include "engine/display_setup.h"
#include "resources/resource.h"

bool SnapshotStore::ResolutionHeld(AppHost& host) { return host.ResolutionTag() == SeenTag(host); }

const std::string& SnapshotStore::SeenTag(AppHost& host) {
  if (seenTag_.empty()) seenTag_ = host.ResolutionTag();
  return seenTag_;
}

SnapshotResult SnapshotStore::Take(DesktopAccess desktop, bool quiet) {
  if (frozen_) return SnapshotResult::kSkipped;
  // The monitors are measured once: each measure asks the system several
  // things.
  DisplaySetup setup = desktop.host.Displays();
  if (SetupTag(setup) != SeenTag(desktop.host)) return SnapshotResult::kSkipped;
  std::string path;
  if (!desktop.host.LayoutPathFor(SeenTag(desktop.host), path)) return SnapshotResult::kSkipped;
  const unsigned freezes = freezes_;
  Snapshot fresh{path, {}, std::move(setup)};
  int result;
  {
    LayoutWork work(desktop.layoutWork);
    result = CaptureIconLayout(desktop.view, fresh.layout);
  }
  // A WM_DISPLAYCHANGE delivered while the shell was answering: what was
  // read may be half the old layout and half the new one.  A desktop that
  // arranges its icons itself shows the shell's order, not the user's.
  if (freezes_ != freezes || !ResolutionHeld(desktop.host) ||
      (result >= 0 && desktop.view.HowItArranges() == Arranging::kArranges)) {
    return SnapshotResult::kSkipped;
  }
  if (result < 0 && quiet) return SnapshotResult::kFailed;
  latestPath_ = path;
  // A failed capture read nothing; the display change must not write that
  // over the stored file.
  latestFailed_ = result < 0;
  if (result >= 0) snapshots_[path] = std::move(fresh);
  return result < 0 ? SnapshotResult::kFailed : SnapshotResult::kTaken;
}

void SnapshotStore::TakeAndReport(DesktopAccess desktop) {
  if (Take(desktop, false) != SnapshotResult::kFailed || failureMessageOpen_) return;
  failureMessageOpen_ = true;
  desktop.host.ShowError(IDS_CAPTURE_FAILED, IDS_ERROR_CAPTION);
  failureMessageOpen_ = false;
}

void SnapshotStore::Replace(const Snapshot& snapshot) {
  snapshots_[snapshot.path] = snapshot;
  latestPath_ = snapshot.path;
  latestFailed_ = false;
}

bool SnapshotStore::StillStands(DesktopAccess desktop) {
  if (latestPath_.empty() || latestFailed_ || frozen_ || !ResolutionHeld(desktop.host)) return false;
  std::string path;
  if (!desktop.host.LayoutPathFor(SeenTag(desktop.host), path) || path != latestPath_) return false;
  const auto entry = snapshots_.find(path);
  if (entry == snapshots_.end()) return false;
  LayoutWork work(desktop.layoutWork);
  return StandsAsCaptured(desktop.view, entry->second.layout);
}

std::optional<Snapshot> SnapshotStore::TakeLatest() {
  std::optional<Snapshot> last;
  const auto entry = snapshots_.find(latestPath_);
  if (!latestPath_.empty() && !latestFailed_ && entry != snapshots_.end()) last = entry->second;
  latestPath_.clear();
  return last;
}
