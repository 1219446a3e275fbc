#include "app/auto_layout.h"

#include <cstdint>

#include "app/app_state.h"
#include "app/app_texts.h"
#include "engine/capture.h"
#include "engine/layout_file.h"
#include "engine/restore.h"

namespace {

// Loads the current resolution's "default" file and restores it; silent.
void RestoreDefaultQuietly(AppState& app) {
  std::string path;
  if (!app.host.DefaultLayoutPath(path)) return;
  IconLayout layout;
  if (LoadLayoutFile(path.c_str(), layout) != 1) return;
  LayoutWork work(app);
  RestoreIconLayout(app.view, layout);
}

// The capture half of a snapshot; true when there was a key and the capture
// failed.  The message is left to the caller, to be shown once the layout
// work has ended.
bool CaptureSnapshot(AppState& app) {
  std::string key;
  if (!app.host.DefaultLayoutPath(key)) return false;
  SnapshotState& s = app.snapshots;
  s.snapshotKey = key;
  IconLayout& entry = s.snapshotStore[key];  // map entries stay where they are
  int result;
  {
    LayoutWork work(app);
    result = CaptureIconLayout(app.view, entry);
  }
  // A failed capture has emptied the entry; the display change must not
  // write that over the stored file.
  s.snapshotFailed = result < 0;
  return result < 0;
}

void ShowSnapshotFailure(AppState& app) {
  SnapshotState& s = app.snapshots;
  if (s.failureMessageOpen) return;
  s.failureMessageOpen = true;
  app.host.ShowError(kCaptureFailedText, kErrorCaption);
  s.failureMessageOpen = false;
}

}  // namespace

void OnStartupActions(AppState& app) {
  if (IsOn(app.settings.startAutoRestore)) RestoreDefaultQuietly(app);
  if (IsOn(app.settings.resolutionAutoCapture)) TakeSnapshot(app);
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
  if (CaptureSnapshot(app)) ShowSnapshotFailure(app);
  return 0;
}

int OnDisplayChange(AppState& app) {
  SnapshotState& s = app.snapshots;
  bool snapshotFailed = false;
  {
    LayoutWork work(app);
    if (IsOn(app.settings.resolutionAutoCapture) && !s.snapshotKey.empty()) {
      if (!s.snapshotFailed) SaveLayoutFile(s.snapshotKey.c_str(), s.snapshotStore[s.snapshotKey]);
      s.snapshotKey.clear();
    }
    if (IsOn(app.settings.resolutionAutoRestore)) RestoreDefaultQuietly(app);
    if (IsOn(app.settings.resolutionAutoCapture) && !LayoutBusy) snapshotFailed = CaptureSnapshot(app);
  }
  if (snapshotFailed) ShowSnapshotFailure(app);
  return 0;
}

void ReplaceSnapshot(AppState& app, const std::string& key, const IconLayout& layout) {
  SnapshotState& s = app.snapshots;
  s.snapshotStore[key] = layout;
  s.snapshotKey = key;
  s.snapshotFailed = false;
}
