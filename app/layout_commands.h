// The four layout commands of the tray menu: save to and restore from the
// current resolution's "default" file, and save to and restore from a file
// the user chooses.  Each returns 0; failures are told with a message box.
#pragma once

#include <string>

struct AppState;

// OPENFILENAMEA flags of the two file dialogs.  Save as leaves out
// OFN_FILEMUSTEXIST, which would refuse every new file name.
inline constexpr unsigned long kSaveAsDialogFlags = 0x0404;       // OFN_HIDEREADONLY | OFN_EXTENSIONDIFFERENT
inline constexpr unsigned long kRestoreFromDialogFlags = 0x1404;  // ... | OFN_FILEMUSTEXIST

int SaveDefaultLayout(AppState& app);
int RestoreDefaultLayout(AppState& app);
int SaveLayoutAs(AppState& app);
int RestoreLayoutFrom(AppState& app);

// The file dialogs' filter for a resolution tag ("1024x768.qvd"): the layout
// files of that resolution first, then all files; NUL-separated pairs ending
// in two NULs.
std::string MakeLayoutFileFilter(const std::string& resolutionTag);
