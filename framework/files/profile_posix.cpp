// CProfile on POSIX systems: the private-profile operations done on the
// file's text with ProfileText; every write replaces the whole file through
// the file seam.  Paths are in the program's form (system_path.h).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <string>

#include "framework/files/file_seam.h"
#include "framework/files/profile_backend.h"
#include "framework/files/profile_text.h"
#include "framework/files/system_path.h"

namespace profilebackend {

namespace {

enum class ReadResult { kRead, kAbsent, kFailed };

// Reads the whole file.  A file that exists but cannot be read is no empty
// file: writing must not replace it.
ReadResult ReadFile(const char* path, std::string& bytes) {
  if (path[0] == '\0') return ReadResult::kFailed;
  FILE* file = std::fopen(systempath::ToSystem(path).c_str(), "rb");
  if (file == nullptr) return errno == ENOENT ? ReadResult::kAbsent : ReadResult::kFailed;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  bool ok = !std::ferror(file);
  std::fclose(file);
  return ok ? ReadResult::kRead : ReadResult::kFailed;
}

// The text of the file read last, parsed.  A read compares the file's bytes
// with the cached ones, so a file changed by anyone is always parsed anew;
// what is saved is the parsing of an unchanged file (a layout reads
// thousands of values from one file).
struct ParsedFile {
  std::string bytes;
  ProfileText text;
};

std::mutex cacheLock;
ParsedFile cache;

// The parsed text of `bytes`, from the cache when they are the same.
ProfileText Parsed(const std::string& bytes) {
  std::lock_guard<std::mutex> hold(cacheLock);
  if (bytes.size() != cache.bytes.size() || bytes != cache.bytes) {
    cache.text = ProfileText::Parse(bytes);
    cache.bytes = bytes;
  }
  return cache.text;
}

int GetFromParsed(const std::string& bytes, const char* section, const char* key, const char* defaultText,
                  char* buffer, int size) {
  std::lock_guard<std::mutex> hold(cacheLock);
  if (bytes.size() != cache.bytes.size() || bytes != cache.bytes) {
    cache.text = ProfileText::Parse(bytes);
    cache.bytes = bytes;
  }
  return cache.text.Get(section, key, defaultText, buffer, size);
}

// Keeps the text just written.  It is parsed from its bytes, as a later
// read would parse it: a written value keeps its trailing blanks in memory
// but not in the file.
void Remember(std::string bytes) {
  ProfileText text = ProfileText::Parse(bytes);
  std::lock_guard<std::mutex> hold(cacheLock);
  cache.bytes = std::move(bytes);
  cache.text = std::move(text);
}

}  // namespace

int GetString(const char* section, const char* key, const char* defaultText, char* buffer, int size,
              const char* path) {
  std::string bytes;
  if (ReadFile(path, bytes) != ReadResult::kRead) bytes.clear();
  return GetFromParsed(bytes, section, key, defaultText, buffer, size);
}

int WriteString(const char* section, const char* key, const char* value, const char* path, FileSeam& files) {
  if (section == nullptr || path[0] == '\0') return 0;
  std::string bytes;
  ReadResult read = ReadFile(path, bytes);
  if (read == ReadResult::kFailed) return 0;
  bool exists = read == ReadResult::kRead;
  // Removing from a file that is not there leaves it not there.
  if (!exists && (key == nullptr || value == nullptr)) return 1;
  ProfileText text = Parsed(bytes);
  if (!text.Set(section, key, value) && exists) return 1;
  std::string formatted = text.Format();
  if (!ReplaceFileContent(path, formatted, files)) return 0;
  Remember(std::move(formatted));
  return 1;
}

// ProfileText reads the bytes as they are.
std::string DecodeFile(std::string bytes) { return bytes; }

std::string TakeValue(const char* value) { return value; }

bool ProbeFile(const char* path, int readOnly, int truncate) {
  int flags = readOnly ? O_RDONLY : O_RDWR | (truncate ? O_TRUNC : 0);
  int fd = ::open(systempath::ToSystem(path).c_str(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

}  // namespace profilebackend
