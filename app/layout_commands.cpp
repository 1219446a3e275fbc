#include "app/layout_commands.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/texts.h"
#include "engine/capture.h"
#include "app/default_layout.h"
#include "app/kept_layouts.h"
#include "app/recent_files.h"
#include "engine/display_setup.h"
#include "engine/layout_file.h"
#include "app/undo.h"
#include "engine/layout_history.h"
#include "resources/resource.h"

namespace {

int Capture(AppState& app, IconLayout& layout) {
  LayoutWork work(app.layoutWork);
  return CaptureIconLayout(app.view, layout);
}


bool IsKeptVersion(AppState& app, const std::string& path) {
  const std::string folder = KeptLayoutsFolder(app);
  return !folder.empty() && path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
         path[folder.size()] == '\\';
}

FileDialogRequest MakeRequest(AppState& app, bool save) {
  FileDialogRequest request;
  request.save = save;
  request.defaultExtension = app.host.ResolutionTag();
  request.filter = MakeLayoutFileFilter(request.defaultExtension, !save, app.host.Text(IDS_FILTER_LAYOUTS),
                                        app.host.Text(IDS_FILTER_ALL));
  request.title = app.host.Text(IDS_FILE_DIALOG_TITLE);
  // A Save as dialog must take names of files that do not exist yet.
  request.fileMustExist = !save;
  return request;
}

// What a save or a restore came to: the menu tells failures with a message
// box, the command line with its exit code.
enum class SaveOutcome { kSaved, kCaptureFailed, kWriteFailed };
enum class RestoreOutcome { kRestored, kNoLayout, kNoDesktop, kShellArranges, kNotKept };

struct Restored {
  RestoreOutcome outcome;
  int notKept = 0;  // kNotKept: the icons the shell did not keep where they were put
};

SaveOutcome SaveDefault(AppState& app) {
  IconLayout layout;
  if (Capture(app, layout) < 0) return SaveOutcome::kCaptureFailed;
  std::string path;
  const DisplaySetup setup = app.host.Displays();
  if (!app.host.LayoutPathFor(SetupTag(setup), path) ||
      SaveLayoutFileKeepingHistory(path.c_str(), layout, setup, CurrentLocalTime()) != 1) {
    return SaveOutcome::kWriteFailed;
  }
  // The hook does not hear the user's own drags, so the snapshot may be older
  // than what was just saved; a display change must not undo this save.
  if (IsOn(app.settings.resolutionAutoCapture)) app.snapshots.Replace({path, layout, setup});
  // A Save while locked: the new layout is the one held.
  if (app.lock.On()) app.lock.Hold(app, layout);
  return SaveOutcome::kSaved;
}

SaveOutcome SaveNamed(AppState& app, const std::string& path) {
  IconLayout layout;
  if (Capture(app, layout) < 0) return SaveOutcome::kCaptureFailed;
  if (SaveLayoutFileKeepingHistory(path.c_str(), layout, app.host.Displays(), CurrentLocalTime()) != 1) {
    return SaveOutcome::kWriteFailed;
  }
  RememberNamedFile(app, path);
  return SaveOutcome::kSaved;
}

void ReportSaveFailure(AppState& app, SaveOutcome outcome, unsigned caption) {
  if (outcome == SaveOutcome::kCaptureFailed) app.host.ShowError(IDS_CAPTURE_FAILED, caption);
  if (outcome == SaveOutcome::kWriteFailed) app.host.ShowError(IDS_SAVE_FAILED, caption);
}

Restored Restore(AppState& app, IconLayout& layout) {
  RestoreReport report;
  if (RestoreKeepingUndo(app, app.view, layout, true, &report) != 0) return {RestoreOutcome::kNoDesktop};
  if (report.arranges) return {RestoreOutcome::kShellArranges};
  // While locked, what the restore put on the desktop is held from now on.
  if (app.lock.On()) (void)app.lock.HoldDesktop(app);
  if (report.notKept > 0) return {RestoreOutcome::kNotKept, report.notKept};
  return {RestoreOutcome::kRestored};
}

// A file of another setup restores the icons of the monitors this one has.
Restored RestoreNamed(AppState& app, const std::string& path) {
  IconLayout layout;
  DisplaySetup savedOn;
  if (LoadLayoutFile(path.c_str(), layout, &savedOn) != 1 || HoldsNoLayout(layout)) return {RestoreOutcome::kNoLayout};
  layout = PlaceOnMonitors(layout, savedOn, app.host.Displays());
  const Restored restored = Restore(app, layout);
  // A kept version of the setup's own file is no named file of the user's.
  if (restored.outcome != RestoreOutcome::kNoDesktop && !IsKeptVersion(app, path)) RememberNamedFile(app, path);
  return restored;
}

Restored RestoreDefault(AppState& app) {
  IconLayout layout;
  if (!LoadDefaultLayout(app.host, layout)) return {RestoreOutcome::kNoLayout};
  return Restore(app, layout);
}

// The menu's word on a restore: a desktop that could not be read is passed
// over in silence, as it always was.
void ReportRestore(AppState& app, const Restored& restored) {
  switch (restored.outcome) {
    case RestoreOutcome::kNoLayout:
      app.host.ShowError(IDS_NO_LAYOUT, IDS_ERROR_CAPTION_NAMED);
      break;
    case RestoreOutcome::kShellArranges:
      app.host.ShowError(IDS_SHELL_ARRANGES, IDS_ERROR_CAPTION_NAMED);
      break;
    case RestoreOutcome::kNotKept:
      app.host.ShowError(IDS_NOT_KEPT, IDS_ERROR_CAPTION_NAMED, restored.notKept);
      break;
    default:
      break;
  }
}

}  // namespace

std::string MakeLayoutFileFilter(const std::string& resolutionTag, bool keptVersions, const std::string& layoutsName,
                                 const std::string& allName) {
  // The kept versions: the time of their keeping before the extension.
  const std::string stem = resolutionTag.substr(0, resolutionTag.rfind('.'));
  // "*.1024x768.????????-??????*.qvd": a date, a time and maybe a number.
  const std::string stamp = std::string(8, '?') + '-' + std::string(6, '?');
  const std::string kept = keptVersions ? ";*." + stem + "." + stamp + "*" + resolutionTag.substr(stem.size()) : "";
  char text[1024];
  std::snprintf(text, sizeof text, "%s(*.%s)\n*.%s%s\n%s(*.*)\n*.*\n", layoutsName.c_str(), resolutionTag.c_str(),
                resolutionTag.c_str(), kept.c_str(), allName.c_str());
  std::string filter(text);
  for (char& c : filter) {
    if (c == '\n') c = '\0';
  }
  // The last line feed became the first NUL of the closing pair; the pair is
  // part of the text, not left to the string's terminator.
  filter.push_back('\0');
  return filter;
}

int SaveDefaultLayout(AppState& app) {
  ReportSaveFailure(app, SaveDefault(app), IDS_ERROR_CAPTION);
  return 0;
}

int RestoreDefaultLayout(AppState& app) {
  ReportRestore(app, RestoreDefault(app));
  return 0;
}

int SaveLayoutAs(AppState& app) {
  std::string path;
  if (!app.host.ChooseFile(MakeRequest(app, true), path)) return 0;
  ReportSaveFailure(app, SaveNamed(app, path), IDS_ERROR_CAPTION_NAMED);
  return 0;
}

int RestoreLayoutFrom(AppState& app, const std::string& folder) {
  std::string path;
  FileDialogRequest request = MakeRequest(app, false);
  request.initialFolder = folder;
  if (!app.host.ChooseFile(request, path)) return 0;
  ReportRestore(app, RestoreNamed(app, path));
  return 0;
}

int RestoreLayoutFromFile(AppState& app, const std::string& path) {
  ReportRestore(app, RestoreNamed(app, path));
  return 0;
}

bool SaveLayoutQuietly(AppState& app, const std::string& file) {
  return (file.empty() ? SaveDefault(app) : SaveNamed(app, file)) == SaveOutcome::kSaved;
}

bool RestoreLayoutQuietly(AppState& app, const std::string& file) {
  return (file.empty() ? RestoreDefault(app) : RestoreNamed(app, file)).outcome == RestoreOutcome::kRestored;
}
