// The four layout commands of the tray menu: save to and restore from the
// current resolution's "default" file, and save to and restore from a file
// the user chooses.  Each returns 0; failures are told with a message box.
// The command line's forms of Save and Restore do the same work quietly.
// While the lock is on (icon_lock.h), what a Save writes or a restore puts on
// the desktop is the layout held from then on.
#pragma once

#include <string>

struct AppState;

int SaveDefaultLayout(AppState& app);
int RestoreDefaultLayout(AppState& app);
int SaveLayoutAs(AppState& app);
// `folder`: where the dialog opens; empty, where the system chooses.
int RestoreLayoutFrom(AppState& app, const std::string& folder = "");
// Restore from `path`, chosen otherwise than by the dialog (the tray menu's
// list of layouts at hand), with the messages of Restore from.
int RestoreLayoutFromFile(AppState& app, const std::string& path);

// Save and Restore (`file` empty) or Save as and Restore from (`file` the
// path), as the menu carries them out but without dialog or message box.
// A named file saved or restored joins the files used lately
// (recent_files.h).
// True when the layout was written, or read and put back; false when the
// desktop could not be read, the write failed, or the file could not be
// read (or, without it, no "default" path could be formed), and when the
// shell did not keep the restored places (it arranges the icons itself, or
// moved some elsewhere), which the menu's commands tell in a message box.
bool SaveLayoutQuietly(AppState& app, const std::string& file);
bool RestoreLayoutQuietly(AppState& app, const std::string& file);

// The file dialogs' filter for a setup's tag ("1024x768.qvd"): the layout
// files of that setup first, with `keptVersions` their kept versions among
// them ("default.1024x768.20261208-143005.qvd"), then all files, shown as
// `layoutsName` and `allName` with their patterns; NUL-separated pairs ending
// in two NULs.
std::string MakeLayoutFileFilter(const std::string& resolutionTag, bool keptVersions, const std::string& layoutsName,
                                 const std::string& allName);
