// The text of a profile (INI) file held in memory, with the reading and
// writing rules of the Windows private-profile functions.  The portable
// CProfile backend reads and writes profile files through it (on Windows the
// system's own functions do that work); in both builds the layout files are
// read and written whole through it (ReadProfileFile, StoredProfileValue in
// profile.h).
//
// Rules (each one settled by running the same test against Wine):
// - Lines end at LF or CR (so CR LF, LF and CR files all read alike); a UTF-8
//   byte-order mark at the start is skipped and written back.  Blank lines
//   carry nothing.  Blanks are tab, LF, VT, FF, CR, Ctrl-Z (0x1A) and space.
// - Leading blanks of a line are skipped.  A line that then begins with "["
//   and holds a "]" is a section header: the name lies between the "[" and
//   the last "]", without surrounding blanks.  Any other line is a key: the
//   name is the text before the first "=", the value the text after it, both
//   without surrounding blanks; a line without "=" is a key without a value
//   (it reads as absent).  Comment lines (";") are keys too; they are never
//   listed.  A name or value ends at its first NUL (the line goes on).  The
//   second byte of a two-byte character is never taken for a "]".
// - Lines before the first header belong to a section without a name, which
//   the section name "" finds.  Section and key names match without regard
//   to ASCII case (other letters, such as full-width ones, must match
//   exactly); the first section of a name is the only one looked at, and the
//   first key of a name in it.
// - A value read loses one pair of surrounding quotes ("..." or '...'); so
//   does the default, after its trailing spaces are cut.
// - Writing re-forms the file: "[name]" headers, "name=value" keys, CR LF
//   line ends, no blank lines.  A new value loses its leading blanks (line
//   breaks too), a new section goes to the end and a new key to the end of
//   its section.  Nothing is written when nothing changes.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class ProfileText {
  struct Key;

 public:
  // Reads the bytes of a profile file.
  static ProfileText Parse(const std::string& bytes);

  // One line of a profile file as the reading rules see it: a section header
  // or a key.  `name` and `value` are without surrounding blanks and end at
  // their first NUL; `value` keeps its quotes.  All are views into the bytes
  // read.
  struct Line {
    bool header = false;
    std::string_view name;
    std::string_view value;
    bool hasValue = false;   // a key line holds a "="
    size_t end = 0;          // where the next line begins
  };
  // Calls `visit` for every line of `bytes` from `from` that is not blank, in
  // order, until it returns false; `from` is 0 (a byte-order mark is then
  // passed over) or where a line begins.  For reading many values of a large
  // file without copying it: what Parse builds on.
  static void ForEachLine(std::string_view bytes, size_t from, const std::function<bool(const Line&)>& visit);
  // True when two section or key names match (ASCII letters in any case).
  static bool SameName(std::string_view a, std::string_view b);
  // A line's value as a read gives it: without one pair of surrounding
  // quotes, cut to at most size - 1 bytes, never inside a two-byte character.
  static std::string_view ValueAsRead(std::string_view value, int size);
  // The file's bytes in the written form.
  std::string Format() const;

  // GetPrivateProfileStringA on this text: copies the value of `key` in
  // `section` (or, with a null key, the list of key names of the section;
  // with a null section, the list of section names) into `buffer`, else the
  // default.  Returns the number of bytes placed, without the terminator.
  int Get(const char* section, const char* key, const char* defaultText, char* buffer, int size) const;

  // WritePrivateProfileStringA on this text: sets key=value, removes the key
  // (null value) or the section (null key).  False when nothing changed.
  bool Set(const char* section, const char* key, const char* value);

  // What `value` becomes in a file written with it once the file has been
  // read again: without surrounding blanks, and only up to its first line
  // break (the rest of it would be lines of their own).
  static std::string StoredValue(const char* value);

  // The keys of one section indexed by name, for reading many values of it:
  // Get(key, ...) answers as ProfileText::Get(section, key, ...) does for a
  // key name (not null), in constant time.  It points into the text, which
  // must outlive it unchanged.
  class SectionIndex {
   public:
    int Get(const char* key, const char* defaultText, char* buffer, int size) const;

   private:
    friend class ProfileText;
    // The slot of the name's key, or the free slot where it would go.
    size_t Slot(const char* name, size_t length) const;
    // The first key of each name, by a hash of its name; null: free.
    std::vector<const Key*> slots;
  };
  SectionIndex IndexSection(const char* section) const;

 private:
  struct Key {
    std::string name;
    std::string value;
    bool hasValue = false;
  };
  struct Section {
    std::string name;
    bool headed = false;  // false only for the lines before the first header
    std::vector<Key> keys;
  };

  Section* FindSection(const char* name);
  const Section* FindSection(const char* name) const;

  bool byteOrderMark = false;
  std::vector<Section> sections{Section{}};  // [0]: the lines before any header
};
