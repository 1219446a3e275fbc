#include "framework/files/profile.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "framework/files/file_seam.h"
#include "framework/files/file_system.h"
#include "framework/files/profile_backend.h"
#include "framework/files/text_file.h"

namespace {

// Integer and flag values are fetched into a buffer of this many bytes.
constexpr int kValueBuffer = 8192;
// Headers and key prefixes are formatted into buffers of this size.
constexpr size_t kFormatBuffer = 1024;
// The rewrite reads the file in pieces of at most this many bytes - 1.
constexpr int kLineBuffer = 2048;

bool StartsWith(const std::string& line, const char* prefix, size_t length) {
  return line.compare(0, length, prefix, length) == 0 && line.size() >= length;
}

}  // namespace

int ParseBool(const char* text) {
  static const char kTrue[] = "true";
  for (int i = 0; i < 4; ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    if (c != kTrue[i]) return 0;
  }
  return text[4] == '\0' ? 1 : 0;
}

const char* BoolText(int value) { return value != 0 ? "true" : "false"; }

int ParseProfileInt(std::string_view text) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r')) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  // Stored values rely on the wrap-around: digits accumulate modulo 2^32.
  unsigned int value = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p) value = value * 10u + static_cast<unsigned int>(*p - '0');
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

int ParseProfileInt(const char* text) { return ParseProfileInt(std::string_view(text)); }

int CProfile::Open(const char* newPath, int readOnly, int truncate) {
  path = newPath;
  switch (GetPathKind(path.c_str())) {
    case kPathFolder:
      return 0;
    case kPathAbsent:
      return 1;
    default:
      return profilebackend::ProbeFile(path.c_str(), readOnly, truncate) ? 1 : 0;
  }
}

int CProfile::Close() {
  path.clear();
  path.shrink_to_fit();
  return 1;
}

int CProfile::GetString(const char* section, const char* key, const char* defaultText, char* buffer, int size) {
  // The platform takes the size as unsigned: a negative one would let it
  // write far past the buffer.
  if (buffer == nullptr || size <= 0) return 0;
  return profilebackend::GetString(section, key, defaultText, buffer, size, path.c_str());
}

int CProfile::WriteString(const char* section, const char* key, const char* value) {
  return profilebackend::WriteString(section, key, value, path.c_str(), files);
}

int CProfile::GetInt(const char* section, const char* key, int defaultValue) {
  char value[kValueBuffer];
  if (profilebackend::GetString(section, key, "", value, kValueBuffer, path.c_str()) == 0) return defaultValue;
  return ParseProfileInt(value);
}

int CProfile::WriteInt(const char* section, const char* key, int value) {
  char text[256];
  std::snprintf(text, sizeof text, "%d", value);
  return WriteString(section, key, text);
}

int CProfile::GetBool(const char* section, const char* key, int defaultValue) {
  char value[kValueBuffer];
  if (profilebackend::GetString(section, key, "", value, kValueBuffer, path.c_str()) == 0) return defaultValue;
  return ParseBool(value);
}

int CProfile::WriteBool(const char* section, const char* key, int value) {
  return WriteString(section, key, BoolText(value));
}

int CProfile::DeleteSection(const char* section) { return RewriteWithout(section, nullptr); }

int CProfile::DeleteKey(const char* section, const char* key) { return RewriteWithout(section, key); }

// The text rewrite behind DeleteKey (key given) and DeleteSection (key null).
// Lines are taken as a text-mode read gives them (CR LF as LF), but the file
// is read as bytes: a text-mode read stops at a Ctrl-Z, and the rewrite would
// drop everything after it.  Each decision is made on a whole line, also when
// the line is longer than the read buffer and arrives in pieces.  The kept
// text is written back with CR LF line ends through a temporary file, so a
// failed write leaves the file as it was.
int CProfile::RewriteWithout(const char* section, const char* key) {
  std::string kept;
  kept.reserve(65536);

  CTextFile file;
  if (file.Open(path.c_str(), "rb") == nullptr) return 0;

  char header[kFormatBuffer];
  std::snprintf(header, sizeof header, "[%s]", section);
  size_t headerLength = std::strlen(header);
  char prefix[kFormatBuffer] = "";
  if (key != nullptr) std::snprintf(prefix, sizeof prefix, "%s=", key);
  size_t prefixLength = std::strlen(prefix);

  bool inSection = false;
  bool matched = false;  // DeleteKey: a line was removed; DeleteSection: the section was found
  std::vector<char> piece(kLineBuffer);
  std::string line;
  bool more = true;
  while (more) {
    line.clear();
    for (;;) {
      if (file.GetLine(piece.data(), kLineBuffer) == nullptr) {
        more = false;
        break;
      }
      line += piece.data();
      if (!line.empty() && line.back() == '\n') break;
    }
    if (line.empty()) break;
    if (line.size() >= 2 && line[line.size() - 2] == '\r' && line.back() == '\n') line.erase(line.size() - 2, 1);

    bool keep = true;
    if (key != nullptr) {
      if (inSection) {
        if (line[0] == '[') inSection = false;
        if (StartsWith(line, prefix, prefixLength)) {
          keep = false;
          matched = true;
        }
      } else if (StartsWith(line, header, headerLength)) {
        inSection = true;
      }
    } else {
      if (inSection) {
        if (line[0] == '[') inSection = false;
        else keep = false;
      } else if (StartsWith(line, header, headerLength)) {
        inSection = true;
        matched = true;
        keep = false;
      }
    }
    if (!keep) continue;
    for (char c : line) {
      if (c == '\n') kept += '\r';
      kept += c;
    }
  }
  file.Close();

  if (!ReplaceFileContent(path.c_str(), kept, files)) return 0;
  return matched ? 1 : 0;
}

int ReadProfileFile(const char* path, ProfileText& text) {
  std::string bytes;
  if (ReadProfileBytes(path, bytes) != 1) return 0;
  text = ProfileText::Parse(bytes);
  return 1;
}

int ReadProfileBytes(const char* path, std::string& decoded) {
  std::string bytes;
  if (GetPathKind(path) != kPathFile || !ReadWholeFile(path, bytes)) return 0;
  decoded = profilebackend::DecodeFile(std::move(bytes));
  return 1;
}

std::string StoredProfileValue(const char* value) {
  return ProfileText::StoredValue(profilebackend::TakeValue(value).c_str());
}
