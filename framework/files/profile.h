// Profile (INI) files: typed reads and writes of single values, and the
// removal of a key or a whole section.
//
// Values are read and written with the rules of the Windows private-profile
// functions (on Windows those functions themselves, elsewhere ProfileText).
// Flags are stored as "true"/"false", integers as "%d".  Every operation
// names the file by its path; no file stays open between calls.  A file is
// never rewritten in place: a removal, and on other systems every write,
// goes through a temporary file that replaces the old one only when it was
// written whole, through the file seam the profile was given (file_seam.h;
// the system's by default).  Paths are full paths: Windows looks for a
// bare file name in its own folder, other systems in the current one.
#pragma once

#include <string>
#include <string_view>

#include "framework/files/file_seam.h"
#include "framework/files/profile_text.h"

class CProfile {
 public:
  // The profile writes through `files`, which must outlive it.
  explicit CProfile(FileSeam& files = GetRealFileSeam()) : files(files) {}
  ~CProfile() = default;
  CProfile(const CProfile&) = delete;
  CProfile& operator=(const CProfile&) = delete;

  // Names the file (the path stays named whatever the result).  1 when it
  // is usable: the path does not exist yet (nothing is created), or it is a
  // file that opens with the asked access; 0 for a folder and for a file
  // that cannot be opened so.  With readOnly 0 and truncate non-zero an
  // existing file is emptied.
  int Open(const char* path, int readOnly, int truncate);
  // Forgets the path; always 1.
  int Close();
  const std::string& GetPath() const { return path; }

  // The value of section/key cut to size - 1 bytes, or the default text
  // when the file, section or key is absent.  Returns the bytes placed.
  int GetString(const char* section, const char* key, const char* defaultText, char* buffer, int size);
  // Stores key=value, creating the file, section and key as needed (the
  // file's folder must exist).  Non-zero on success.
  int WriteString(const char* section, const char* key, const char* value);
  // The value as a decimal integer (leading blanks, optional sign, digits up
  // to the first non-digit, modulo 2^32; no digits gives 0), or the default
  // when the key is absent or empty.
  int GetInt(const char* section, const char* key, int defaultValue);
  int WriteInt(const char* section, const char* key, int value);
  // 1 when the value is "true" in any case, 0 for any other text, the
  // default when the key is absent or empty.
  int GetBool(const char* section, const char* key, int defaultValue);
  // Writes "true" for non-zero, else "false".
  int WriteBool(const char* section, const char* key, int value);

  // Removes the section's header and every line up to the next line that
  // begins with "[", also for later copies of the section.  1 when the
  // section was found and the file rewritten, else 0.  As DeleteKey, the file
  // is rewritten with CR LF line ends even when nothing was found.
  int DeleteSection(const char* section);
  // Removes every line of the section that begins with "key=" (exactly,
  // case-sensitive).  1 when a line was removed and the file rewritten, else
  // 0.  The file is rewritten with CR LF line ends even when nothing was
  // removed; a missing file stays missing, and a failed write leaves the old
  // file as it was.
  int DeleteKey(const char* section, const char* key);

 private:
  int RewriteWithout(const char* section, const char* key);

  FileSeam& files;
  std::string path;
};

// 1 when the text is "true" in any case, else 0.
int ParseBool(const char* text);
// "true" for non-zero, "false" for 0.
const char* BoolText(int value);
// The integer rule of CProfile::GetInt.
int ParseProfileInt(const char* text);
int ParseProfileInt(std::string_view text);

// Reads the whole profile file at `path` at once, for reading many values of
// it: `text` then answers every read as CProfile would answer it value by
// value (on Windows a file in UTF-8 or UTF-16 is taken in the active code
// page, and a byte sequence that is no character of it as the system takes
// it).  1 read; 0 for a missing file, a folder, or a file that cannot be read.
int ReadProfileFile(const char* path, ProfileText& text);
// The same, as the bytes that `text` would be parsed from, for reading a
// large file line by line (ProfileText::ForEachLine).
int ReadProfileBytes(const char* path, std::string& bytes);
// `value` as CProfile's writes leave it in a file once the file has been read
// again (ProfileText::StoredValue; on Windows after the system has taken it
// through UTF-16): writing "key=" and this on a line of its own gives a file
// of the bytes that writing value by value gives.
std::string StoredProfileValue(const char* value);
