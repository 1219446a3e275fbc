#include "engine/layout_file.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/app_folder.h"
#include "framework/files/file_seam.h"
#include "framework/files/file_system.h"
#include "framework/files/profile.h"
#include "framework/files/special_folders.h"
#include "framework/files/strings.h"
#include "framework/files/text_file.h"
#include "framework/files/tokenizer.h"

namespace {

const char kFormatSection[] = "QVD-Fomat";
const char kDataSection[] = "QVD-Data";
const char kVersion[] = "0.01";

// Names are at most 2047 bytes when read (a capture gives at most 2046).
constexpr int kNameBuffer = 2048;
// Numbers are read as CProfile::GetInt reads them: the first 8191 bytes.
constexpr int kValueBuffer = 8192;

// A file of L bytes holds fewer than L / 11 entries: every value of an entry
// takes a line of at least 11 bytes ("IconPosX_0=" and more).  Counts up to
// 1024 are always read in full, missing entries coming back empty at (0, 0);
// larger counts are cut to 1024 + L / 11, so that a damaged count such as
// 2000000000 costs time and memory in proportion to the file, not to the
// count.
constexpr int kCountAlwaysRead = 1024;
constexpr int kShortestEntryLine = 11;

int CountBound(const char* path) {
  const unsigned long long length = GetFileLength(path);
  const unsigned long long bound = kCountAlwaysRead + length / kShortestEntryLine;
  return static_cast<int>(bound);  // at most 1024 + 2^32 / 11, well within int
}

// "<stem><i>" in `key`, which holds 32 bytes.
const char* EntryKey(char* key, const char* stem, int i) {
  const size_t length = std::strlen(stem);
  std::memcpy(key, stem, length);
  *std::to_chars(key + length, key + 31, i).ptr = '\0';
  return key;
}

void AppendLine(std::string& text, const char* stem, int i, const std::string& value) {
  char key[32];
  text += EntryKey(key, stem, i);
  text += '=';
  text += value;
  text += "\r\n";
}

// The file that writing the layout value by value through CProfile would
// leave, made at once: the writes would give the same lines in the same
// order, each value as the file keeps it.
std::string FormatLayout(const IconLayout& layout) {
  std::string text;
  text.reserve(64 + layout.size() * 96);
  text += "[";
  text += kFormatSection;
  text += "]\r\nVersion=";
  text += kVersion;
  text += "\r\n[";
  text += kDataSection;
  text += "]\r\nIconCount=" + std::to_string(layout.size()) + "\r\n";
  int i = 0;
  for (const IconEntry& entry : layout) {
    AppendLine(text, "IconName_", i, StoredProfileValue(entry.name.c_str()));
    AppendLine(text, "IconPosX_", i, std::to_string(entry.x));
    AppendLine(text, "IconPosY_", i, std::to_string(entry.y));
    ++i;
  }
  return text;
}

// Reads the current format from the file's text; `path` names the file for
// the bound of the count.
int ReadEntries(const char* path, const ProfileText& text, IconLayout& layout) {
  const ProfileText::SectionIndex data = text.IndexSection(kDataSection);
  char value[kValueBuffer];
  auto readInt = [&data, &value](const char* key, int defaultValue) {
    if (data.Get(key, "", value, sizeof value) == 0) return defaultValue;
    return ParseProfileInt(value);
  };
  int count = readInt("IconCount", 0);
  if (count > kCountAlwaysRead) {
    const int bound = CountBound(path);
    if (count > bound) count = bound;
  }
  if (count > 0) layout.reserve(static_cast<size_t>(count));
  char name[kNameBuffer];
  char key[32];
  for (int i = 0; i < count; ++i) {
    IconEntry entry;
    entry.index = i;
    data.Get(EntryKey(key, "IconName_", i), "", name, sizeof name);
    entry.name = name;
    entry.x = readInt(EntryKey(key, "IconPosX_", i), 0);
    entry.y = readInt(EntryKey(key, "IconPosY_", i), 0);
    layout.push_back(std::move(entry));
  }
  return 1;
}

}  // namespace

int GetResolutionTag(ScreenSize screen, char* buffer) {
  std::snprintf(buffer, 32, "%dx%d.qvd", screen.width, screen.height);
  return 1;
}

int GetLayoutFilePath(const char* name, const char* tag, char* buffer) {
  char folder[1024];
  if (GetAppDataFolder(nullptr, folder, sizeof folder) != 1) return 0;
  // A path longer than 1023 bytes is cut there.
  const int length = std::snprintf(buffer, 1024, "%s\\%s\\%s\\%s.%s", folder, kMakerFolder, kProductFolder, name, tag);
  return length >= 0 ? 1 : 0;
}

int SaveLayoutFile(const char* path, const IconLayout& layout, FileSeam& files) {
  // The target must take a write (not a folder, not read-only); it is not
  // emptied here.
  CProfile target;
  const int writable = target.Open(path, 0, 0);
  target.Close();
  if (writable != 1) return 0;
  return ReplaceFileContent(path, FormatLayout(layout), files) ? 1 : 0;
}

int LoadLayoutFile(const char* path, IconLayout& layout) {
  layout.clear();
  ProfileText text;
  if (ReadProfileFile(path, text) != 1) return 0;
  char version[kNameBuffer] = {};
  text.Get(kFormatSection, "Version", "", version, sizeof version);
  if (std::strcmp(version, kVersion) == 0) return ReadEntries(path, text, layout);
  return ReadLayoutText(path, layout);
}

int ReadLayoutProfile(const char* path, IconLayout& layout) {
  layout.clear();
  ProfileText text;
  if (ReadProfileFile(path, text) != 1) return 0;
  return ReadEntries(path, text, layout);
}

int ReadLayoutText(const char* path, IconLayout& layout) {
  layout.clear();
  CTextFile file;
  if (!file.Open(path, "r")) return 0;
  char line[kNameBuffer];
  char number[kNameBuffer];
  int i = 0;
  while (file.GetLine(line, sizeof line)) {
    ChopNewline(line);
    CTokenizer fields;
    fields.Split(line, '\t');
    IconEntry entry;
    entry.index = i++;
    if (fields.GetCount() == 3) {
      fields.GetToken(0, entry.name);
      number[0] = '\0';
      fields.CopyToken(1, number, sizeof number);
      entry.x = ParseProfileInt(number);
      number[0] = '\0';
      fields.CopyToken(2, number, sizeof number);
      entry.y = ParseProfileInt(number);
    }
    layout.push_back(std::move(entry));
  }
  file.Close();
  return 1;
}
