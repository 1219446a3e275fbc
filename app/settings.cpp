#include "app/settings.h"

#include "framework/files/app_paths.h"

namespace {

const char* kStartKey = "Start_AutoRestore";
const char* kResolutionRestoreKey = "Resolution_AutoRestore";
const char* kResolutionCaptureKey = "Resolution_AutoCapture";
// Keys of older versions, read as defaults of the new keys and removed on save.
const char* kLegacyStartKey = "StartRestore";
const char* kLegacyResolutionRestoreKey = "AutoRestore";

}  // namespace

int AppSettings::Load() {
  char userPath[1024];
  char programPath[1024];
  const char* user = MakeAppDataPath(kMakerFolder, kProductFolder, kSettingsFileName, userPath);
  const char* program = MakeModulePath(kSettingsFileName, programPath);
  return LoadFrom(user, program);
}

int AppSettings::LoadFrom(const char* userPath, const char* programPath) {
  if (!userPath || profile.Open(userPath, 1, 0) != 1) {
    if (!programPath || profile.Open(programPath, 1, 0) != 1) {
      profile.Close();
      return 0;
    }
  }
  startAutoRestore = profile.GetBool(kSettingsSection, kLegacyStartKey, startAutoRestore);
  startAutoRestore = profile.GetBool(kSettingsSection, kStartKey, startAutoRestore);
  resolutionAutoRestore = profile.GetBool(kSettingsSection, kLegacyResolutionRestoreKey, resolutionAutoRestore);
  resolutionAutoRestore = profile.GetBool(kSettingsSection, kResolutionRestoreKey, resolutionAutoRestore);
  resolutionAutoCapture = profile.GetBool(kSettingsSection, kResolutionCaptureKey, resolutionAutoCapture);
  profile.Close();
  return 1;
}

int AppSettings::Save() {
  char userPath[1024];
  return SaveTo(MakeAppDataPath(kMakerFolder, kProductFolder, kSettingsFileName, userPath));
}

int AppSettings::SaveTo(const char* userPath) {
  if (!userPath || profile.Open(userPath, 0, 0) != 1) {
    profile.Close();
    return 0;
  }
  profile.WriteBool(kSettingsSection, kStartKey, startAutoRestore);
  profile.WriteBool(kSettingsSection, kResolutionRestoreKey, resolutionAutoRestore);
  profile.WriteBool(kSettingsSection, kResolutionCaptureKey, resolutionAutoCapture);
  profile.DeleteKey(kSettingsSection, kLegacyStartKey);
  profile.DeleteKey(kSettingsSection, kLegacyResolutionRestoreKey);
  profile.Close();
  return 1;
}

int PrepareSettingsFolder() { return EnsureAppDataFolder(kMakerFolder, kProductFolder); }
