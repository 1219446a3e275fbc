#include "app/periodic_look.h"

#include <algorithm>

#include "app/app_state.h"

void PeriodicLook::SetInterval(AppState& app, unsigned intervalMs) {
  if (intervalMs_ == intervalMs) return;
  intervalMs_ = intervalMs;
  if (intervalMs == 0) {
    app.host.StopTimer(kLookTimer);
  } else {
    app.host.StartTimer(kLookTimer, intervalMs);
  }
}

void PeriodicLook::Follow(AppState& app) {
  if (!IsOn(app.settings.resolutionAutoCapture)) {
    SetInterval(app, 0);
  } else if (intervalMs_ == 0) {
    SetInterval(app, kLookIntervalMs);
  }
}

void PeriodicLook::OnTimer(AppState& app) {
  Follow(app);
  SnapshotStore& store = app.snapshots;
  if (intervalMs_ == 0 || app.layoutWork > 0 || store.Frozen() || store.FailureMessageOpen()) return;
  const std::uint64_t start = app.host.NowMs();
  if (++looksWithoutNames_ >= kLookNamesEvery || !store.StillStands(app.Desktop())) {
    looksWithoutNames_ = 0;
    (void)store.Take(app.Desktop(), true);  // a look that fails waits for the next one
  }
  costMs_ = (3 * costMs_ + (app.host.NowMs() - start)) / 4;
  const std::uint64_t spaced = std::max<std::uint64_t>(kLookIntervalMs, costMs_ * kLookCostRatio);
  SetInterval(app, static_cast<unsigned>(std::min<std::uint64_t>(spaced, 60000)));
}
