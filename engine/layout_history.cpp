#include "engine/layout_history.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
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

bool IsDigits(const std::string& text, size_t from, size_t count) {
  if (from + count > text.size()) return false;
  return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(from),
                     text.begin() + static_cast<std::ptrdiff_t>(from + count), [](char c) { return c >= '0' && c <= '9'; });
}

struct Kept {
  std::string name;
  std::string stamp;  // "20261208-143005"
  int sequence;
};

// The files of `names` kept for `fileName`, oldest first.
std::vector<Kept> KeptFilesOf(const std::vector<std::string>& names, const std::string& fileName) {
  std::string base;
  std::string extension;
  SplitExtension(fileName, base, extension);
  std::vector<Kept> kept;
  for (const std::string& name : names) {
    // base "." yyyymmdd "-" hhmmss ["-" n] extension
    const size_t from = base.size() + 1;
    if (name.size() < from + 15 + extension.size() || name.compare(0, base.size(), base) != 0 ||
        name[base.size()] != '.' || name.compare(name.size() - extension.size(), extension.size(), extension) != 0) {
      continue;
    }
    const std::string middle = name.substr(from, name.size() - extension.size() - from);
    if (!IsDigits(middle, 0, 8) || middle[8] != '-' || !IsDigits(middle, 9, 6)) continue;
    int sequence = 1;
    if (middle.size() > 15) {
      if (middle[15] != '-' || !IsDigits(middle, 16, middle.size() - 16) || middle.size() > 20) continue;
      sequence = std::atoi(middle.c_str() + 16);
    }
    kept.push_back({name, middle.substr(0, 15), sequence});
  }
  std::sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) {
    return a.stamp != b.stamp ? a.stamp < b.stamp : a.sequence < b.sequence;
  });
  return kept;
}

}  // namespace

LocalTime CurrentLocalTime() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (!local) return LocalTime{};
  return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min, local->tm_sec};
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

int SaveLayoutFileKeepingHistory(const char* path, const IconLayout& layout, const LocalTime& time,
                                 FileSeam& files) {
  // What the save replaces, read before it does.
  std::string replaced;
  const bool keep = GetPathKind(path) == kPathFile && ReadWholeFile(path, replaced);
  const int result = SaveLayoutFile(path, layout, files);
  if (result != 1 || !keep) return result;

  char folder[1024] = {};
  const std::string target(path);
  const size_t slash = target.rfind('\\');
  if (GetDirectoryPart(path, folder, sizeof folder) == 0 || slash == std::string::npos) return result;
  const std::string fileName = target.substr(slash + 1);
  const std::string history = std::string(folder) + "\\" + kHistoryFolder;
  if (CreateDirectoryTree(history.c_str()) != 1) return result;
  std::string kept;
  for (int sequence = 1; sequence < 100; ++sequence) {
    kept = history + "\\" + KeptLayoutName(fileName, time, sequence);
    if (GetPathKind(kept.c_str()) == kPathAbsent) break;
  }
  if (!ReplaceFileContent(kept.c_str(), replaced, files)) return result;

  const std::vector<Kept> all = KeptFilesOf(ListFileNames(history.c_str()), fileName);
  for (size_t i = 0; i + kKeptLayouts < all.size(); ++i) files.Remove((history + "\\" + all[i].name).c_str());
  return result;
}
