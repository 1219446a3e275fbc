#include "app/undo.h"

#include <string>

#include "app/app_state.h"
#include "engine/display_setup.h"
#include "engine/layout_file.h"
#include "engine/restore.h"
#include "framework/files/file_system.h"

namespace {

bool UndoPath(AppState& app, std::string& path) { return app.host.SettingsFilePath(kUndoFileName, path); }

}  // namespace

int RestoreKeepingUndo(AppState& app, DesktopIconView& view, IconLayout& layout, bool keepUndo,
                       RestoreReport* report) {
  IconLayout before;
  RestoreReport told;
  int result;
  const DisplaySetup setup = app.host.Displays();
  {
    LayoutWork work(app.layoutWork);
    result = RestoreIconLayout(view, layout, setup, &before, &told);
  }
  if (report) *report = told;
  std::string path;
  // A restore that could not read the desktop, or did not move it, changed
  // nothing to go back to.
  const bool moved = result == 0 && told.moved > 0;
  if (moved && keepUndo && UndoPath(app, path)) (void)SaveLayoutFile(path.c_str(), before, setup);
  return result;
}

// Asked at every showing of the tray menu: whether the file is there, not
// what it holds.
bool CanUndo(AppState& app) {
  std::string path;
  return UndoPath(app, path) && GetPathKind(path.c_str()) == kPathFile;
}

bool UndoRestore(AppState& app) {
  std::string path;
  IconLayout kept;
  DisplaySetup keptOn;
  if (!UndoPath(app, path) || LoadLayoutFile(path.c_str(), kept, &keptOn) != 1 || kept.empty()) return false;
  kept = PlaceOnMonitors(kept, keptOn, app.host.Displays());
  const bool undone = RestoreKeepingUndo(app, app.view, kept) == 0;
  // While locked, the arrangement brought back is held from now on.
  if (undone && app.lock.On()) (void)app.lock.HoldDesktop(app);
  return undone;
}
