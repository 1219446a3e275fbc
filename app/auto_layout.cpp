#include "app/auto_layout.h"

#include <algorithm>
#include <cstdint>

#include "app/app_state.h"
#include "app/app_texts.h"
#include "app/display_change.h"
#include "engine/capture.h"
#include "engine/layout_file.h"
#include "engine/restore.h"

namespace {

enum class Snapshot { kTaken, kFailed, kSkipped };

// Loads the current resolution's "default" file and restores it; silent.
void RestoreDefaultQuietly(AppState& app) {
  std::string path;
  if (!app.host.DefaultLayoutPath(path)) return;
  IconLayout layout;
  if (LoadLayoutFile(path.c_str(), layout) != 1) return;
  LayoutWork work(app);
  // A restore that fails is passed over in silence.
  (void)RestoreIconLayout(app.view, layout, app.host.DesktopSize());
}

const std::string& SeenTag(AppState& app) {
  std::string& seen = app.snapshots.seenTag;
  if (seen.empty()) seen = app.host.ResolutionTag();
  return seen;
}

// True when the screen still has the resolution last seen and no display
// change has arrived since `changes` was read.
bool ResolutionHeld(AppState& app, unsigned changes) {
  return app.display.changes == changes && app.host.ResolutionTag() == SeenTag(app);
}

// The capture half of a snapshot.  The message is left to the caller, to be
// shown once the layout work has ended.  `quiet`: a failed capture leaves the
// snapshot as it was (the periodic look).
Snapshot CaptureSnapshot(AppState& app, bool quiet) {
  if (IsDisplayChangeUnderWay(app)) return Snapshot::kSkipped;
  const unsigned changes = app.display.changes;
  if (!ResolutionHeld(app, changes)) return Snapshot::kSkipped;
  std::string key;
  if (!app.host.LayoutPathFor(SeenTag(app), key)) return Snapshot::kSkipped;
  IconLayout fresh;
  int result;
  {
    LayoutWork work(app);
    result = CaptureIconLayout(app.view, fresh);
  }
  // A WM_DISPLAYCHANGE delivered while the shell was answering: what was
  // read may be half the old layout and half the new one.
  if (!ResolutionHeld(app, changes)) return Snapshot::kSkipped;
  if (result < 0 && quiet) return Snapshot::kFailed;
  SnapshotState& s = app.snapshots;
  s.snapshotKey = key;
  // A failed capture read nothing; the display change must not write that
  // over the stored file.
  s.snapshotFailed = result < 0;
  if (result >= 0) s.snapshotStore[key] = std::move(fresh);
  return result < 0 ? Snapshot::kFailed : Snapshot::kTaken;
}

void ShowSnapshotFailure(AppState& app) {
  SnapshotState& s = app.snapshots;
  if (s.failureMessageOpen) return;
  s.failureMessageOpen = true;
  app.host.ShowError(kCaptureFailedText, kErrorCaption);
  s.failureMessageOpen = false;
}

// True when the snapshot of the resolution in force is whole and every icon
// still stands where it has it (names not read).
bool SnapshotStillStands(AppState& app) {
  const SnapshotState& s = app.snapshots;
  if (s.snapshotKey.empty() || s.snapshotFailed || IsDisplayChangeUnderWay(app)) return false;
  std::string key;
  if (!ResolutionHeld(app, app.display.changes) || !app.host.LayoutPathFor(SeenTag(app), key) ||
      key != s.snapshotKey) {
    return false;
  }
  const auto entry = s.snapshotStore.find(key);
  if (entry == s.snapshotStore.end()) return false;
  LayoutWork work(app);
  return StandsAsCaptured(app.view, entry->second);
}

void SetLookInterval(AppState& app, unsigned intervalMs) {
  SnapshotState& s = app.snapshots;
  if (s.lookIntervalMs == intervalMs) return;
  s.lookIntervalMs = intervalMs;
  if (intervalMs == 0) {
    app.host.StopTimer(kLookTimer);
  } else {
    app.host.StartTimer(kLookTimer, intervalMs);
  }
}

void UpdateLooking(AppState& app) {
  if (!IsOn(app.settings.resolutionAutoCapture)) {
    SetLookInterval(app, 0);
  } else if (app.snapshots.lookIntervalMs == 0) {
    SetLookInterval(app, kLookIntervalMs);
  }
}

}  // namespace

void OnStartupActions(AppState& app) {
  app.snapshots.seenTag = app.host.ResolutionTag();
  if (IsOn(app.settings.startAutoRestore)) RestoreDefaultQuietly(app);
  if (IsOn(app.settings.resolutionAutoCapture)) TakeSnapshot(app);
  UpdateLooking(app);
}

void OnHookNotification(AppState& app) {
  if (!IsOn(app.settings.resolutionAutoCapture) || LayoutBusy) return;
  // Reports that do not qualify would be ignored anyway; they go too.
  std::uint64_t wParam = 0;
  std::uint64_t lParam = 0;
  while (app.host.TakePendingReport(wParam, lParam)) {
  }
  TakeSnapshot(app);
}

int TakeSnapshot(AppState& app) {
  if (CaptureSnapshot(app, false) == Snapshot::kFailed) ShowSnapshotFailure(app);
  return 0;
}

void ReplaceSnapshot(AppState& app, const std::string& key, const IconLayout& layout) {
  SnapshotState& s = app.snapshots;
  s.snapshotStore[key] = layout;
  s.snapshotKey = key;
  s.snapshotFailed = false;
}

void OnSettingsApplied(AppState& app) {
  if (IsOn(app.settings.resolutionAutoCapture)) TakeSnapshot(app);
  UpdateLooking(app);
}

void OnLookTimer(AppState& app) {
  UpdateLooking(app);
  if (app.snapshots.lookIntervalMs == 0) return;
  if (app.layoutWork > 0 || LayoutBusy || app.snapshots.failureMessageOpen) return;
  const std::uint64_t start = app.host.NowMs();
  SnapshotState& s = app.snapshots;
  if (++s.looksWithoutNames >= kLookNamesEvery || !SnapshotStillStands(app)) {
    s.looksWithoutNames = 0;
    (void)CaptureSnapshot(app, true);  // a look that fails waits for the next one
  }
  s.lookCostMs = (3 * s.lookCostMs + (app.host.NowMs() - start)) / 4;
  const std::uint64_t spaced = std::max<std::uint64_t>(kLookIntervalMs, s.lookCostMs * kLookCostRatio);
  SetLookInterval(app, static_cast<unsigned>(std::min<std::uint64_t>(spaced, 60000)));
}

void OnLayoutTimer(AppState& app, unsigned id) {
  if (id == kDisplayChangeTimer) OnDisplayChangeTimer(app);
  if (id == kLookTimer) OnLookTimer(app);
}
