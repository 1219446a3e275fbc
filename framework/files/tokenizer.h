// Cuts one line of text into fields.
//
// The field rule is exact and the older tab-separated layout files depend on
// it: the number of fields is always the number of separators plus one, so an
// empty text gives one empty field, two separators side by side give an empty
// field between them and a closing separator gives an empty last field.  The
// walk is byte by byte, not double-byte aware.
#pragma once

#include <string>
#include <vector>

class CTokenizer {
 public:
  CTokenizer() = default;
  CTokenizer(const CTokenizer&) = delete;
  CTokenizer& operator=(const CTokenizer&) = delete;

  // Takes a copy of `text` and splits it at every byte equal to `separator`.
  // Returns the number of fields.
  int Split(const char* text, char separator);
  // As Split, at every occurrence of the separator text (a plain byte search,
  // left to right, not overlapping).  An empty separator gives one field.
  int SplitString(const char* text, const char* separator);

  // Copies field `index` into `out`.  Returns the index, or -1 (leaving `out`
  // alone) when there is no such field.
  int GetToken(int index, std::string& out) const;
  // Copies field `index` into `buffer` of `size` bytes, always terminated; a
  // field longer than size - 1 bytes is cut there, never inside a two-byte
  // character.  Returns the index, or -1 (leaving the buffer alone) when there
  // is no such field or the buffer cannot hold even the terminator.
  int CopyToken(int index, char* buffer, int size) const;

  int GetCount() const { return static_cast<int>(fields.size()); }
  // The text of field `index` (valid until the next split), or null.
  const char* GetField(int index) const;

 private:
  std::string text;           // the tokenizer's own copy, cut by terminators
  std::vector<char*> fields;  // field starts, pointing into `text`
};

// One tokenizer shared by the whole process (not locked: main thread only).
int SharedSplit(const char* text, char separator);
int SharedSplitString(const char* text, const char* separator);
// As CTokenizer::CopyToken on the shared tokenizer; also -1 while the shared
// text is empty (before any split, or after splitting an empty text).
int SharedCopyToken(int index, char* buffer, int size);
