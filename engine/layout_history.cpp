#include "engine/layout_history.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iterator>
#include <vector>

#include "engine/layout_file.h"
#include "framework/files/file_system.h"
#include "framework/files/text_file.h"

namespace {

const char kHistoryFolder[] = "history";

// The part of `fileName` before its last ".", and the rest.
void SplitExtension(const std::string& fileName, std::string& base, std::string& extension) {
  const size_t dot = fileName.rfind('.');
  base = dot == std::string::npos ? fileName : fileName.substr(0, dot);
  extension = dot == std::string::npos ? std::string() : fileName.substr(dot);
}

// The number written in `count` digits at `from`, or -1.
int NumberAt(const std::string& text, size_t from, size_t count) {
  if (from + count > text.size()) return -1;
  int number = 0;
  for (size_t i = from; i < from + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    number = number * 10 + (text[i] - '0');
  }
  return number;
}

// The folder of `path` and the file's name, split at the last backslash that
// is one (not the second byte of a character such as 表); false without one.
bool SplitPath(const char* path, std::string& folder, std::string& fileName) {
  char buffer[1024];
  const int length = GetDirectoryPart(path, buffer, sizeof buffer);
  if (length <= 0) return false;
  folder.assign(buffer, static_cast<size_t>(length));
  fileName = path + length + 1;
  return true;
}

struct Kept {
  std::string name;
  KeptLayoutStamp stamp;
};

bool Older(const Kept& a, const Kept& b) {
  const LocalTime& s = a.stamp.time;
  const LocalTime& t = b.stamp.time;
  const int first[] = {s.year, s.month, s.day, s.hour, s.minute, s.second, a.stamp.sequence};
  const int second[] = {t.year, t.month, t.day, t.hour, t.minute, t.second, b.stamp.sequence};
  return std::lexicographical_compare(std::begin(first), std::end(first), std::begin(second), std::end(second));
}

// The files of `names` kept for `fileName`, oldest first.
std::vector<Kept> KeptFilesOf(const std::vector<std::string>& names, const std::string& fileName) {
  std::vector<Kept> kept;
  for (const std::string& name : names) {
    Kept file{name, {}};
    if (ReadKeptLayoutName(name, fileName, file.stamp)) kept.push_back(std::move(file));
  }
  std::sort(kept.begin(), kept.end(), Older);
  return kept;
}

}  // namespace

LocalTime LocalTimeOf(std::int64_t seconds) {
  const std::time_t moment = static_cast<std::time_t>(seconds);
  const std::tm* local = std::localtime(&moment);
  if (!local) return LocalTime{};
  return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min, local->tm_sec};
}

LocalTime CurrentLocalTime() { return LocalTimeOf(std::time(nullptr)); }

std::string HistoryFolderOf(const std::string& path) {
  std::string folder;
  std::string fileName;
  return SplitPath(path.c_str(), folder, fileName) ? folder + "\\" + kHistoryFolder : std::string(kHistoryFolder);
}

std::vector<KeptLayout> ListKeptLayouts(const std::string& path) {
  std::vector<KeptLayout> layouts;
  const auto add = [&layouts](const std::string& file, bool kept) {
    std::int64_t written = 0;
    if (!GetLastWriteTime(file.c_str(), written)) return;
    layouts.push_back({file, LocalTimeOf(written), CountLayoutIcons(file.c_str()), kept});
  };
  if (GetPathKind(path.c_str()) == kPathFile) add(path, false);
  std::string history;
  std::string fileName;
  if (!SplitPath(path.c_str(), history, fileName)) return layouts;
  history += std::string("\\") + kHistoryFolder;
  const std::vector<Kept> all = KeptFilesOf(ListFileNames(history.c_str()), fileName);
  for (auto kept = all.rbegin(); kept != all.rend() && layouts.size() < 1 + kKeptLayouts; ++kept) {
    add(history + "\\" + kept->name, true);
  }
  return layouts;
}

bool ReadKeptLayoutName(const std::string& keptName, const std::string& fileName, KeptLayoutStamp& stamp) {
  std::string base;
  std::string extension;
  SplitExtension(fileName, base, extension);
  // base "." yyyymmdd "-" hhmmss ["-" n] extension
  const size_t from = base.size() + 1;
  if (keptName.size() < from + 15 + extension.size() || keptName.compare(0, base.size(), base) != 0 ||
      keptName[base.size()] != '.' ||
      keptName.compare(keptName.size() - extension.size(), extension.size(), extension) != 0) {
    return false;
  }
  const std::string middle = keptName.substr(from, keptName.size() - extension.size() - from);
  LocalTime& t = stamp.time;
  t = {NumberAt(middle, 0, 4), NumberAt(middle, 4, 2), NumberAt(middle, 6, 2),
       NumberAt(middle, 9, 2), NumberAt(middle, 11, 2), NumberAt(middle, 13, 2)};
  if (middle[8] != '-' || t.year < 0 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 ||
      t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 60) {
    return false;
  }
  stamp.sequence = 1;
  if (middle.size() == 15) return true;
  // "-n", n from 2 to 99, as the writer numbers files of one second.
  const size_t digits = middle.size() - 16;
  if (middle[15] != '-' || digits < 1 || digits > 2 || middle[16] == '0') return false;
  stamp.sequence = NumberAt(middle, 16, digits);
  return stamp.sequence >= 2;
}

std::string KeptLayoutName(const std::string& fileName, const LocalTime& time, int sequence) {
  std::string base;
  std::string extension;
  SplitExtension(fileName, base, extension);
  char stamp[48];
  std::snprintf(stamp, sizeof stamp, ".%04d%02d%02d-%02d%02d%02d", time.year, time.month, time.day, time.hour,
                time.minute, time.second);
  std::string name = base + stamp;
  if (sequence > 1) name += "-" + std::to_string(sequence);
  return name + extension;
}

int SaveLayoutFileKeepingHistory(const char* path, const IconLayout& layout, const DisplaySetup& savedOn,
                                 const LocalTime& time, FileSeam& files) {
  // What the save replaces, and when that was written, read before it does.
  std::string replaced;
  std::int64_t replacedAt = 0;
  const bool keep = GetPathKind(path) == kPathFile && ReadWholeFile(path, replaced) &&
                    GetLastWriteTime(path, replacedAt);
  const int result = SaveLayoutFile(path, layout, savedOn, files);
  if (result != 1 || !keep) return result;

  std::string history;
  std::string fileName;
  if (!SplitPath(path, history, fileName)) return result;
  history += std::string("\\") + kHistoryFolder;
  if (CreateDirectoryTree(history.c_str()) != 1) return result;
  std::string kept;
  for (int sequence = 1; sequence < 100; ++sequence) {
    kept = history + "\\" + KeptLayoutName(fileName, time, sequence);
    if (GetPathKind(kept.c_str()) == kPathAbsent) break;
  }
  if (!ReplaceFileContent(kept.c_str(), replaced, files)) return result;
  // The kept file tells when its layout was saved, not when it was kept.
  (void)SetLastWriteTime(kept.c_str(), replacedAt);

  const std::vector<Kept> all = KeptFilesOf(ListFileNames(history.c_str()), fileName);
  for (size_t i = 0; i + kKeptLayouts < all.size(); ++i) files.Remove((history + "\\" + all[i].name).c_str());
  return result;
}
