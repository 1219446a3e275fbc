#include "engine/icon_names_win.h"

#include <windows.h>

namespace {

// The code page of the layout files' names, fixed: layout files written on
// one system restore on another, also on one whose ANSI code page is UTF-8.
constexpr UINT kNameCodePage = 932;
constexpr size_t kLongestName = 2046;

std::wstring FromNameCodePage(const std::string& bytes) {
  std::wstring wide(bytes.size(), L'\0');
  const int length = MultiByteToWideChar(kNameCodePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                                         static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return wide;
}

}  // namespace

std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  std::string bytes(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr)),
                    '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
  return bytes;
}

void SetShownName(std::wstring_view text, IconEntry& entry) {
  if (text.size() > static_cast<size_t>(kLongestShownText)) text = text.substr(0, kLongestShownText);
  std::string bytes;
  if (!text.empty()) {
    // Flags 0: the nearest likeness or "?" for what the code page lacks, as
    // the shell's ANSI messages show it.
    const int size = static_cast<int>(text.size());
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(kNameCodePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr)));
    WideCharToMultiByte(kNameCodePage, 0, text.data(), size, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                        nullptr);
  }
  if (bytes.size() > kLongestName) {
    size_t end = 0;
    for (size_t i = 0; i < kLongestName;) {
      const size_t step = IsDBCSLeadByteEx(kNameCodePage, static_cast<BYTE>(bytes[i])) ? 2 : 1;
      if (i + step > kLongestName) break;
      i += step;
      end = i;
    }
    bytes.resize(end);
  }
  entry.unicodeName = FromNameCodePage(bytes) == text ? std::string() : ToUtf8(text);
  entry.name = std::move(bytes);
}
