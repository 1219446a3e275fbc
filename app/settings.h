// The program's options, their settings file Tessaly.ini and the
// settings folder that also holds the per-resolution layout files.
#pragma once

#include <string>

#include "engine/app_folder.h"
#include "framework/files/file_seam.h"
#include "framework/files/profile.h"

// The settings file, in the program's folder (engine/app_folder.h).
inline constexpr const char* kSettingsFileName = "Tessaly.ini";
inline constexpr const char* kSettingsSection = "General";

// An option counts as on only when its value is exactly 1.
inline bool IsOn(int option) { return option == 1; }

struct AppSettings {
  // Saves write through `files`, which must outlive the settings.
  explicit AppSettings(FileSeam& files = GetRealFileSeam()) : files(files), profile(files) {}

  int startAutoRestore = 0;       // restore the current resolution's layout at start-up
  int resolutionAutoRestore = 0;  // restore the new resolution's layout after a display change
  int resolutionAutoCapture = 0;  // keep a snapshot; write it to the old resolution's file on a change
  int lockIcons = 0;              // hold the icons where the user put them (icon_lock.h)
  // "Language" as the file holds it ("ja", "en"; empty when it has none):
  // the language of the texts in place of the display language's
  // (language.h), from the next start on.  Only read: a save keeps the key
  // of a file that has it, and adds none to a file that has not.
  std::string language;

  FileSeam& files;
  // Every read and write goes through this profile, opened for one load or
  // save and closed at its end.
  CProfile profile;

  // Reads the options from the per-user Tessaly.ini or, when no per-user path
  // can be formed or it cannot be opened, from Tessaly.ini beside the program.
  // Missing keys keep the current values; the legacy keys "StartRestore" and
  // "AutoRestore" count where the new keys are missing.  Returns 1 when a file
  // could be opened (a missing per-user file counts as opened), else 0.
  int Load();
  // Writes the options to the per-user Tessaly.ini and removes the legacy
  // keys.  Returns 0, and leaves the file as it was, when no per-user path can
  // be formed, the file cannot be opened for writing or a write fails; never
  // writes the file beside the program.
  int Save();

  // The same with the two locations given; a null path counts as one that
  // could not be formed.
  int LoadFrom(const char* userPath, const char* programPath);
  int SaveTo(const char* userPath);
};

// Creates the settings folder Brindle-Works\Tessaly under the per-user
// application-data folder when nothing stands at its path.  1 when it exists
// afterwards.
int PrepareSettingsFolder();
