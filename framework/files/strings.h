// Small functions over narrow, NUL-terminated texts in the ANSI code page.
//
// The functions called double-byte aware walk a text by characters: a lead
// byte (IsLeadByte) and the byte after it form one character, and only bytes
// at character starts are tested.  A lead byte that is the last byte of a
// text stands alone; no walk steps past the terminator.
#pragma once

#include <cstdint>

// 1 when the byte starts a two-byte character of the ANSI code page, else 0.
// On Windows that is the system's code page (none on code page 1252: "é\"
// is two characters there); the portable build holds to code page 932
// (0x81-0x9F, 0xE0-0xFC).
int IsLeadByte(unsigned char byte);

// Removes one final line feed.  1 removed, 0 not (also for an empty text).
int ChopNewline(char* text);

// Removes one final backslash that stands at a character start, so the
// second byte of a two-byte character is never cut.  1 removed, 0 not.
int RemoveTrailingBackslash(char* text);

// Every single-byte character equal to `from` becomes `to`; the number
// replaced.  With `to` = 0 a path falls apart into its components.
int ReplaceChar(char* text, char from, char to);

// Removes every single-byte occurrence of `c`, closing the gaps; the number
// removed.
int RemoveChar(char* text, char c);

// Removes the byte at `position`, closing the gap.  A position outside the
// text leaves it unchanged.  Returns the text.
char* DeleteCharAt(char* text, int position);

// A-Z to a-z (ToLowerChar) or a-z to A-Z (ToUpperChar); other bytes unchanged.
inline char ToLowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
inline char ToUpperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

// Copies `text` into `out` with A-Z lowered; two-byte characters are copied
// unchanged.  `out` must hold strlen(text) + 1 bytes.  Returns `out`.
char* ToLowerCopy(const char* text, char* out);
// The same, in place.  Returns the text.
char* ToLowerInPlace(char* text);

// Frees the string held by *slot (malloc'ed, or null) and stores a fresh
// malloc'ed copy of `text` there.  1 done, 0 when memory runs out (the slot is
// then null).  The caller frees the slot's string with free().
int AssignCopy(char** slot, const char* text);

// Byte comparison: the difference of the first differing bytes, each taken
// as a signed 8-bit value (so bytes from 0x80 sort before ASCII); 0 if equal.
int StrCompare(const char* a, const char* b);

// The last byte of the text; 0 for an empty text.
char LastChar(const char* text);
// Removes the last byte and returns it; an empty text stays empty and gives 0.
char PopLastChar(char* text);

// Writes `digits` into `out` with a "," before every group of `group` digits
// counted from the right ("1234567", 3 -> "1,234,567").  `size` is the size of
// `out` in bytes.  Returns a pointer to the terminator written, or null when
// the result does not fit or `group` is below 1.
char* InsertGroupSeparators(const char* digits, char* out, unsigned short size, int group);

// Two upper-case hexadecimal digits per byte, then a terminator.  Returns
// `out`, or null (writing nothing) when 2 * count + 1 is not below `size`.
char* BytesToHex(const void* data, int count, char* out, int size);

// Reads 0-9, A-F and a-f as hexadecimal digits and skips every other byte;
// digits beyond eight wrap around.
std::uint32_t HexToUInt(const char* text);
