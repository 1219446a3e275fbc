#include "engine/layout_file.h"

#include <charconv>
#include <iterator>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/app_folder.h"
#include "engine/display_setup.h"
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
const char kMonitorsSection[] = "QVD-Monitors";
const char kVersion[] = "0.01";

// Keys that earlier versions do not know and pass over: the whole name where
// code page 932 cannot hold it, and the parsing name.
constexpr char kUnicodeNameKey[] = "IconUnicodeName_";
constexpr char kParsingNameKey[] = "IconParsingName_";
// The monitor an icon stood on, by its number in the monitors' section.
constexpr char kIconMonitorKey[] = "IconMonitor_";

// The monitors a layout was saved on, in a section of their own: earlier
// versions pass over it.  A file names at most this many; a section that
// claims more, or whose monitors are not whole, is passed over as well.
constexpr int kMostMonitors = 64;
constexpr const char* kMonitorStems[] = {"MonitorId_",    "MonitorLeft_", "MonitorTop_",     "MonitorWidth_",
                                         "MonitorHeight_", "MonitorDpi_", "MonitorPrimary_"};
constexpr int kMonitorFields = 7;

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

// UTF-8 text stored so that it reads back whole through any reader of
// profile files: bytes beyond ASCII, controls, "%" and quotes (and blanks at
// either end, which readers cut) as "%XX".  The file stays code page 932
// text, which a reader on Windows takes through UTF-16.
std::string EscapeUtf8(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  escaped.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const bool atEdge = i == 0 || i + 1 == text.size();
    if (c < 0x20 || c >= 0x7F || c == '%' || c == '"' || c == '\'' || (c == ' ' && atEdge)) {
      escaped += '%';
      escaped += kHex[c >> 4];
      escaped += kHex[c & 0xF];
    } else {
      escaped += static_cast<char>(c);
    }
  }
  return escaped;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// EscapeUtf8 undone; a "%" not followed by two hexadecimal digits stays.
std::string UnescapeUtf8(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == '%' && i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
    const int low = high >= 0 ? HexDigit(text[i + 2]) : -1;
    if (low >= 0) {
      plain += static_cast<char>(high << 4 | low);
      i += 2;
    } else {
      plain += text[i];
    }
  }
  return plain;
}

void AppendLine(std::string& text, const char* stem, int i, const std::string& value) {
  char key[32];
  text += EntryKey(key, stem, i);
  text += '=';
  text += value;
  text += "\r\n";
}

void AppendMonitors(std::string& text, const DisplaySetup& setup) {
  text += "[";
  text += kMonitorsSection;
  text += "]\r\nMonitorCount=" + std::to_string(setup.monitors.size()) + "\r\n";
  int i = 0;
  for (const Monitor& monitor : setup.monitors) {
    const int numbers[] = {monitor.left,   monitor.top, monitor.width,
                           monitor.height, monitor.dpi, monitor.primary ? 1 : 0};
    AppendLine(text, kMonitorStems[0], i, EscapeUtf8(monitor.id));
    for (int field = 1; field < kMonitorFields; ++field) {
      AppendLine(text, kMonitorStems[field], i, std::to_string(numbers[field - 1]));
    }
    ++i;
  }
}

// The file that writing the layout value by value through CProfile would
// leave, made at once: the writes would give the same lines in the same
// order, each value as the file keeps it.  The monitors come before the
// icons, so that a reader finds them on its way to the count.
std::string FormatLayout(const IconLayout& layout, const DisplaySetup& savedOn) {
  std::string text;
  text.reserve(64 + savedOn.monitors.size() * 160 + layout.size() * 96);
  text += "[";
  text += kFormatSection;
  text += "]\r\nVersion=";
  text += kVersion;
  text += "\r\n";
  if (!savedOn.monitors.empty()) AppendMonitors(text, savedOn);
  text += "[";
  text += kDataSection;
  text += "]\r\nIconCount=" + std::to_string(layout.size()) + "\r\n";
  // With one monitor every icon is on it; with several each says on which.
  const bool monitorOfEach = savedOn.monitors.size() > 1;
  int i = 0;
  for (const IconEntry& entry : layout) {
    AppendLine(text, "IconName_", i, StoredProfileValue(entry.name.c_str()));
    AppendLine(text, "IconPosX_", i, std::to_string(entry.x));
    AppendLine(text, "IconPosY_", i, std::to_string(entry.y));
    if (!entry.unicodeName.empty()) AppendLine(text, kUnicodeNameKey, i, EscapeUtf8(entry.unicodeName));
    if (!entry.parsingName.empty()) AppendLine(text, kParsingNameKey, i, EscapeUtf8(entry.parsingName));
    if (monitorOfEach) {
      const int monitor = MonitorAt(savedOn, entry.x, entry.y);
      if (monitor >= 0) AppendLine(text, kIconMonitorKey, i, std::to_string(monitor));
    }
    ++i;
  }
  return text;
}

// Where a file holds the values of the current format, found by the profile
// rules: the first section of a name is the one read, and the first key of a
// name in it.
struct FormatScan {
  bool versionFound = false;
  std::string_view version;  // as a read gives it
  bool dataFound = false;
  size_t dataBegin = 0;      // the line after the data section's header
  bool countFound = false;   // IconCount, with or without a value
  std::string_view count;
  bool monitorsFound = false;
  size_t monitorsBegin = 0;  // the line after the monitors' header
};

// Reads no further than it must: in a file as the writer makes it, up to
// the count.
FormatScan ScanFormat(const std::string& bytes) {
  FormatScan scan;
  enum class In { kOther, kFormat, kData } in = In::kOther;
  bool formatSeen = false;
  bool formatDone = false;
  bool dataDone = false;
  ProfileText::ForEachLine(bytes, 0, [&](const ProfileText::Line& line) {
    if (line.header) {
      if (in == In::kFormat) formatDone = true;
      if (in == In::kData) dataDone = true;
      in = In::kOther;
      if (!formatSeen && ProfileText::SameName(line.name, kFormatSection)) {
        formatSeen = true;
        in = In::kFormat;
      } else if (!scan.dataFound && ProfileText::SameName(line.name, kDataSection)) {
        scan.dataFound = true;
        scan.dataBegin = line.end;
        in = In::kData;
      } else if (!scan.monitorsFound && ProfileText::SameName(line.name, kMonitorsSection)) {
        scan.monitorsFound = true;
        scan.monitorsBegin = line.end;
      }
    } else if (in == In::kFormat && !scan.versionFound && ProfileText::SameName(line.name, "Version")) {
      scan.versionFound = true;
      formatDone = true;
      if (line.hasValue) scan.version = ProfileText::ValueAsRead(line.value, kNameBuffer);
    } else if (in == In::kData && !scan.countFound && ProfileText::SameName(line.name, "IconCount")) {
      scan.countFound = true;
      dataDone = true;
      if (line.hasValue) scan.count = ProfileText::ValueAsRead(line.value, kValueBuffer);
    }
    return !(formatDone && dataDone);
  });
  return scan;
}

enum class Field { kName, kX, kY, kUnicodeName, kParsingName, kMonitor };

// Which of `stems` a key such as "IconPosX_12" has (ASCII letters in any
// case), and its number as the writer forms it; -1 for any other key.
template <size_t N>
int ParseNumberedKey(std::string_view key, const std::string_view (&stems)[N], unsigned& number) {
  for (size_t which = 0; which < N; ++which) {
    const std::string_view stem = stems[which];
    if (key.size() <= stem.size() || !ProfileText::SameName(key.substr(0, stem.size()), stem)) continue;
    const std::string_view digits = key.substr(stem.size());
    if (digits.size() > 10 || (digits[0] == '0' && digits.size() > 1)) return -1;
    unsigned long long value = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return -1;
      value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 0x7FFFFFFF) return -1;
    number = static_cast<unsigned>(value);
    return static_cast<int>(which);
  }
  return -1;
}

// In the order of Field.
constexpr std::string_view kEntryStems[] = {"IconName_",     "IconPosX_",     "IconPosY_",
                                            kUnicodeNameKey, kParsingNameKey, kIconMonitorKey};
constexpr std::string_view kMonitorStemViews[] = {kMonitorStems[0], kMonitorStems[1], kMonitorStems[2],
                                                  kMonitorStems[3], kMonitorStems[4], kMonitorStems[5],
                                                  kMonitorStems[6]};
static_assert(std::size(kMonitorStemViews) == kMonitorFields);

// The monitors' section, from the line after its header; empty when it
// names no monitor, too many, or one that is not whole (a key missing, no
// size, a scale below 1).
DisplaySetup ReadMonitors(const std::string& bytes, const FormatScan& scan) {
  DisplaySetup setup;
  if (!scan.monitorsFound) return setup;
  int count = -1;
  std::vector<Monitor> monitors;
  std::vector<unsigned char> found;
  ProfileText::ForEachLine(bytes, scan.monitorsBegin, [&](const ProfileText::Line& line) {
    if (line.header) return false;
    if (count < 0 && ProfileText::SameName(line.name, "MonitorCount")) {
      count = line.hasValue ? ParseProfileInt(ProfileText::ValueAsRead(line.value, kValueBuffer)) : 0;
      if (count < 0 || count > kMostMonitors) count = 0;
      monitors.resize(static_cast<size_t>(count));
      found.assign(static_cast<size_t>(count), 0);
      return true;
    }
    unsigned number;
    const int field = ParseNumberedKey(line.name, kMonitorStemViews, number);
    // The count comes first, as the writer puts it.
    if (field < 0 || count < 0 || number >= static_cast<unsigned>(count) || (found[number] >> field & 1)) return true;
    found[number] = static_cast<unsigned char>(found[number] | 1u << field);
    if (!line.hasValue) return true;
    Monitor& monitor = monitors[number];
    const std::string_view value = ProfileText::ValueAsRead(line.value, kValueBuffer);
    if (field == 0) {
      monitor.id = UnescapeUtf8(value);
      return true;
    }
    const int n = ParseProfileInt(value);
    int* const numbers[] = {&monitor.left, &monitor.top, &monitor.width, &monitor.height, &monitor.dpi};
    if (field < kMonitorFields - 1) {
      *numbers[field - 1] = n;
    } else {
      monitor.primary = n == 1;
    }
    return true;
  });
  constexpr unsigned char kWhole = (1u << kMonitorFields) - 1;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const Monitor& m = monitors[i];
    if (found[i] != kWhole || m.width <= 0 || m.height <= 0 || m.dpi <= 0) return setup;
  }
  setup.monitors = std::move(monitors);
  return setup;
}

// Reads the current format from the file's bytes; `path` names the file for
// the bound of the count.  Every value is read as CProfile would read it,
// straight from the bytes: one pass over the data section.
// `monitors`: how many the file names; an icon's monitor is one of them.
// The number of entries the reader takes from the file, at most 0.
int EntryCount(const char* path, const FormatScan& scan) {
  int count = scan.count.empty() ? 0 : ParseProfileInt(scan.count);
  if (count > kCountAlwaysRead) {
    const int bound = CountBound(path);
    if (count > bound) count = bound;
  }
  return count > 0 ? count : 0;
}

int ReadEntries(const char* path, const std::string& bytes, const FormatScan& scan, int monitors,
                IconLayout& layout) {
  const int count = EntryCount(path, scan);
  if (count == 0) return 1;
  // Missing entries come back empty at (0, 0).
  layout.resize(static_cast<size_t>(count));
  // The first key of a name is the one read: a field once found is done.
  std::vector<unsigned char> found(static_cast<size_t>(count), 0);
  ProfileText::ForEachLine(bytes, scan.dataBegin, [&](const ProfileText::Line& line) {
    if (line.header) return false;
    unsigned number;
    const int which = ParseNumberedKey(line.name, kEntryStems, number);
    if (which < 0 || number >= static_cast<unsigned>(count)) return true;
    const Field field = static_cast<Field>(which);
    const unsigned char bit = static_cast<unsigned char>(1u << static_cast<int>(field));
    if (found[number] & bit) return true;
    found[number] |= bit;
    if (!line.hasValue) return true;
    IconEntry& entry = layout[number];
    switch (field) {
      case Field::kName: entry.name.assign(ProfileText::ValueAsRead(line.value, kNameBuffer)); break;
      case Field::kX: entry.x = ParseProfileInt(ProfileText::ValueAsRead(line.value, kValueBuffer)); break;
      case Field::kY: entry.y = ParseProfileInt(ProfileText::ValueAsRead(line.value, kValueBuffer)); break;
      case Field::kUnicodeName:
        entry.unicodeName = UnescapeUtf8(ProfileText::ValueAsRead(line.value, kValueBuffer));
        break;
      case Field::kParsingName:
        entry.parsingName = UnescapeUtf8(ProfileText::ValueAsRead(line.value, kValueBuffer));
        break;
      case Field::kMonitor: {
        const int monitor = ParseProfileInt(ProfileText::ValueAsRead(line.value, kValueBuffer));
        if (monitor >= 0 && monitor < monitors) entry.monitor = monitor;
        break;
      }
    }
    return true;
  });
  for (int i = 0; i < count; ++i) layout[static_cast<size_t>(i)].index = i;
  return 1;
}

}  // namespace

int GetLayoutFilePath(const char* name, const char* tag, char* buffer) {
  char folder[1024];
  if (GetAppDataFolder(nullptr, folder, sizeof folder) != 1) return 0;
  // A path longer than 1023 bytes is cut there.
  const int length = std::snprintf(buffer, 1024, "%s\\%s\\%s\\%s.%s", folder, kMakerFolder, kProductFolder, name, tag);
  return length >= 0 ? 1 : 0;
}

int SaveLayoutFile(const char* path, const IconLayout& layout, const DisplaySetup& savedOn, FileSeam& files) {
  // The target must take a write (not a folder, not read-only); it is not
  // emptied here.
  CProfile target;
  const int writable = target.Open(path, 0, 0);
  target.Close();
  if (writable != 1) return 0;
  return ReplaceFileContent(path, FormatLayout(layout, savedOn), files) ? 1 : 0;
}

int SaveLayoutFile(const char* path, const IconLayout& layout, FileSeam& files) {
  return SaveLayoutFile(path, layout, DisplaySetup{}, files);
}

int LoadLayoutFile(const char* path, IconLayout& layout, DisplaySetup* savedOn) {
  layout.clear();
  if (savedOn) savedOn->monitors.clear();
  std::string bytes;
  if (ReadProfileBytes(path, bytes) != 1) return 0;
  const FormatScan scan = ScanFormat(bytes);
  if (scan.version != kVersion) return ReadLayoutText(path, layout);
  DisplaySetup monitors = ReadMonitors(bytes, scan);
  const int read = ReadEntries(path, bytes, scan, static_cast<int>(monitors.monitors.size()), layout);
  if (savedOn) *savedOn = std::move(monitors);
  return read;
}

int CountLayoutIcons(const char* path) {
  std::string bytes;
  if (ReadProfileBytes(path, bytes) != 1) return -1;
  const FormatScan scan = ScanFormat(bytes);
  return scan.version == kVersion ? EntryCount(path, scan) : -1;
}

int ReadLayoutProfile(const char* path, IconLayout& layout) {
  layout.clear();
  std::string bytes;
  if (ReadProfileBytes(path, bytes) != 1) return 0;
  const FormatScan scan = ScanFormat(bytes);
  return ReadEntries(path, bytes, scan, static_cast<int>(ReadMonitors(bytes, scan).monitors.size()), layout);
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
