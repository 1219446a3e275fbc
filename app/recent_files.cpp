#include "app/recent_files.h"

#include <string>

#include "app/app_state.h"
#include "app/settings.h"
#include "framework/files/profile.h"
#include "framework/files/profile_text.h"

namespace {

const char kSection[] = "RecentFiles";

std::string Key(int i) { return "File" + std::to_string(i + 1); }

}  // namespace

std::vector<std::string> RecentNamedFiles(AppState& app) {
  std::vector<std::string> files;
  std::string path;
  if (!app.host.SettingsFilePath(kSettingsFileName, path)) return files;
  CProfile profile;
  if (profile.Open(path.c_str(), 1, 0) != 1) return files;
  for (int i = 0; i < kRecentFiles; ++i) {
    char file[1024] = {};
    if (profile.GetString(kSection, Key(i).c_str(), "", file, sizeof file) > 0) files.push_back(file);
  }
  profile.Close();
  return files;
}

void RememberNamedFile(AppState& app, const std::string& file) {
  std::vector<std::string> files = RecentNamedFiles(app);
  std::vector<std::string> kept = {file};
  for (const std::string& earlier : files) {
    if (kept.size() < static_cast<size_t>(kRecentFiles) && !ProfileText::SameName(earlier, file)) {
      kept.push_back(earlier);
    }
  }
  std::string path;
  if (!app.host.SettingsFilePath(kSettingsFileName, path)) return;
  CProfile profile(app.settings.files);
  if (profile.Open(path.c_str(), 0, 0) != 1) return;
  for (int i = 0; i < kRecentFiles; ++i) {
    if (static_cast<size_t>(i) < kept.size()) {
      profile.WriteString(kSection, Key(i).c_str(), kept[static_cast<size_t>(i)].c_str());
    } else {
      profile.DeleteKey(kSection, Key(i).c_str());
    }
  }
  profile.Close();
}
