#include "app/automatic_options.h"

#include "app/app_state.h"
#include "app/periodic_look.h"
#include "engine/layout_file.h"
#include "app/undo.h"

namespace {

// Loads the current resolution's "default" file and restores it; silent.
void RestoreDefaultQuietly(AppState& app) {
  std::string path;
  if (!app.host.DefaultLayoutPath(path)) return;
  IconLayout layout;
  if (LoadLayoutFile(path.c_str(), layout) != 1) return;
  // A restore that fails is passed over in silence.
  (void)RestoreKeepingUndo(app, app.view, layout);
}

}  // namespace

void OnStartupActions(AppState& app, PeriodicLook& look) {
  app.snapshots.SetSeenTag(app.host.ResolutionTag());
  if (IsOn(app.settings.startAutoRestore)) RestoreDefaultQuietly(app);
  if (IsOn(app.settings.resolutionAutoCapture)) app.snapshots.TakeAndReport(app.Desktop());
  look.Follow(app);
}

void OnSettingsApplied(AppState& app, PeriodicLook& look) {
  if (IsOn(app.settings.resolutionAutoCapture)) app.snapshots.TakeAndReport(app.Desktop());
  look.Follow(app);
}
