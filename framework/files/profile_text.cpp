#include "framework/files/profile_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "framework/files/strings.h"

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == '\x1A' || c == ' '; }

// The text between `begin` and `end` without surrounding blanks, up to its
// first NUL.
std::string_view TrimmedView(const char* begin, const char* end) {
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
  const char* nul = static_cast<const char*>(std::memchr(begin, '\0', static_cast<size_t>(end - begin)));
  return std::string_view(begin, static_cast<size_t>((nul != nullptr ? nul : end) - begin));
}

std::string Trimmed(const char* begin, const char* end) { return std::string(TrimmedView(begin, end)); }

std::string WithoutLeadingBlanks(const char* text) {
  while (IsBlank(*text)) ++text;
  return text;
}

// The last "]" from `begin` to `end` that stands at a character start, or
// null.
const char* LastClosingBracket(const char* begin, const char* end) {
  const char* found = nullptr;
  for (const char* p = begin; p < end; ++p) {
    if (*p == ']') found = p;
    else if (IsLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end) ++p;
  }
  return found;
}

// Names match when they are equal with ASCII letters lowered; the bytes of
// two-byte characters must be equal as they are.
bool SameName(const char* a, const char* b, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < length) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (ToLowerChar(a[i]) != ToLowerChar(b[i])) {
      return false;
    }
  }
  return true;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && SameName(a.data(), b.data(), a.size());
}

// A hash of a name by which names that match hash alike (FNV-1a).
std::uint64_t NameHash(const char* name, size_t length) {
  std::uint64_t hash = 14695981039346656037u;
  for (size_t i = 0; i < length; ++i) {
    char c = name[i];
    if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < length) {
      hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
      c = name[++i];
    } else {
      c = ToLowerChar(c);
    }
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
  }
  return hash;
}

std::string_view WithoutQuotes(std::string_view text) {
  size_t n = text.size();
  if (n >= 2 && (text[0] == '"' || text[0] == '\'') && text[n - 1] == text[0]) return text.substr(1, n - 2);
  return text;
}

// `text` cut at size - 1 bytes but never inside a two-byte character.
std::string_view Cut(std::string_view text, int size) {
  if (size <= 0) return std::string_view();
  if (text.size() < static_cast<size_t>(size)) return text;
  size_t length = 0;
  while (length < text.size()) {
    size_t step = IsLeadByte(static_cast<unsigned char>(text[length])) && length + 1 < text.size() ? 2 : 1;
    if (length + step > static_cast<size_t>(size - 1)) break;
    length += step;
  }
  return text.substr(0, length);
}

// Copies `text` into the caller's buffer, cut as Cut does.  Returns the bytes
// placed.
int CopyCut(std::string_view text, char* buffer, int size) {
  if (size <= 0) return 0;
  const std::string_view placed = Cut(text, size);
  std::memcpy(buffer, placed.data(), placed.size());
  buffer[placed.size()] = '\0';
  return static_cast<int>(placed.size());
}

// The default text as a read gives it: without trailing spaces and one
// pair of surrounding quotes.
int CopyDefault(const char* defaultText, char* buffer, int size) {
  std::string fallback = defaultText != nullptr ? defaultText : "";
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  return CopyCut(WithoutQuotes(fallback), buffer, size);
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

void ProfileText::ForEachLine(std::string_view bytes, size_t from, const std::function<bool(const Line&)>& visit) {
  const char* const begin = bytes.data();
  const char* p = begin + from;
  const char* end = begin + bytes.size();
  if (from == 0 && bytes.compare(0, 3, kByteOrderMark) == 0) p += 3;
  Line line;
  while (p < end) {
    const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    if (lineEnd == nullptr) lineEnd = end;
    // A CR ends a line too (CR LF, LF and CR files read alike).
    const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(lineEnd - p)));
    if (cr != nullptr) lineEnd = cr;
    const char* next = lineEnd < end ? lineEnd + 1 : end;
    while (p < lineEnd && IsBlank(*p)) ++p;
    if (p < lineEnd) {
      line.end = static_cast<size_t>(next - begin);
      const char* close = *p == '[' ? LastClosingBracket(p + 1, lineEnd) : nullptr;
      if (close != nullptr) {
        line.header = true;
        line.name = TrimmedView(p + 1, close);
        line.value = std::string_view();
        line.hasValue = false;
      } else {
        line.header = false;
        const char* equals = static_cast<const char*>(std::memchr(p, '=', static_cast<size_t>(lineEnd - p)));
        line.hasValue = equals != nullptr;
        line.name = TrimmedView(p, equals != nullptr ? equals : lineEnd);
        line.value = equals != nullptr ? TrimmedView(equals + 1, lineEnd) : std::string_view();
      }
      if (!visit(line)) return;
    }
    p = next;
  }
}

bool ProfileText::SameName(std::string_view a, std::string_view b) { return ::SameName(a, b); }

std::string_view ProfileText::ValueAsRead(std::string_view value, int size) { return Cut(WithoutQuotes(value), size); }

ProfileText ProfileText::Parse(const std::string& bytes) {
  ProfileText text;
  text.byteOrderMark = bytes.compare(0, 3, kByteOrderMark) == 0;
  ForEachLine(bytes, 0, [&text](const Line& line) {
    if (line.header) {
      Section section;
      section.name = line.name;
      section.headed = true;
      text.sections.push_back(std::move(section));
    } else {
      Key key;
      key.name = line.name;
      key.value = line.value;
      key.hasValue = line.hasValue;
      text.sections.back().keys.push_back(std::move(key));
    }
    return true;
  });
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
    // A list that would begin with its terminator (no keys, or a first key
    // without a name) gives the default instead.
    if (!names.empty() && !names.front()->empty()) return CopyList(names, buffer, size);
  } else if (found != nullptr) {
    std::string wanted = Trimmed(key, key + std::strlen(key));
    for (const Key& k : found->keys) {
      if (!SameName(k.name, wanted)) continue;
      if (!k.hasValue) break;
      return CopyCut(WithoutQuotes(k.value), buffer, size);
    }
  }
  return CopyDefault(defaultText, buffer, size);
}

ProfileText::SectionIndex ProfileText::IndexSection(const char* section) const {
  SectionIndex index;
  const Section* found = FindSection(section);
  if (found == nullptr) return index;
  // Open addressing, at most two thirds of the slots used.
  size_t slots = 16;
  while (slots < found->keys.size() + found->keys.size() / 2) slots *= 2;
  index.slots.assign(slots, nullptr);
  for (const Key& k : found->keys) {
    const Key*& slot = index.slots[index.Slot(k.name.data(), k.name.size())];
    if (slot == nullptr) slot = &k;  // the first key of a name is the one read
  }
  return index;
}

size_t ProfileText::SectionIndex::Slot(const char* name, size_t length) const {
  const size_t mask = slots.size() - 1;
  size_t i = static_cast<size_t>(NameHash(name, length)) & mask;
  while (slots[i] != nullptr &&
         !(slots[i]->name.size() == length && ::SameName(slots[i]->name.data(), name, length))) {
    i = (i + 1) & mask;
  }
  return i;
}

int ProfileText::SectionIndex::Get(const char* key, const char* defaultText, char* buffer, int size) const {
  const char* begin = key;
  const char* end = key + std::strlen(key);
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
  const Key* found = slots.empty() ? nullptr : slots[Slot(begin, static_cast<size_t>(end - begin))];
  if (found != nullptr && found->hasValue) return CopyCut(WithoutQuotes(found->value), buffer, size);
  return CopyDefault(defaultText, buffer, size);
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

std::string ProfileText::StoredValue(const char* value) {
  std::string stored = WithoutLeadingBlanks(value);
  stored.erase(std::min(stored.find_first_of("\r\n"), stored.size()));
  return Trimmed(stored.data(), stored.data() + stored.size());
}
