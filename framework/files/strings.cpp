#include "framework/files/strings.h"

#include <cstdlib>
#include <cstring>

namespace {

// Length in bytes of the character that starts at `p`: 2 for a lead byte
// followed by another byte, else 1.
inline int CharLength(const char* p) {
  return IsLeadByte(static_cast<unsigned char>(p[0])) && p[1] != '\0' ? 2 : 1;
}

}  // namespace

int ChopNewline(char* text) {
  size_t length = std::strlen(text);
  if (length == 0 || text[length - 1] != '\n') return 0;
  text[length - 1] = '\0';
  return 1;
}

int RemoveTrailingBackslash(char* text) {
  for (char* p = text; *p != '\0';) {
    int step = CharLength(p);
    if (step == 1 && p[1] == '\0') {
      if (*p != '\\') return 0;
      *p = '\0';
      return 1;
    }
    p += step;
  }
  return 0;
}

int ReplaceChar(char* text, char from, char to) {
  int count = 0;
  // The length is taken first: replacing with a terminator must not end the
  // walk early.
  char* end = text + std::strlen(text);
  for (char* p = text; p < end;) {
    int step = IsLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end ? 2 : 1;
    if (step == 1 && *p == from) {
      *p = to;
      ++count;
    }
    p += step;
  }
  return count;
}

int RemoveChar(char* text, char c) {
  int count = 0;
  char* out = text;
  for (const char* p = text; *p != '\0';) {
    int step = CharLength(p);
    if (step == 1 && *p == c) {
      ++count;
    } else {
      for (int i = 0; i < step; ++i) *out++ = p[i];
    }
    p += step;
  }
  *out = '\0';
  return count;
}

char* DeleteCharAt(char* text, int position) {
  size_t length = std::strlen(text);
  if (position < 0 || static_cast<size_t>(position) >= length) return text;
  std::memmove(text + position, text + position + 1, length - position);
  return text;
}

char* ToLowerCopy(const char* text, char* out) {
  char* o = out;
  for (const char* p = text; *p != '\0';) {
    int step = CharLength(p);
    if (step == 1) {
      *o++ = ToLowerChar(*p);
    } else {
      *o++ = p[0];
      *o++ = p[1];
    }
    p += step;
  }
  *o = '\0';
  return out;
}

char* ToLowerInPlace(char* text) { return ToLowerCopy(text, text); }

int AssignCopy(char** slot, const char* text) {
  // The copy is made before the old string goes, so the slot's own text may
  // be assigned to it.
  size_t size = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(size));
  if (copy != nullptr) std::memcpy(copy, text, size);
  std::free(*slot);
  *slot = copy;
  return copy != nullptr ? 1 : 0;
}

int StrCompare(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) {
    ++a;
    ++b;
  }
  return static_cast<signed char>(*a) - static_cast<signed char>(*b);
}

char LastChar(const char* text) {
  size_t length = std::strlen(text);
  return length == 0 ? '\0' : text[length - 1];
}

char PopLastChar(char* text) {
  size_t length = std::strlen(text);
  if (length == 0) return '\0';
  char last = text[length - 1];
  text[length - 1] = '\0';
  return last;
}

char* InsertGroupSeparators(const char* digits, char* out, unsigned short size, int group) {
  if (group < 1) return nullptr;
  size_t n = std::strlen(digits);
  size_t needed = n + (n == 0 ? 0 : (n - 1) / group);
  if (needed >= size) return nullptr;
  char* o = out;
  for (size_t i = 0; i < n; ++i) {
    *o++ = digits[i];
    size_t remaining = n - i - 1;
    if (remaining > 0 && remaining % group == 0) *o++ = ',';
  }
  *o = '\0';
  return o;
}

char* BytesToHex(const void* data, int count, char* out, int size) {
  static const char kDigits[] = "0123456789ABCDEF";
  if (count < 0 || 2LL * count + 1 >= size) return nullptr;
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  for (int i = 0; i < count; ++i) {
    out[2 * i] = kDigits[bytes[i] >> 4];
    out[2 * i + 1] = kDigits[bytes[i] & 0x0F];
  }
  out[2 * count] = '\0';
  return out;
}

std::uint32_t HexToUInt(const char* text) {
  std::uint32_t value = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    char c = *p;
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else continue;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return value;
}
