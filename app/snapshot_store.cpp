#include "app/snapshot_store.h"

#include "app/app_texts.h"
#include "app/layout_work.h"
#include "engine/capture.h"

bool SnapshotStore::ResolutionHeld(AppHost& host) { return host.ResolutionTag() == SeenTag(host); }

const std::string& SnapshotStore::SeenTag(AppHost& host) {
  if (seenTag_.empty()) seenTag_ = host.ResolutionTag();
  return seenTag_;
}

SnapshotResult SnapshotStore::Take(DesktopAccess desktop, bool quiet) {
  if (frozen_ || !ResolutionHeld(desktop.host)) return SnapshotResult::kSkipped;
  std::string path;
  if (!desktop.host.LayoutPathFor(SeenTag(desktop.host), path)) return SnapshotResult::kSkipped;
  const unsigned freezes = freezes_;
  IconLayout fresh;
  int result;
  {
    LayoutWork work(desktop.layoutWork);
    result = CaptureIconLayout(desktop.view, fresh);
  }
  // A WM_DISPLAYCHANGE delivered while the shell was answering: what was
  // read may be half the old layout and half the new one.
  if (freezes_ != freezes || !ResolutionHeld(desktop.host)) return SnapshotResult::kSkipped;
  if (result < 0 && quiet) return SnapshotResult::kFailed;
  latestPath_ = path;
  // A failed capture read nothing; the display change must not write that
  // over the stored file.
  latestFailed_ = result < 0;
  if (result >= 0) layouts_[path] = std::move(fresh);
  return result < 0 ? SnapshotResult::kFailed : SnapshotResult::kTaken;
}

void SnapshotStore::TakeAndReport(DesktopAccess desktop) {
  if (Take(desktop, false) != SnapshotResult::kFailed || failureMessageOpen_) return;
  failureMessageOpen_ = true;
  desktop.host.ShowError(kCaptureFailedText, kErrorCaption);
  failureMessageOpen_ = false;
}

void SnapshotStore::Replace(const std::string& path, const IconLayout& layout) {
  layouts_[path] = layout;
  latestPath_ = path;
  latestFailed_ = false;
}

bool SnapshotStore::StillStands(DesktopAccess desktop) {
  if (latestPath_.empty() || latestFailed_ || frozen_ || !ResolutionHeld(desktop.host)) return false;
  std::string path;
  if (!desktop.host.LayoutPathFor(SeenTag(desktop.host), path) || path != latestPath_) return false;
  const auto entry = layouts_.find(path);
  if (entry == layouts_.end()) return false;
  LayoutWork work(desktop.layoutWork);
  return StandsAsCaptured(desktop.view, entry->second);
}

std::optional<Snapshot> SnapshotStore::TakeLatest() {
  std::optional<Snapshot> last;
  const auto entry = layouts_.find(latestPath_);
  if (!latestPath_.empty() && !latestFailed_ && entry != layouts_.end()) last = Snapshot{latestPath_, entry->second};
  latestPath_.clear();
  return last;
}
