#include "engine/layout_file.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/screen_size.h"
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

std::string EntryKey(const char* stem, int i) {
  char key[32];
  std::snprintf(key, sizeof key, "%s%d", stem, i);
  return key;
}

// Writes every value through the profile; false at the first that fails.
bool WriteLayout(CProfile& profile, const IconLayout& layout) {
  if (!profile.WriteString(kFormatSection, "Version", kVersion)) return false;
  if (!profile.WriteInt(kDataSection, "IconCount", static_cast<int>(layout.size()))) return false;
  int i = 0;
  for (const IconEntry& entry : layout) {
    if (!profile.WriteString(kDataSection, EntryKey("IconName_", i).c_str(), entry.name.c_str())) return false;
    if (!profile.WriteInt(kDataSection, EntryKey("IconPosX_", i).c_str(), entry.x)) return false;
    if (!profile.WriteInt(kDataSection, EntryKey("IconPosY_", i).c_str(), entry.y)) return false;
    ++i;
  }
  return true;
}

}  // namespace

int GetResolutionTag(char* buffer) {
  const ScreenSize screen = GetScreenSize();
  std::snprintf(buffer, 32, "%dx%d.qvd", screen.width, screen.height);
  return 1;
}

int GetLayoutFilePath(const char* name, char* buffer) {
  char tag[32];
  GetResolutionTag(tag);
  return GetLayoutFilePathFor(name, tag, buffer);
}

int GetLayoutFilePathFor(const char* name, const char* tag, char* buffer) {
  char folder[1024];
  if (GetAppDataFolder(nullptr, folder, sizeof folder) != 1) return 0;
  // A path longer than 1023 bytes is cut there.
  const int length = std::snprintf(buffer, 1024, "%s\\%s\\%s\\%s.%s", folder, "Brindle-Works", "Tessaly", name, tag);
  return length >= 0 ? 1 : 0;
}

int SaveLayoutFile(const char* path, const IconLayout& layout) {
  // The target must take a write (not a folder, not read-only); it is not
  // emptied here.
  CProfile target;
  const int writable = target.Open(path, 0, 0);
  target.Close();
  if (writable != 1) return 0;

  const std::string temporary = std::string(path) + ".new~";
  CProfile profile;
  bool written = profile.Open(temporary.c_str(), 0, 1) == 1 && WriteLayout(profile, layout);
  profile.Close();
  FileSeam& files = GetFileSeam();
  written = written && GetPathKind(temporary.c_str()) == kPathFile;
  if (written && files.Replace(temporary.c_str(), path)) return 1;
  if (GetPathKind(temporary.c_str()) == kPathFile) files.Remove(temporary.c_str());
  return 0;
}

int LoadLayoutFile(const char* path, IconLayout& layout) {
  layout.clear();
  CProfile profile;
  if (profile.Open(path, 1, 0) != 1) return 0;
  char version[kNameBuffer] = {};
  profile.GetString(kFormatSection, "Version", "", version, sizeof version);
  profile.Close();
  if (std::strcmp(version, kVersion) == 0) return ReadLayoutProfile(path, layout);
  return ReadLayoutText(path, layout);
}

int ReadLayoutProfile(const char* path, IconLayout& layout) {
  layout.clear();
  CProfile profile;
  if (profile.Open(path, 1, 0) != 1) return 0;
  int count = profile.GetInt(kDataSection, "IconCount", 0);
  if (count > kCountAlwaysRead) {
    const int bound = CountBound(path);
    if (count > bound) count = bound;
  }
  char name[kNameBuffer];
  for (int i = 0; i < count; ++i) {
    IconEntry entry;
    entry.index = i;
    name[0] = '\0';
    profile.GetString(kDataSection, EntryKey("IconName_", i).c_str(), "", name, sizeof name);
    entry.name = name;
    entry.x = profile.GetInt(kDataSection, EntryKey("IconPosX_", i).c_str(), 0);
    entry.y = profile.GetInt(kDataSection, EntryKey("IconPosY_", i).c_str(), 0);
    layout.push_back(std::move(entry));
  }
  profile.Close();
  return 1;
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
