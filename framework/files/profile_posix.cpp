// CProfile on POSIX systems: the private-profile operations done on the
// file's text with ProfileText; every write replaces the whole file through
// the file seam.  Paths are in the program's form (system_path.h).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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

}  // namespace

int GetString(const char* section, const char* key, const char* defaultText, char* buffer, int size,
              const char* path) {
  std::string bytes;
  if (ReadFile(path, bytes) != ReadResult::kRead) bytes.clear();
  return ProfileText::Parse(bytes).Get(section, key, defaultText, buffer, size);
}

int WriteString(const char* section, const char* key, const char* value, const char* path) {
  if (section == nullptr || path[0] == '\0') return 0;
  std::string bytes;
  ReadResult read = ReadFile(path, bytes);
  if (read == ReadResult::kFailed) return 0;
  bool exists = read == ReadResult::kRead;
  // Removing from a file that is not there leaves it not there.
  if (!exists && (key == nullptr || value == nullptr)) return 1;
  ProfileText text = ProfileText::Parse(bytes);
  if (!text.Set(section, key, value) && exists) return 1;
  return ReplaceFileContent(path, text.Format()) ? 1 : 0;
}

bool ProbeFile(const char* path, int readOnly, int truncate) {
  int flags = readOnly ? O_RDONLY : O_RDWR | (truncate ? O_TRUNC : 0);
  int fd = ::open(systempath::ToSystem(path).c_str(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

}  // namespace profilebackend
