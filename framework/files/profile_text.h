// The text of a profile (INI) file held in memory, with the reading and
// writing rules of the Windows private-profile functions.  The portable
// CProfile backend reads and writes profile files through it; on Windows the
// system's own functions do the same work.
//
// Rules (each one settled by running the same test against Wine):
// - Lines end at LF or CR (so CR LF, LF and CR files all read alike); a NUL
//   ends the line's text; a UTF-8 byte-order mark at the start is skipped and
//   written back.  Blank lines carry nothing.
// - Leading blanks (space, tab, VT, FF) of a line are skipped.  A line that
//   then begins with "[" and holds a "]" is a section header: the name lies
//   between the "[" and the last "]", without surrounding blanks.  Any other
//   line is a key: the name is the text before the first "=", the value the
//   text after it, both without surrounding blanks; a line without "=" is a
//   key without a value (it reads as absent).  Comment lines (";") are keys
//   too; they are never listed.
// - Lines before the first header belong to a section without a name, which
//   the section name "" finds.  Section and key names match without regard
//   to ASCII case (other letters, such as full-width ones, must match
//   exactly); the first section of a name is the only one looked at, and the
//   first key of a name in it.
// - A value read loses one pair of surrounding quotes ("..." or '...'); so
//   does the default, after its trailing spaces are cut.
// - Writing re-forms the file: "[name]" headers, "name=value" keys, CR LF
//   line ends, no blank lines.  A new value loses its leading blanks, a new
//   section goes to the end and a new key to the end of its section.
//   Nothing is written when nothing changes.
#pragma once

#include <string>
#include <vector>

class ProfileText {
 public:
  // Reads the bytes of a profile file.
  static ProfileText Parse(const std::string& bytes);
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
