// The named layout files saved or restored lately, newest first, kept in
// Tessaly.ini (section "RecentFiles", keys "File1" to "File5", which earlier
// versions pass over) so that they outlive the program.
#pragma once

#include <string>
#include <vector>

struct AppState;

// How many named files are remembered.
inline constexpr int kRecentFiles = 5;

// Puts `path` first; a file of the same name (in any case) leaves its place.
// A list that cannot be written is not told.
void RememberNamedFile(AppState& app, const std::string& path);

// The files remembered, newest first.
std::vector<std::string> RecentNamedFiles(AppState& app);
