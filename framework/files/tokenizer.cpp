#include "framework/files/tokenizer.h"

#include <cstring>

#include "framework/files/strings.h"

int CTokenizer::Split(const char* input, char separator) {
  text.assign(input);
  fields.clear();
  char* p = &text[0];
  fields.push_back(p);
  for (; *p != '\0'; ++p) {
    if (*p == separator) {
      *p = '\0';
      fields.push_back(p + 1);
    }
  }
  return GetCount();
}

int CTokenizer::SplitString(const char* input, const char* separator) {
  text.assign(input);
  fields.clear();
  char* p = &text[0];
  fields.push_back(p);
  size_t separatorLength = std::strlen(separator);
  if (separatorLength == 0) return GetCount();
  while (char* found = std::strstr(p, separator)) {
    *found = '\0';
    p = found + separatorLength;
    fields.push_back(p);
  }
  return GetCount();
}

const char* CTokenizer::GetField(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return fields[static_cast<size_t>(index)];
}

int CTokenizer::GetToken(int index, std::string& out) const {
  const char* field = GetField(index);
  if (field == nullptr) return -1;
  out.assign(field);
  return index;
}

int CTokenizer::CopyToken(int index, char* buffer, int size) const {
  const char* field = GetField(index);
  if (field == nullptr || buffer == nullptr || size <= 0) return -1;
  int length = 0;
  while (field[length] != '\0') {
    int step = IsLeadByte(static_cast<unsigned char>(field[length])) && field[length + 1] != '\0' ? 2 : 1;
    if (length + step > size - 1) break;
    length += step;
  }
  std::memcpy(buffer, field, static_cast<size_t>(length));
  buffer[length] = '\0';
  return index;
}

namespace {

// The process-wide instance behind the Shared* functions.
CTokenizer sharedTokenizer;
bool sharedTextEmpty = true;

}  // namespace

int SharedSplit(const char* text, char separator) {
  sharedTextEmpty = *text == '\0';
  return sharedTokenizer.Split(text, separator);
}

int SharedSplitString(const char* text, const char* separator) {
  sharedTextEmpty = *text == '\0';
  return sharedTokenizer.SplitString(text, separator);
}

int SharedCopyToken(int index, char* buffer, int size) {
  if (sharedTextEmpty) return -1;
  return sharedTokenizer.CopyToken(index, buffer, size);
}
