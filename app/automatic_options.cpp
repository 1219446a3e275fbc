#include "app/automatic_options.h"

#include "app/app_state.h"
#include "app/desktop_watch.h"
#include "app/default_layout.h"
#include "app/undo.h"

namespace {

// Restores the current setup's "default" layout; silent.
void RestoreDefaultQuietly(AppState& app) {
  IconLayout layout;
  if (!LoadDefaultLayout(app.host, layout)) return;
  // A restore that fails is passed over in silence.
  (void)RestoreKeepingUndo(app, app.view, layout);
}

}  // namespace

void OnStartupActions(AppState& app, DesktopWatch& watch) {
  app.snapshots.SetSeenTag(app.host.ResolutionTag());
  if (IsOn(app.settings.startAutoRestore)) RestoreDefaultQuietly(app);
  if (IsOn(app.settings.resolutionAutoCapture)) app.snapshots.TakeAndReport(app.Desktop());
  (void)app.lock.Follow(app, true);
  watch.Follow(app);
}

void OnSettingsApplied(AppState& app, DesktopWatch& watch) {
  if (IsOn(app.settings.resolutionAutoCapture)) app.snapshots.TakeAndReport(app.Desktop());
  (void)app.lock.Follow(app, false);
  watch.Follow(app);
}

bool SetLock(AppState& app, DesktopWatch& watch, bool on) {
  app.settings.lockIcons = on ? 1 : 0;
  const bool held = app.lock.Follow(app, false);
  watch.Follow(app);
  return held;
}
