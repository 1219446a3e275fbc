// CProfile on Windows: GetPrivateProfileStringA, WritePrivateProfileStringA,
// CreateFileA for the access probe, and the conversions through UTF-16 that
// those functions make.
#include <windows.h>

#include <string>

#include "framework/files/profile_backend.h"

namespace profilebackend {

namespace {

std::wstring ToWide(UINT codePage, const char* text, size_t length) {
  if (length == 0) return std::wstring();
  const int size = static_cast<int>(length);
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(codePage, 0, text, size, nullptr, 0)), L'\0');
  MultiByteToWideChar(codePage, 0, text, size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string ToActiveCodePage(const wchar_t* text, size_t length) {
  if (length == 0) return std::string();
  const int size = static_cast<int>(length);
  std::string bytes(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, size, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
  return bytes;
}

bool IsWideBlank(wchar_t c) { return (c >= L'\t' && c <= L'\r') || c == 0x1A || c == L' '; }

}  // namespace

int GetString(const char* section, const char* key, const char* defaultText, char* buffer, int size,
              const char* path) {
  return static_cast<int>(GetPrivateProfileStringA(section, key, defaultText, buffer, static_cast<DWORD>(size), path));
}

// The system writes the file in place, not through the seam.
int WriteString(const char* section, const char* key, const char* value, const char* path, FileSeam&) {
  return WritePrivateProfileStringA(section, key, value, path);
}

bool ProbeFile(const char* path, int readOnly, int truncate) {
  DWORD access = readOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = !readOnly && truncate ? CREATE_ALWAYS : OPEN_ALWAYS;
  HANDLE file = CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// The system reads a file that begins with the UTF-8 mark as UTF-8, one that
// begins with a UTF-16 signature (either byte order) as UTF-16, and any other
// in the active code page, and hands each value out in the active code page:
// the same conversions, made once for the whole file.
std::string DecodeFile(std::string bytes) {
  const char* data = bytes.data();
  const size_t size = bytes.size();
  if (size >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    const std::wstring wide = ToWide(CP_UTF8, data + 3, size - 3);
    return ToActiveCodePage(wide.data(), wide.size());
  }
  INT tests = IS_TEXT_UNICODE_SIGNATURE | IS_TEXT_UNICODE_REVERSE_SIGNATURE | IS_TEXT_UNICODE_ODD_LENGTH;
  IsTextUnicode(data, static_cast<int>(size), &tests);
  if (tests & (IS_TEXT_UNICODE_SIGNATURE | IS_TEXT_UNICODE_REVERSE_SIGNATURE)) {
    const bool swapped = (tests & IS_TEXT_UNICODE_SIGNATURE) == 0;
    std::wstring wide;
    wide.reserve(size / 2);
    for (size_t i = 2; i + 1 < size; i += 2) {
      const unsigned char first = static_cast<unsigned char>(data[i]);
      const unsigned char second = static_cast<unsigned char>(data[i + 1]);
      wide += static_cast<wchar_t>(swapped ? first << 8 | second : second << 8 | first);
    }
    return ToActiveCodePage(wide.data(), wide.size());
  }
  const std::wstring wide = ToWide(CP_ACP, data, size);
  return ToActiveCodePage(wide.data(), wide.size());
}

// WritePrivateProfileStringA takes the value through UTF-16, where a lead
// byte that ends the value is dropped, and stores it without its leading
// blanks.
std::string TakeValue(const char* value) {
  std::string bytes = value;
  size_t last = 0;  // where the last character starts
  for (size_t i = 0; i < bytes.size(); i += IsDBCSLeadByte(static_cast<BYTE>(bytes[i])) ? 2 : 1) last = i;
  if (!bytes.empty() && last == bytes.size() - 1 && IsDBCSLeadByte(static_cast<BYTE>(bytes[last]))) bytes.pop_back();
  const std::wstring wide = ToWide(CP_ACP, bytes.data(), bytes.size());
  size_t start = 0;
  while (start < wide.size() && IsWideBlank(wide[start])) ++start;
  return ToActiveCodePage(wide.data() + start, wide.size() - start);
}

}  // namespace profilebackend
