#include "app/app_host.h"

#include "engine/app_folder.h"
#include "engine/display_setup.h"
#include "engine/layout_file.h"
#include "framework/files/app_paths.h"

bool AppHost::LayoutPathFor(const std::string& tag, std::string& path) {
  char buffer[1024] = {};
  if (GetLayoutFilePath("default", tag.c_str(), buffer) != 1) return false;
  path = buffer;
  return true;
}

bool AppHost::SettingsFilePath(const char* name, std::string& path) {
  char buffer[1024] = {};
  if (MakeAppDataPath(kMakerFolder, kProductFolder, name, buffer) == nullptr) return false;
  path = buffer;
  return true;
}

std::string AppHost::ResolutionTag() { return SetupTag(Displays()); }

DisplaySetup AppHost::Displays() { return QueryDisplaySetup(); }
