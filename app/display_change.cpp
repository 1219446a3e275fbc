#include "app/display_change.h"

#include "app/app_state.h"
#include "app/default_layout.h"
#include "app/undo.h"
#include "engine/capture.h"
#include "engine/layout_history.h"

namespace {

// True when the shell's view has the size of the desktop in force.
bool ViewFitsDesktop(AppState& app) {
  int width = 0;
  int height = 0;
  app.view.FindDesktopListView();
  if (!app.view.GetViewSize(width, height)) return false;
  const ScreenSize desktop = app.host.DesktopSize();
  return width == desktop.width && height == desktop.height;
}

// The latest snapshot of the setup in force, if the store holds one.
const Snapshot* SnapshotInForce(AppState& app) {
  std::string path;
  if (!app.host.DefaultLayoutPath(path)) return nullptr;
  const auto& snapshots = app.snapshots.Snapshots();
  const auto found = snapshots.find(path);
  return found == snapshots.end() || found->second.layout.empty() ? nullptr : &found->second;
}

}  // namespace

void DisplayChange::Begin(AppState& app, Cause cause) {
  app.snapshots.Freeze();
  cause_ = cause;
  step_ = Step::kSettling;
  restores_ = 0;
  Watch(app);
  app.host.StartTimer(kDisplayChangeTimer, kDisplayChangeTickMs);
}

void DisplayChange::Watch(AppState& app) {
  watch_.since = app.host.NowMs();
  watch_.movedAt = watch_.since;
  watch_.looked = false;
  watch_.lastLook.clear();
}

// Looks at the desktop once; true when it has been at rest for the quiet
// time, or when the bound has passed.
bool DisplayChange::DesktopAtRest(AppState& app) {
  const bool fits = ViewFitsDesktop(app);
  IconLayout look;
  int read;
  {
    LayoutWork work(app.layoutWork);
    read = CaptureIconLayout(app.view, look);
  }
  const std::uint64_t now = app.host.NowMs();
  // A new shell shows an empty view before it has read its folders.
  const bool showing = cause_ == Cause::kDisplay || !look.empty();
  if (!fits || read < 0 || !showing || !watch_.looked || !SameNamesAndPlaces(look, watch_.lastLook)) {
    watch_.movedAt = now;
  }
  watch_.looked = true;
  watch_.lastLook = std::move(look);
  const std::uint64_t bound = cause_ == Cause::kDisplay ? kSettleBoundMs : kShellSettleBoundMs;
  return now - watch_.movedAt >= kQuietMs || now - watch_.since >= bound;
}

// What the desktop goes back to: after a display change, the new setup's
// "default" layout; after a new shell, the setup's latest snapshot or, without
// one, its "default" layout; after a return, the snapshot alone.
bool DisplayChange::LoadLayoutToRestore(AppState& app) {
  // The lock holds each setup's layout whatever the automatic options say:
  // the new setup's after a display change, else the one held.
  if (app.lock.On()) {
    if (cause_ != Cause::kDisplay && !app.lock.Held().empty()) {
      restoredLayout_ = app.lock.Held();
      return true;
    }
    return LoadDefaultLayout(app.host, restoredLayout_);
  }
  if (!IsOn(app.settings.resolutionAutoRestore)) return false;
  if (cause_ != Cause::kDisplay) {
    if (const Snapshot* latest = SnapshotInForce(app)) {
      restoredLayout_ = latest->layout;
      return true;
    }
    if (cause_ == Cause::kReturn) return false;
  }
  return LoadDefaultLayout(app.host, restoredLayout_);
}

// Restores the new resolution's layout; the number of moves it made, or -1
// when it could not run.
// The repeated restores of one change count as one for an undo: the first
// keeps what the shell had made of the desktop.
int DisplayChange::Restore(AppState& app) {
  RestoreReport report;
  // The lock's restore keeps an undo only where the automatic restore would.
  const bool keepUndo = step_ == Step::kSettling && IsOn(app.settings.resolutionAutoRestore);
  if (RestoreKeepingUndo(app, app.view, restoredLayout_, keepUndo, &report) < 0) return -1;
  // The shell arranges the icons itself: there is nothing to restore, and
  // its arrangement is no snapshot of the user's.
  if (report.arranges) {
    shellArranges_ = true;
    return -1;
  }
  return report.moved;
}

void DisplayChange::Finish(AppState& app) {
  step_ = Step::kIdle;
  // The lock holds the setup in force from now on: what was restored, and
  // what the desktop shows besides.
  if (app.lock.On()) {
    app.lock.Hold(app, std::move(restoredLayout_));
    (void)app.lock.Look(app, true);
    app.lock.KeepInFile();
  }
  restoredLayout_.clear();
  watch_.lastLook.clear();
  app.host.StopTimer(kDisplayChangeTimer);
  app.snapshots.Thaw();
  if (IsOn(app.settings.resolutionAutoCapture) && !shellArranges_) {
    // A shell that is still not there after its restart keeps the snapshot
    // from before, without a message.
    if (cause_ == Cause::kDisplay) {
      app.snapshots.TakeAndReport(app.Desktop());
    } else {
      (void)app.snapshots.Take(app.Desktop(), true);
    }
  }
  shellArranges_ = false;
  cause_ = Cause::kDisplay;
}

void DisplayChange::OnDisplayChange(AppState& app) {
  ++changes_;
  SnapshotStore& store = app.snapshots;
  // The lock keeps the old setup's held layout in its file: no snapshot is
  // owed to it.
  const bool locked = app.lock.On();
  const bool capture = IsOn(app.settings.resolutionAutoCapture) && !locked;
  // Without an application-data folder there is no file to write or read.
  std::string folderKnown;
  if (step_ == Step::kIdle && ((!capture && !locked && !IsOn(app.settings.resolutionAutoRestore)) ||
                               !app.host.LayoutPathFor(app.host.ResolutionTag(), folderKnown))) {
    store.SetSeenTag(app.host.ResolutionTag());
    return;
  }
  // The last complete snapshot belongs to the old resolution.  A capture
  // under way now has not replaced it and will drop what it read (Begin
  // freezes the store).
  if (capture) {
    std::optional<Snapshot> latest = store.TakeLatest();
    if (latest) {
      WriteOwedSnapshot();  // one owed since an earlier change, not yet written
      owed_ = std::move(latest);
    }
  }
  Begin(app, Cause::kDisplay);
}

bool DisplayChange::OnShellRestarted(AppState& app) {
  if (!IsOn(app.settings.resolutionAutoRestore) && !IsOn(app.settings.resolutionAutoCapture) && !app.lock.On()) {
    return false;
  }
  // A display change under way waits for the new shell before it restores.
  if (UnderWay()) {
    Watch(app);
    if (cause_ == Cause::kReturn) cause_ = Cause::kShellRestart;
    return true;
  }
  Begin(app, Cause::kShellRestart);
  return true;
}

bool DisplayChange::OnReturn(AppState& app) {
  if (app.host.ResolutionTag() != app.snapshots.SeenTag(app.host)) {
    OnDisplayChange(app);
    return UnderWay();
  }
  if (UnderWay()) return true;
  const bool bothOn = IsOn(app.settings.resolutionAutoRestore) && IsOn(app.settings.resolutionAutoCapture);
  if (!app.lock.On() && (!bothOn || !SnapshotInForce(app))) return false;
  Begin(app, Cause::kReturn);
  return true;
}

void DisplayChange::OnScaleMayHaveChanged(AppState& app) {
  // A change under way restores for whatever is in force at its end.
  if (UnderWay() || app.host.ResolutionTag() == app.snapshots.SeenTag(app.host)) return;
  OnDisplayChange(app);
}

void DisplayChange::OnTimer(AppState& app) {
  if (step_ == Step::kIdle) {
    app.host.StopTimer(kDisplayChangeTimer);
    return;
  }
  if (app.layoutWork > 0) return;
  WriteOwedSnapshot();

  const unsigned changes = changes_;
  const bool atRest = DesktopAtRest(app);
  if (changes_ != changes || !atRest) return;

  if (step_ == Step::kSettling) {
    // The shell is done with the new size: that resolution is now in force.
    app.snapshots.SetSeenTag(app.host.ResolutionTag());
    if (!LoadLayoutToRestore(app)) {
      Finish(app);
      return;
    }
    const int moves = Restore(app);
    if (changes_ != changes) return;  // a newer change starts over
    if (moves <= 0) {
      Finish(app);
      return;
    }
    step_ = Step::kRestored;
    restores_ = 1;
    Watch(app);
    return;
  }

  // Restored, and the desktop has been at rest since: the shell may have
  // moved restored icons meanwhile.  Another restore puts them back, and
  // moves nothing when they stayed.
  const int moves = Restore(app);
  if (changes_ != changes) return;
  if (moves <= 0 || ++restores_ >= kMaxRestores) {
    Finish(app);
    return;
  }
  Watch(app);
}

void DisplayChange::WriteOwedSnapshot() {
  if (!owed_) return;
  // A write that fails is not reported; the file keeps what it held.
  (void)SaveLayoutFileKeepingHistory(owed_->path.c_str(), owed_->layout, owed_->setup, CurrentLocalTime());
  owed_.reset();
}
