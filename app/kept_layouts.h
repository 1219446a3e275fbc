// The tray menu's list of layouts at hand: for the display setup in force,
// its "default" file and the versions kept of it (layout_history.h), newest
// first, each by when it was saved and how many icons it holds; then the
// named files saved or restored lately (recent_files.h).  The menu ends the
// list with "その他…", the Restore from dialog opened in the history folder;
// choosing an entry restores it as Restore from does.
#pragma once

#include <string>
#include <vector>

struct AppState;

struct KeptLayoutItem {
  std::string label;  // in the ANSI code page, with its access key ("&1 ...")
  std::string path;   // the file to restore; empty for an entry that stands for nothing
  bool enabled = true;
  bool separatorBefore = false;  // the first named file, after the versions
};

// The entries of the list; one greyed entry when there is nothing to list.
std::vector<KeptLayoutItem> KeptLayoutItems(AppState& app);

// Where the versions of the setup's "default" file are kept; empty without an
// application-data folder.
std::string KeptLayoutsFolder(AppState& app);
