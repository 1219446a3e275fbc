#include "app/layout_commands.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/app_texts.h"
#include "engine/capture.h"
#include "engine/layout_file.h"
#include "engine/restore.h"

namespace {

int Capture(AppState& app, IconLayout& layout) {
  LayoutWork work(app);
  return CaptureIconLayout(app.view, layout);
}

void Restore(AppState& app, IconLayout& layout) {
  LayoutWork work(app);
  RestoreIconLayout(app.view, layout);
}

FileDialogRequest MakeRequest(AppState& app, bool save) {
  FileDialogRequest request;
  request.save = save;
  request.defaultExtension = app.host.ResolutionTag();
  request.filter = MakeLayoutFileFilter(request.defaultExtension);
  request.title = kFileDialogTitle;
  request.flags = save ? kSaveAsDialogFlags : kRestoreFromDialogFlags;
  return request;
}

}  // namespace

std::string MakeLayoutFileFilter(const std::string& resolutionTag) {
  char text[1024];
  std::snprintf(text, sizeof text, "アイコン位置保存データ(*.%s)\n*.%s\nすべてのファイル(*.*)\n*.*\n",
                resolutionTag.c_str(), resolutionTag.c_str());
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
  IconLayout layout;
  if (Capture(app, layout) < 0) {
    app.host.ShowError(kCaptureFailedText, kErrorCaption);
    return 0;
  }
  std::string path;
  if (!app.host.DefaultLayoutPath(path) || SaveLayoutFile(path.c_str(), layout) != 1) {
    app.host.ShowError(kSaveFailedText, kErrorCaption);
    return 0;
  }
  // The hook does not hear the user's own drags, so the snapshot may be older
  // than what was just saved; a display change must not undo this save.
  if (IsOn(app.settings.resolutionAutoCapture)) ReplaceSnapshot(app, path, layout);
  return 0;
}

int RestoreDefaultLayout(AppState& app) {
  std::string path;
  IconLayout layout;
  if (!app.host.DefaultLayoutPath(path) || LoadLayoutFile(path.c_str(), layout) != 1) {
    app.host.ShowError(kNoLayoutText, kErrorCaptionNamed);
    return 0;
  }
  Restore(app, layout);
  return 0;
}

int SaveLayoutAs(AppState& app) {
  std::string path;
  if (!app.host.ChooseFile(MakeRequest(app, true), path)) return 0;
  IconLayout layout;
  if (Capture(app, layout) < 0) {
    app.host.ShowError(kCaptureFailedText, kErrorCaptionNamed);
    return 0;
  }
  if (SaveLayoutFile(path.c_str(), layout) != 1) app.host.ShowError(kSaveFailedText, kErrorCaptionNamed);
  return 0;
}

int RestoreLayoutFrom(AppState& app) {
  std::string path;
  if (!app.host.ChooseFile(MakeRequest(app, false), path)) return 0;
  IconLayout layout;
  if (LoadLayoutFile(path.c_str(), layout) != 1) {
    app.host.ShowError(kNoLayoutText, kErrorCaptionNamed);
    return 0;
  }
  Restore(app, layout);
  return 0;
}
