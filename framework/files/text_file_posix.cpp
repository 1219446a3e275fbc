// POSIX: files carry no sharing restriction, and the C library leaves line ends
// alone, so CTextFile converts them for text modes.  Names are in the
// program's path form (system_path.h); wide names and modes reach the system
// as UTF-8.
#include "framework/files/text_file_backend.h"

#include <string>

#include "framework/files/system_path.h"

namespace textfile {

namespace {

std::string ToUtf8(const wchar_t* text) {
  std::string out;
  for (; *text != L'\0'; ++text) {
    unsigned long c = static_cast<unsigned long>(*text);
    if (c >= 0xD800 && c <= 0xDBFF && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned long>(text[1]) - 0xDC00);
      ++text;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

FILE* OpenShared(const char* name, const char* mode) {
  return std::fopen(systempath::ToSystem(name).c_str(), mode);
}

FILE* OpenSharedW(const wchar_t* name, const wchar_t* mode) {
  return std::fopen(systempath::ToSystem(ToUtf8(name).c_str()).c_str(), ToUtf8(mode).c_str());
}

bool NeedsLineEndTranslation(const char* mode) { return std::string(mode).find('b') == std::string::npos; }

bool NeedsLineEndTranslationW(const wchar_t* mode) { return std::wstring(mode).find(L'b') == std::wstring::npos; }

}  // namespace textfile
