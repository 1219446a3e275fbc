// Earlier layouts: every layout file a save replaces is kept whole in
// "history\" beside it, named after it with the time of the replacement
// ("default.1024x768.qvd" is kept as
// "history\default.1024x768.20261208-143005.qvd"), the newest kKeptLayouts of
// each file.  A kept file is a layout file like any other.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/displays.h"
#include "engine/icon_layout.h"
#include "framework/files/file_seam.h"

inline constexpr int kKeptLayouts = 20;

// A moment of the local clock.
struct LocalTime {
  int year = 0;
  int month = 0;   // 1 to 12
  int day = 0;     // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The local clock now.
LocalTime CurrentLocalTime();

// The name under which `fileName` (no folder) replaced at `time` is kept: the
// time goes before the last extension.  `sequence` above 1 tells apart files
// kept within one second ("...20261208-143005-2.qvd").
std::string KeptLayoutName(const std::string& fileName, const LocalTime& time, int sequence = 1);

// What the name of a kept file tells: when its file was replaced.
struct KeptLayoutStamp {
  LocalTime time;
  int sequence = 1;
};

// Reads `keptName` as KeptLayoutName formed it for `fileName`; false for any
// other name (a date or time out of range, a sequence as it is never
// written), which the history then leaves alone.
bool ReadKeptLayoutName(const std::string& keptName, const std::string& fileName, KeptLayoutStamp& stamp);

// The moment of the local clock that `seconds` (since 1970-01-01 UTC) is.
LocalTime LocalTimeOf(std::int64_t seconds);

// A layout file and its kept versions, as a user picks one.
struct KeptLayout {
  std::string path;
  LocalTime savedAt;  // when the layout was saved: the file's last write
  int icons = -1;     // CountLayoutIcons
  bool kept = false;  // a kept version (false: the file itself)
};

// The file at `path`, where it exists, then its kept versions in the
// history beside it, newest first: at most 1 + kKeptLayouts.
std::vector<KeptLayout> ListKeptLayouts(const std::string& path);

// The history folder beside the file at `path` ("...\history").
std::string HistoryFolderOf(const std::string& path);

// Writes `layout`, taken on `savedOn`, to `path` as SaveLayoutFile does and, once it is written,
// keeps the file it replaced (with the time it was written) in the history
// beside it and lets go of the
// oldest kept files of that name beyond kKeptLayouts.  The history gets
// nothing when the write fails, and never the file just written; a history
// that cannot be written does not fail the save.  Returns SaveLayoutFile's
// result.
[[nodiscard]] int SaveLayoutFileKeepingHistory(const char* path, const IconLayout& layout, const DisplaySetup& savedOn,
                                               const LocalTime& time, FileSeam& files = GetRealFileSeam());
