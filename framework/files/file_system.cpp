#include "framework/files/file_system.h"

#include <cstring>
#include <string>
#include <vector>

#include "framework/files/file_system_backend.h"
#include "framework/files/strings.h"

namespace {

// Working limits: paths are joined in 1024-byte buffers, and the two
// counting and removal functions keep their path in 272 bytes.
constexpr size_t kPathBuffer = 1024;
constexpr size_t kShortPathBuffer = 272;

// Position of the last backslash at a character start, or -1.
int LastSeparator(const char* path) {
  int last = -1;
  for (int i = 0; path[i] != '\0';) {
    if (IsLeadByte(static_cast<unsigned char>(path[i])) && path[i + 1] != '\0') {
      i += 2;
      continue;
    }
    if (path[i] == '\\') last = i;
    ++i;
  }
  return last;
}

// Position of the first backslash at a character start from `from` on, or -1.
int NextSeparator(const char* path, int from) {
  for (int i = from; path[i] != '\0';) {
    if (IsLeadByte(static_cast<unsigned char>(path[i])) && path[i + 1] != '\0') {
      i += 2;
      continue;
    }
    if (path[i] == '\\') return i;
    ++i;
  }
  return -1;
}

// Copies a path for DeletePath and CountFiles and cuts one closing
// backslash; false when it does not fit their 272 bytes.
bool ShortPathCopy(const char* path, std::string& out) {
  if (std::strlen(path) >= kShortPathBuffer) return false;
  std::vector<char> copy(path, path + std::strlen(path) + 1);
  RemoveTrailingBackslash(copy.data());
  out = copy.data();
  return true;
}

int CountFilesIn(const std::string& folder, int recursive) {
  std::vector<fsbackend::Entry> entries;
  if (!fsbackend::ListFolder(folder.c_str(), entries)) return 0;
  int count = 0;
  for (const fsbackend::Entry& entry : entries) {
    if (entry.kind == fsbackend::EntryKind::kFile) {
      ++count;
    } else if (entry.kind == fsbackend::EntryKind::kFolder && recursive) {
      std::string child = folder + "\\" + entry.name;
      if (child.size() < kShortPathBuffer) count += CountFilesIn(child, recursive);
    }
  }
  return count;
}

}  // namespace

int GetPathKind(const char* path) { return fsbackend::PathKind(path); }

std::vector<std::string> ListFileNames(const char* folder) {
  std::vector<fsbackend::Entry> entries;
  std::vector<std::string> names;
  if (!fsbackend::ListFolder(folder, entries)) return names;
  for (fsbackend::Entry& entry : entries) {
    if (entry.kind == fsbackend::EntryKind::kFile) names.push_back(std::move(entry.name));
  }
  return names;
}

int CreateDirectoryTree(const char* path) {
  if (std::strlen(path) >= kPathBuffer) return 0;
  std::vector<char> buffer(path, path + std::strlen(path) + 1);
  RemoveTrailingBackslash(buffer.data());
  char* work = buffer.data();
  int length = static_cast<int>(std::strlen(work));

  int start = 0;
  if (length >= 2 && work[1] == ':') {
    start = 3;
  } else if (length >= 2 && work[0] == '\\' && work[1] == '\\') {
    int serverEnd = NextSeparator(work, 2);
    if (serverEnd < 0) return 0;
    start = serverEnd + 1;
  }
  if (start > length) start = length;

  ReplaceChar(work + start, '\\', '\0');
  for (int i = start; i <= length; ++i) {
    if (work[i] != '\0') continue;
    int kind = fsbackend::FindEntry(work);
    if (kind == kPathAbsent) {
      fsbackend::MakeFolder(work);
    } else if (kind != kPathFolder) {
      return 0;
    }
    if (i < length) work[i] = '\\';
  }
  return 1;
}

int DeleteDirectoryTree(const char* folder, int* error) {
  int count = 0;
  std::vector<fsbackend::Entry> entries;
  fsbackend::ListFolder(folder, entries);
  for (const fsbackend::Entry& entry : entries) {
    std::string child = std::string(folder) + "\\" + entry.name;
    if (child.size() >= kPathBuffer) {
      // A path cut to the buffer would name something else: leave it.
      *error = 1;
      continue;
    }
    bool removed = false;
    switch (entry.kind) {
      case fsbackend::EntryKind::kFile:
        removed = fsbackend::RemoveFile(child.c_str());
        break;
      case fsbackend::EntryKind::kFolderLink:
        removed = fsbackend::RemoveFolderLink(child.c_str());
        break;
      case fsbackend::EntryKind::kFolder:
        count += DeleteDirectoryTree(child.c_str(), error);
        continue;
    }
    if (removed) ++count;
    else *error = 1;
  }
  if (fsbackend::RemoveFolder(folder)) ++count;
  else *error = 1;
  return count;
}

int DeletePath(const char* path, int recursive, int* error) {
  *error = 0;
  switch (GetPathKind(path)) {
    case kPathFile:
      if (fsbackend::RemoveFile(path)) return 1;
      *error = 1;
      return 0;
    case kPathFolder: {
      std::string copy;
      if (!ShortPathCopy(path, copy)) {
        *error = 1;
        return 0;
      }
      if (recursive) return DeleteDirectoryTree(copy.c_str(), error);
      if (fsbackend::RemoveFolder(path)) return 1;
      *error = 1;
      return 0;
    }
    default:
      return 0;
  }
}

int CopyFileToPath(const char* source, const char* target, int failIfExists) {
  char folder[512];
  if (GetDirectoryPart(target, folder, sizeof folder) == 0) return 0;
  int kind = fsbackend::FindEntry(folder);
  if (kind == kPathAbsent) {
    if (CreateDirectoryTree(folder) == 0) return 0;
  } else if (kind != kPathFolder) {
    return 0;
  }
  return fsbackend::CopyOneFile(source, target, failIfExists != 0) ? 1 : 0;
}

std::uint32_t GetFileLength(const char* path) {
  std::uint32_t length = 0;
  return fsbackend::FileLength(path, length) ? length : 0;
}

bool GetLastWriteTime(const char* path, std::int64_t& seconds) { return fsbackend::LastWriteTime(path, seconds); }

bool SetLastWriteTime(const char* path, std::int64_t seconds) { return fsbackend::SetLastWriteTime(path, seconds); }

int CountFiles(const char* folder, int recursive) {
  std::string copy;
  if (!ShortPathCopy(folder, copy)) return 0;
  return CountFilesIn(copy, recursive);
}

int GetDirectoryPart(const char* path, char* buffer, int size) {
  int position = LastSeparator(path);
  if (position <= 0 || position >= size) return 0;
  std::memcpy(buffer, path, static_cast<size_t>(position));
  buffer[position] = '\0';
  return position;
}
