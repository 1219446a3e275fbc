// What the file-system utilities need from the system.  Implemented by
// file_system_win.cpp (Win32) and file_system_posix.cpp.  Paths are in the
// program's form (file_system.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fsbackend {

enum class EntryKind { kFile, kFolder, kFolderLink };

struct Entry {
  std::string name;
  EntryKind kind;
};

// GetPathKind as the system answers it.
int PathKind(const char* path);
// The kind of what stands at `path` (0 absent, 1 file, 2 folder), without
// the drive-root rules of PathKind.
int FindEntry(const char* path);
// The entries of a folder, "." and ".." left out; false when it cannot be read.
bool ListFolder(const char* folder, std::vector<Entry>& entries);
bool MakeFolder(const char* path);
bool RemoveFolder(const char* path);
bool RemoveFolderLink(const char* path);
bool RemoveFile(const char* path);
bool CopyOneFile(const char* source, const char* target, bool failIfExists);
// The size, or false when the file cannot be opened.
bool FileLength(const char* path, std::uint32_t& length);
// The time of the file's last write, in seconds since 1970-01-01 UTC.
bool LastWriteTime(const char* path, std::int64_t& seconds);
bool SetLastWriteTime(const char* path, std::int64_t seconds);

}  // namespace fsbackend
