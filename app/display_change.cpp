#include "app/display_change.h"

#include "app/app_state.h"
#include "app/auto_layout.h"
#include "engine/capture.h"
#include "engine/layout_file.h"
#include "engine/restore.h"

namespace {

// Passes everything to the desktop and counts the moves: a restore that
// moves nothing found every icon in its place.
class MoveCountingView final : public DesktopIconView {
 public:
  explicit MoveCountingView(DesktopIconView& view) : view_(view) {}
  int Moves() const { return moves_; }

  DesktopViewHandle FindDesktopListView() override { return view_.FindDesktopListView(); }
  bool Open() override { return view_.Open(); }
  int GetItemCount() override { return view_.GetItemCount(); }
  bool ReadItemText(int index, IconEntry& entry) override { return view_.ReadItemText(index, entry); }
  bool ReadItemPosition(int index, int& x, int& y) override { return view_.ReadItemPosition(index, x, y); }
  void SetItemPosition(int index, int x, int y) override {
    ++moves_;
    view_.SetItemPosition(index, x, y);
  }
  void FlushMoves() override { view_.FlushMoves(); }
  void Close() override { view_.Close(); }
  bool IsViewPresent() override { return view_.IsViewPresent(); }
  bool GetViewSize(int& width, int& height) override { return view_.GetViewSize(width, height); }

 private:
  DesktopIconView& view_;
  int moves_ = 0;
};

void StartWaiting(AppState& app) {
  DisplayChangeState& d = app.display;
  d.waitingSince = app.host.NowMs();
  d.movedAt = d.waitingSince;
  d.looked = false;
  d.lastLook.clear();
}

// True when the shell's view has the size of the desktop in force.
bool ViewFitsDesktop(AppState& app) {
  int width = 0;
  int height = 0;
  app.view.FindDesktopListView();
  if (!app.view.GetViewSize(width, height)) return false;
  const ScreenSize desktop = app.host.DesktopSize();
  return width == desktop.width && height == desktop.height;
}

// Looks at the desktop once; true when it has been at rest for the quiet
// time, or when the bound has passed.
bool DesktopAtRest(AppState& app) {
  DisplayChangeState& d = app.display;
  const bool fits = ViewFitsDesktop(app);
  IconLayout look;
  int read;
  {
    LayoutWork work(app);
    read = CaptureIconLayout(app.view, look);
  }
  const std::uint64_t now = app.host.NowMs();
  if (!fits || read < 0 || !d.looked || !SameNamesAndPlaces(look, d.lastLook)) d.movedAt = now;
  d.looked = true;
  d.lastLook = std::move(look);
  return now - d.movedAt >= kQuietMs || now - d.waitingSince >= kSettleBoundMs;
}

// Restores the new resolution's layout; the number of moves it made, or -1
// when it could not run.
int Restore(AppState& app) {
  MoveCountingView counting(app.view);
  LayoutWork work(app);
  if (RestoreIconLayout(counting, app.display.stored, app.host.DesktopSize()) < 0) return -1;
  return counting.Moves();
}

void Finish(AppState& app) {
  DisplayChangeState& d = app.display;
  d.underWay = false;
  d.restored = false;
  d.stored.clear();
  d.lastLook.clear();
  app.host.StopTimer(kDisplayChangeTimer);
  if (IsOn(app.settings.resolutionAutoCapture)) TakeSnapshot(app);
}

}  // namespace

int OnDisplayChange(AppState& app) {
  DisplayChangeState& d = app.display;
  SnapshotState& s = app.snapshots;
  ++d.changes;
  const bool capture = IsOn(app.settings.resolutionAutoCapture);
  // Without an application-data folder there is no file to write or read.
  std::string folderKnown;
  if (!d.underWay && ((!capture && !IsOn(app.settings.resolutionAutoRestore)) ||
                      !app.host.LayoutPathFor(app.host.ResolutionTag(), folderKnown))) {
    s.seenTag = app.host.ResolutionTag();
    return 0;
  }
  // The last complete snapshot belongs to the old resolution.  A capture
  // under way now has not replaced it and will drop what it read.
  if (capture && !s.snapshotKey.empty()) {
    WritePendingSnapshot(app);  // one fixed by an earlier change, not yet written
    auto entry = s.snapshotStore.find(s.snapshotKey);
    if (!s.snapshotFailed && entry != s.snapshotStore.end()) {
      d.writePending = true;
      d.writePath = s.snapshotKey;
      d.writeLayout = entry->second;
    }
    s.snapshotKey.clear();
  }
  d.underWay = true;
  d.restored = false;
  d.restores = 0;
  StartWaiting(app);
  app.host.StartTimer(kDisplayChangeTimer, kDisplayChangeTickMs);
  return 0;
}

void OnDisplayChangeTimer(AppState& app) {
  DisplayChangeState& d = app.display;
  if (!d.underWay) {
    app.host.StopTimer(kDisplayChangeTimer);
    return;
  }
  if (app.layoutWork > 0 || LayoutBusy) return;
  WritePendingSnapshot(app);

  const unsigned changes = d.changes;
  const bool atRest = DesktopAtRest(app);
  if (d.changes != changes || !atRest) return;

  if (!d.restored) {
    // The shell is done with the new size: that resolution is now in force.
    app.snapshots.seenTag = app.host.ResolutionTag();
    std::string path;
    if (!IsOn(app.settings.resolutionAutoRestore) || !app.host.LayoutPathFor(app.snapshots.seenTag, path) ||
        LoadLayoutFile(path.c_str(), d.stored) != 1) {
      Finish(app);
      return;
    }
    const int moves = Restore(app);
    if (d.changes != changes) return;  // a newer change starts over
    if (moves <= 0) {
      Finish(app);
      return;
    }
    d.restored = true;
    d.restores = 1;
    StartWaiting(app);
    return;
  }

  // Restored, and the desktop has been at rest since: the shell may have
  // moved restored icons meanwhile.  Another restore puts them back, and
  // moves nothing when they stayed.
  const int moves = Restore(app);
  if (d.changes != changes) return;
  if (moves <= 0 || ++d.restores >= kMaxRestores) {
    Finish(app);
    return;
  }
  StartWaiting(app);
}

bool IsDisplayChangeUnderWay(const AppState& app) { return app.display.underWay; }

void WritePendingSnapshot(AppState& app) {
  DisplayChangeState& d = app.display;
  if (!d.writePending) return;
  d.writePending = false;
  // A write that fails is not reported; the file keeps what it held.
  (void)SaveLayoutFile(d.writePath.c_str(), d.writeLayout);
  d.writeLayout.clear();
}
