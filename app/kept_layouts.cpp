#include "app/kept_layouts.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/recent_files.h"
#include "app/texts.h"
#include "engine/layout_history.h"
#include "framework/files/file_system.h"
#include "resources/resource.h"

namespace {

// The access keys of the entries, in their order: enough for the default
// file, its kept versions and the named files.
const char kAccessKeys[] = "1234567890ABCDEFGHIJKLMNPQRSTUVWY";
static_assert(sizeof kAccessKeys - 1 >= 1 + kKeptLayouts + kRecentFiles);

// "&" shows as itself in a menu only when doubled.
std::string MenuText(const std::string& text) {
  std::string shown;
  for (char c : text) {
    shown += c;
    if (c == '&') shown += '&';
  }
  return shown;
}

std::string Describe(AppHost& host, const KeptLayout& layout) {
  const LocalTime& t = layout.savedAt;
  char text[96];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  std::string label = text;
  if (layout.icons >= 0) label += WithNumber(host.Text(IDS_KEPT_ICONS), layout.icons);
  if (!layout.kept) label += host.Text(IDS_KEPT_CURRENT);
  return label;
}

// The file's name without its folder (the last backslash that is one).
std::string FileNameOf(const std::string& path) {
  char folder[1024];
  const int length = GetDirectoryPart(path.c_str(), folder, sizeof folder);
  return length > 0 ? path.substr(static_cast<size_t>(length) + 1) : path;
}

}  // namespace

std::string KeptLayoutsFolder(AppState& app) {
  std::string path;
  return app.host.DefaultLayoutPath(path) ? HistoryFolderOf(path) : std::string();
}

std::vector<KeptLayoutItem> KeptLayoutItems(AppState& app) {
  std::vector<KeptLayoutItem> items;
  const auto add = [&items](const std::string& text, const std::string& path) {
    items.push_back({std::string("&") + kAccessKeys[items.size()] + " " + MenuText(text), path, true});
  };
  std::string path;
  if (app.host.DefaultLayoutPath(path)) {
    for (const KeptLayout& layout : ListKeptLayouts(path)) add(Describe(app.host, layout), layout.path);
  }
  const size_t versions = items.size();
  for (const std::string& file : RecentNamedFiles(app)) {
    if (GetPathKind(file.c_str()) == kPathFile) add(FileNameOf(file), file);
  }
  if (versions > 0 && items.size() > versions) items[versions].separatorBefore = true;
  if (items.empty()) items.push_back({app.host.Text(IDS_KEPT_NONE), "", false});
  return items;
}
