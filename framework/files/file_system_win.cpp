// File-system utilities on Windows: FindFirstFileA and its companions,
// GetCurrentDirectoryA, GetLogicalDriveStringsA, CreateDirectoryA,
// RemoveDirectoryA, DeleteFileA, CopyFileA, CreateFileA and GetFileSize.
#include <windows.h>

#include <cstring>
#include <string>

#include "framework/files/file_system.h"
#include "framework/files/file_system_backend.h"
#include "framework/files/strings.h"

namespace fsbackend {

namespace {

bool IsDriveRoot(const char* root) {
  char drives[128];
  DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
  if (length == 0 || length >= sizeof drives) return false;
  for (const char* d = drives; *d != '\0'; d += std::strlen(d) + 1)
    if (lstrcmpiA(d, root) == 0) return true;
  return false;
}

}  // namespace

int PathKind(const char* path) {
  std::string full;
  if (path[0] == '\\' || (path[0] != '\0' && path[1] == ':')) {
    full = path;
  } else {
    char current[2048];
    DWORD length = GetCurrentDirectoryA(sizeof current, current);
    if (length == 0 || length >= sizeof current) return kPathAbsent;
    full = std::string(current) + "\\" + path;
  }
  if (full.size() > 3) {
    // Only a backslash at a character start separates: the second byte of
    // 表 or ソ is none.
    full.resize(RemoveTrailingBackslash(&full[0]) ? full.size() - 1 : full.size());
    return FindEntry(full.c_str());
  }
  if (full.size() < 3) full += '\\';
  return IsDriveRoot(full.c_str()) ? kPathFolder : kPathAbsent;
}

int FindEntry(const char* path) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path, &data);
  if (search == INVALID_HANDLE_VALUE) return kPathAbsent;
  FindClose(search);
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? kPathFolder : kPathFile;
}

bool ListFolder(const char* folder, std::vector<Entry>& entries) {
  std::string pattern = std::string(folder) + "\\*";
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0) continue;
    EntryKind kind = EntryKind::kFile;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      kind = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryKind::kFolderLink : EntryKind::kFolder;
    entries.push_back(Entry{data.cFileName, kind});
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return true;
}

bool MakeFolder(const char* path) { return CreateDirectoryA(path, nullptr) != 0; }

bool RemoveFolder(const char* path) { return RemoveDirectoryA(path) != 0; }

// A junction or folder link goes with RemoveDirectoryA, which removes the
// link and leaves its target alone.
bool RemoveFolderLink(const char* path) { return RemoveDirectoryA(path) != 0; }

bool RemoveFile(const char* path) { return DeleteFileA(path) != 0; }

bool CopyOneFile(const char* source, const char* target, bool failIfExists) {
  return CopyFileA(source, target, failIfExists ? TRUE : FALSE) != 0;
}

bool FileLength(const char* path, std::uint32_t& length) {
  // Full sharing: a file that another program is writing, or is about to
  // replace, still has a size.
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  length = GetFileSize(file, nullptr);
  CloseHandle(file);
  return true;
}

namespace {

// FILETIME counts 100 ns from 1601-01-01 UTC.
constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

}  // namespace

bool LastWriteTime(const char* path, std::int64_t& seconds) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
  const std::int64_t ticks = static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                             data.ftLastWriteTime.dwLowDateTime;
  seconds = ticks / kTicksPerSecond - kSecondsFrom1601To1970;
  return true;
}

bool SetLastWriteTime(const char* path, std::int64_t seconds) {
  HANDLE file = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::int64_t ticks = (seconds + kSecondsFrom1601To1970) * kTicksPerSecond;
  FILETIME written = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  const bool set = SetFileTime(file, nullptr, nullptr, &written) != 0;
  CloseHandle(file);
  return set;
}

}  // namespace fsbackend
