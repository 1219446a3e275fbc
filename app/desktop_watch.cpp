#include "app/desktop_watch.h"

#include <algorithm>

#include "app/app_state.h"

void DesktopWatch::Follow(AppState& app) {
  const bool on = IsOn(app.settings.resolutionAutoCapture) || app.lock.On();
  if (on == following_) return;
  following_ = on;
  app.host.WatchDesktopFolders(on);
  if (on) {
    inputRead_ = false;
    resting_ = false;
    inputAt_ = app.host.NowMs();
    app.host.StartTimer(kInputPollTimer, kInputPollMs);
    OnInputPoll(app);  // the first reading: what came before is no sign
  } else {
    if (resting_) (void)app.host.WakeOnInput(false);
    resting_ = false;
    app.host.StopTimer(kInputPollTimer);
    app.host.StopTimer(kLookTimer);
    due_ = false;
    namesDue_ = false;
  }
}

void DesktopWatch::OnSign(AppState& app, bool namesToo) {
  if (!following_) return;
  signAt_ = app.host.NowMs();
  namesDue_ = namesDue_ || namesToo;
  retries_ = 0;
  if (!due_) app.host.StartTimer(kLookTimer, kLookTickMs);
  due_ = true;
}

bool DesktopWatch::InputOnDesktop(AppState& app) {
  const InputReading now = app.host.ReadInput();
  const bool came = inputRead_ && now.lastInput != lastInput_;
  if (came) inputAt_ = app.host.NowMs();
  // Input since the last reading went to the window in front then or now.
  const bool onDesktop = came && (now.desktopInFront || desktopInFront_);
  inputRead_ = true;
  lastInput_ = now.lastInput;
  desktopInFront_ = now.desktopInFront;
  return onDesktop;
}

void DesktopWatch::OnInputPoll(AppState& app) {
  if (!following_ || resting_) {
    app.host.StopTimer(kInputPollTimer);
    return;
  }
  if (InputOnDesktop(app)) OnSign(app, false);
  // Nobody there for a while: the host wakes the reading at the next input.
  if (app.host.NowMs() - inputAt_ >= kInputRestMs && app.host.WakeOnInput(true)) {
    resting_ = true;
    app.host.StopTimer(kInputPollTimer);
  }
}

void DesktopWatch::OnInputArrived(AppState& app) {
  if (!following_ || !resting_) return;
  resting_ = false;
  inputAt_ = app.host.NowMs();
  (void)app.host.WakeOnInput(false);
  app.host.StartTimer(kInputPollTimer, kInputPollMs);
  OnInputPoll(app);
}

void DesktopWatch::OnTimer(AppState& app) {
  if (!following_ || !due_) {
    app.host.StopTimer(kLookTimer);
    return;
  }
  // A drag goes on while the input does.
  if (InputOnDesktop(app)) signAt_ = app.host.NowMs();
  const std::uint64_t now = app.host.NowMs();
  const std::uint64_t spacing = std::max<std::uint64_t>(kLookSpacingMs, costMs_ * kLookCostRatio);
  if (now - signAt_ < kStillMs || (lookedAt_ != 0 && now - lookedAt_ < spacing)) return;
  SnapshotStore& store = app.snapshots;
  // Layout work, a display change or an open failure message: the look
  // waits for them (a display change takes its own snapshot at its end).
  if (app.layoutWork > 0 || store.Frozen() || store.FailureMessageOpen()) return;

  due_ = false;
  SnapshotResult result = SnapshotResult::kTaken;
  if (app.lock.On()) {
    // The lock's look puts back what moved; the held layout is the snapshot.
    result = app.lock.Look(app, namesDue_) ? SnapshotResult::kTaken : SnapshotResult::kFailed;
    if (result != SnapshotResult::kFailed) namesDue_ = false;
    if (app.lock.LookAgain()) {
      signAt_ = app.host.NowMs();
      due_ = true;
    }
  } else if (namesDue_ || !store.StillStands(app.Desktop())) {
    result = store.Take(app.Desktop(), true);  // a look that fails is silent
    if (result != SnapshotResult::kFailed) namesDue_ = false;
  }
  lookedAt_ = app.host.NowMs();
  costMs_ = (3 * costMs_ + (app.lock.On() ? app.lock.ReadMs() : lookedAt_ - now)) / 4;
  // The shell did not answer: once more after a while, a few times.
  if (result == SnapshotResult::kFailed && ++retries_ <= kLookRetries) {
    due_ = true;
    return;
  }
  if (result != SnapshotResult::kFailed) retries_ = 0;
  if (!due_) app.host.StopTimer(kLookTimer);
}
