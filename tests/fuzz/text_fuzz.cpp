// Any bytes through the tokenizer and the string helpers: no read or write
// outside the buffers (lead bytes at the very end included), and the field
// rule holds for every input.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/files/strings.h"
#include "framework/files/tokenizer.h"

#define CHECK(condition) \
  do {                   \
    if (!(condition)) std::abort(); \
  } while (0)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // First byte: the separator; the rest, cut at the first NUL, is the text.
  char separator = static_cast<char>(data[0]);
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  text = text.c_str();
  if (separator == '\0') separator = '\t';

  CTokenizer tokenizer;
  int count = tokenizer.Split(text.c_str(), separator);
  size_t separators = 0;
  for (char c : text) separators += c == separator ? 1 : 0;
  CHECK(count == static_cast<int>(separators) + 1);
  std::string joined;
  for (int i = 0; i < count; ++i) {
    std::string field;
    CHECK(tokenizer.GetToken(i, field) == i);
    joined += (i ? std::string(1, separator) : std::string()) + field;
    char small[8];
    std::memset(small, 0x7F, sizeof small);
    CHECK(tokenizer.CopyToken(i, small, 5) == i);
    CHECK(std::strlen(small) < 5 && small[5] == 0x7F);
  }
  CHECK(joined == text);
  std::string unused = "unchanged";
  CHECK(tokenizer.GetToken(count, unused) == -1 && unused == "unchanged");
  CHECK(tokenizer.Split(text.c_str(), separator) == count);  // a second split gives the same

  char twoBytes[3] = {separator, static_cast<char>(data[size - 1]), 0};
  tokenizer.SplitString(text.c_str(), twoBytes);
  SharedSplit(text.c_str(), separator);
  char shared[16];
  SharedCopyToken(count - 1, shared, sizeof shared);
  CHECK(SharedCopyToken(count, shared, sizeof shared) == -1);

  // The in-place helpers on an exact-size copy, so that any walk past the
  // terminator is caught.
  std::vector<char> copy(text.begin(), text.end());
  copy.push_back('\0');
  RemoveTrailingBackslash(copy.data());
  CHECK(std::strlen(copy.data()) + 1 >= text.size());
  copy.assign(text.begin(), text.end());
  copy.push_back('\0');
  int replaced = ReplaceChar(copy.data(), '\\', '/');
  CHECK(replaced >= 0 && std::strlen(copy.data()) == text.size());
  copy.assign(text.begin(), text.end());
  copy.push_back('\0');
  int removed = RemoveChar(copy.data(), separator);
  CHECK(std::strlen(copy.data()) + removed == text.size());
  std::vector<char> lower(text.size() + 1);
  ToLowerCopy(text.c_str(), lower.data());
  CHECK(std::strlen(lower.data()) == text.size());
  copy.assign(text.begin(), text.end());
  copy.push_back('\0');
  ChopNewline(copy.data());
  HexToUInt(text.c_str());
  std::vector<char> grouped(text.size() * 2 + 2);
  InsertGroupSeparators(text.c_str(), grouped.data(), static_cast<unsigned short>(grouped.size()), 3);
  std::vector<char> hex(text.size() * 2 + 1);
  CHECK(BytesToHex(text.data(), static_cast<int>(text.size()), hex.data(), static_cast<int>(hex.size())) ==
        nullptr);  // 2n + 1 is not below the size: refused
  return 0;
}
