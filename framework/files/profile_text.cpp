#include "framework/files/profile_text.h"

#include <cstring>

#include "framework/files/strings.h"

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// The text between `begin` and `end` without surrounding blanks.
std::string Trimmed(const char* begin, const char* end) {
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
  return std::string(begin, end);
}

std::string WithoutLeadingBlanks(const char* text) {
  while (IsBlank(*text)) ++text;
  return text;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ToLowerChar(a[i]) != ToLowerChar(b[i])) return false;
  return true;
}

std::string WithoutQuotes(std::string text) {
  size_t n = text.size();
  if (n >= 2 && (text[0] == '"' || text[0] == '\'') && text[n - 1] == text[0]) return text.substr(1, n - 2);
  return text;
}

// Copies `text` into the caller's buffer, cut at size - 1 bytes but never
// inside a two-byte character.  Returns the bytes placed.
int CopyCut(const std::string& text, char* buffer, int size) {
  if (size <= 0) return 0;
  size_t length = 0;
  while (length < text.size()) {
    size_t step = IsLeadByte(static_cast<unsigned char>(text[length])) && length + 1 < text.size() ? 2 : 1;
    if (length + step > static_cast<size_t>(size - 1)) break;
    length += step;
  }
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

// Copies a list of names, each terminated, then one more terminator.  A
// list that does not fit is cut at size - 2 bytes and closed with two
// terminators; the result is then size - 2.
int CopyList(const std::vector<const std::string*>& names, char* buffer, int size) {
  if (size <= 0) return 0;
  std::string list;
  for (const std::string* name : names) {
    list += *name;
    list += '\0';
  }
  if (list.size() + 1 <= static_cast<size_t>(size)) {
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    if (list.empty() && size >= 2) buffer[1] = '\0';
    return static_cast<int>(list.size());
  }
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, list.data(), static_cast<size_t>(size - 2));
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

}  // namespace

ProfileText ProfileText::Parse(const std::string& bytes) {
  ProfileText text;
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  if (bytes.compare(0, 3, kByteOrderMark) == 0) {
    text.byteOrderMark = true;
    p += 3;
  }
  while (p < end) {
    const char* lineEnd = p;
    while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r') ++lineEnd;
    const char* next = lineEnd < end ? lineEnd + 1 : end;
    const char* nul = static_cast<const char*>(std::memchr(p, '\0', static_cast<size_t>(lineEnd - p)));
    if (nul != nullptr) lineEnd = nul;
    while (p < lineEnd && IsBlank(*p)) ++p;
    if (p < lineEnd) {
      const char* close = nullptr;
      if (*p == '[') {
        for (const char* q = lineEnd; q > p + 1; --q)
          if (q[-1] == ']') {
            close = q - 1;
            break;
          }
      }
      if (close != nullptr) {
        Section section;
        section.name = Trimmed(p + 1, close);
        section.headed = true;
        text.sections.push_back(std::move(section));
      } else {
        Key key;
        const char* equals = static_cast<const char*>(std::memchr(p, '=', static_cast<size_t>(lineEnd - p)));
        if (equals != nullptr) {
          key.name = Trimmed(p, equals);
          key.value = Trimmed(equals + 1, lineEnd);
          key.hasValue = true;
        } else {
          key.name = Trimmed(p, lineEnd);
        }
        text.sections.back().keys.push_back(std::move(key));
      }
    }
    p = next;
  }
  return text;
}

std::string ProfileText::Format() const {
  std::string out;
  for (const Section& section : sections) {
    if (section.headed) {
      out += '[';
      out += section.name;
      out += "]\r\n";
    }
    for (const Key& key : section.keys) {
      out += key.name;
      if (key.hasValue) {
        out += '=';
        out += key.value;
      }
      out += "\r\n";
    }
  }
  // A first name that begins with the mark's bytes would be read as the mark
  // next time; a real mark in front keeps it a name.
  if (byteOrderMark || out.compare(0, 3, kByteOrderMark) == 0) out.insert(0, kByteOrderMark);
  return out;
}

const ProfileText::Section* ProfileText::FindSection(const char* name) const {
  std::string wanted = Trimmed(name, name + std::strlen(name));
  for (const Section& section : sections)
    if (SameName(section.name, wanted)) return &section;
  return nullptr;
}

ProfileText::Section* ProfileText::FindSection(const char* name) {
  return const_cast<Section*>(static_cast<const ProfileText*>(this)->FindSection(name));
}

int ProfileText::Get(const char* section, const char* key, const char* defaultText, char* buffer, int size) const {
  if (section == nullptr) {
    std::vector<const std::string*> names;
    for (const Section& s : sections)
      if (!s.name.empty()) names.push_back(&s.name);
    return CopyList(names, buffer, size);
  }
  const Section* found = FindSection(section);
  if (found != nullptr && key == nullptr) {
    std::vector<const std::string*> names;
    for (const Key& k : found->keys)
      if (k.hasValue && k.name.compare(0, 1, ";") != 0) names.push_back(&k.name);
    return CopyList(names, buffer, size);
  }
  if (found != nullptr) {
    std::string wanted = Trimmed(key, key + std::strlen(key));
    for (const Key& k : found->keys) {
      if (!SameName(k.name, wanted)) continue;
      if (!k.hasValue) break;
      return CopyCut(WithoutQuotes(k.value), buffer, size);
    }
  }
  std::string fallback = defaultText != nullptr ? defaultText : "";
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  return CopyCut(WithoutQuotes(fallback), buffer, size);
}

bool ProfileText::Set(const char* section, const char* key, const char* value) {
  Section* found = FindSection(section);
  if (key == nullptr) {
    if (found == nullptr) return false;
    if (!found->headed) {
      if (found->keys.empty()) return false;
      found->keys.clear();
      return true;
    }
    sections.erase(sections.begin() + (found - sections.data()));
    return true;
  }
  std::string wanted = Trimmed(key, key + std::strlen(key));
  Key* existing = nullptr;
  if (found != nullptr)
    for (Key& k : found->keys)
      if (SameName(k.name, wanted)) {
        existing = &k;
        break;
      }
  if (value == nullptr) {
    if (existing == nullptr) return false;
    found->keys.erase(found->keys.begin() + (existing - found->keys.data()));
    return true;
  }
  std::string stored = WithoutLeadingBlanks(value);
  if (existing != nullptr) {
    if (existing->hasValue && existing->value == stored) return false;
    existing->value = stored;
    existing->hasValue = true;
    return true;
  }
  if (found == nullptr) {
    Section added;
    added.name = WithoutLeadingBlanks(section);
    added.headed = true;
    sections.push_back(std::move(added));
    found = &sections.back();
  }
  Key added;
  added.name = WithoutLeadingBlanks(key);
  added.value = stored;
  added.hasValue = true;
  found->keys.push_back(std::move(added));
  return true;
}
