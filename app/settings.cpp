#include "app/settings.h"

#include <cstdio>
#include <string>

#include "framework/files/app_paths.h"
#include "framework/files/file_seam.h"
#include "framework/files/file_system.h"
#include "framework/files/text_file.h"

namespace {

const char* kStartKey = "Start_AutoRestore";
const char* kResolutionRestoreKey = "Resolution_AutoRestore";
const char* kResolutionCaptureKey = "Resolution_AutoCapture";
const char* kLockKey = "Lock_Icons";
const char* kLanguageKey = "Language";
// Keys of older versions, read as defaults of the new keys and removed on save.
const char* kLegacyStartKey = "StartRestore";
const char* kLegacyResolutionRestoreKey = "AutoRestore";

// Copies the file at `source` to a new file `target` through `files`.
bool CopyThroughSeam(const char* source, const char* target, FileSeam& files) {
  std::string bytes;
  if (!ReadWholeFile(source, bytes)) return false;
  FileSeam::File* file = files.Create(target);
  if (!file) return false;
  const bool written = files.Write(file, bytes.data(), bytes.size());
  return files.Close(file) && written;
}

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
  lockIcons = profile.GetBool(kSettingsSection, kLockKey, lockIcons);
  char code[64] = {};
  profile.GetString(kSettingsSection, kLanguageKey, "", code, sizeof code);
  if (*code) language = code;
  profile.Close();
  return 1;
}

int AppSettings::Save() {
  char userPath[1024];
  return SaveTo(MakeAppDataPath(kMakerFolder, kProductFolder, kSettingsFileName, userPath));
}

// The values go to a copy of the file beside it, which takes the file's
// place only once all of them are in: a save that fails at any step leaves the
// file as it was (a save half done would mix this run's options with the
// last).  The legacy keys are removed from the copy as well; one that cannot
// be removed does no harm, as the new keys win over it.
int AppSettings::SaveTo(const char* userPath) {
  const int writable = userPath ? profile.Open(userPath, 0, 0) : 0;
  profile.Close();
  if (writable != 1) return 0;

  const std::string temporary = std::string(userPath) + ".new~";
  bool written = GetPathKind(userPath) == kPathFile ? CopyThroughSeam(userPath, temporary.c_str(), files)
                                                    : profile.Open(temporary.c_str(), 0, 1) == 1;
  if (written && profile.Open(temporary.c_str(), 0, 0) == 1) {
    written = profile.WriteBool(kSettingsSection, kStartKey, startAutoRestore) &&
              profile.WriteBool(kSettingsSection, kResolutionRestoreKey, resolutionAutoRestore) &&
              profile.WriteBool(kSettingsSection, kResolutionCaptureKey, resolutionAutoCapture) &&
              profile.WriteBool(kSettingsSection, kLockKey, lockIcons);
    profile.DeleteKey(kSettingsSection, kLegacyStartKey);
    profile.DeleteKey(kSettingsSection, kLegacyResolutionRestoreKey);
  } else {
    written = false;
  }
  profile.Close();
  // The copy reaches the disk before it takes the file's place: a power cut
  // then leaves the old settings or the new ones, never an empty file.
  if (written && GetPathKind(temporary.c_str()) == kPathFile && files.Flush(temporary.c_str()) &&
      files.Replace(temporary.c_str(), userPath)) {
    return 1;
  }
  if (GetPathKind(temporary.c_str()) == kPathFile) files.Remove(temporary.c_str());
  return 0;
}

int PrepareSettingsFolder() { return EnsureAppDataFolder(kMakerFolder, kProductFolder); }
