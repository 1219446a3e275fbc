// File-system utilities on POSIX systems.  Paths are in the program's form
// (system_path.h): "\" is the root and the only drive root; a path that does
// not begin with a backslash is taken from the current folder (so "C:\x" is
// a relative name there).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "framework/files/file_system.h"
#include "framework/files/file_system_backend.h"
#include "framework/files/strings.h"
#include "framework/files/system_path.h"

namespace fsbackend {

namespace {

int KindOf(const std::string& systemPath) {
  struct stat info;
  if (::stat(systemPath.c_str(), &info) != 0) return kPathAbsent;
  return S_ISDIR(info.st_mode) ? kPathFolder : kPathFile;
}

}  // namespace

int PathKind(const char* path) {
  std::string full;
  if (path[0] == '\\' || path[0] == '/') {
    full = path;
  } else {
    char current[2048];
    if (::getcwd(current, sizeof current) == nullptr) return kPathAbsent;
    full = systempath::FromSystem(current) + "\\" + path;
  }
  if (full.find_first_not_of("\\/") == std::string::npos) return kPathFolder;  // the root
  // Only a backslash at a character start separates: the second byte of 表
  // or ソ is none.
  full.resize(RemoveTrailingBackslash(&full[0]) ? full.size() - 1 : full.size());
  return KindOf(systempath::ToSystem(full.c_str()));
}

int FindEntry(const char* path) {
  if (path[0] == '\0') return kPathAbsent;
  return KindOf(systempath::ToSystem(path));
}

bool ListFolder(const char* folder, std::vector<Entry>& entries) {
  std::string systemFolder = systempath::ToSystem(folder);
  DIR* dir = ::opendir(systemFolder.c_str());
  if (dir == nullptr) return false;
  while (struct dirent* item = ::readdir(dir)) {
    if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0) continue;
    std::string child = systemFolder + "/" + item->d_name;
    struct stat info;
    if (::lstat(child.c_str(), &info) != 0) continue;
    EntryKind kind = EntryKind::kFile;
    if (S_ISDIR(info.st_mode)) {
      kind = EntryKind::kFolder;
    } else if (S_ISLNK(info.st_mode)) {
      struct stat target;
      if (::stat(child.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) kind = EntryKind::kFolderLink;
    }
    entries.push_back(Entry{item->d_name, kind});
  }
  ::closedir(dir);
  return true;
}

bool MakeFolder(const char* path) { return path[0] != '\0' && ::mkdir(systempath::ToSystem(path).c_str(), 0777) == 0; }

bool RemoveFolder(const char* path) { return ::rmdir(systempath::ToSystem(path).c_str()) == 0; }

bool RemoveFolderLink(const char* path) { return ::unlink(systempath::ToSystem(path).c_str()) == 0; }

bool RemoveFile(const char* path) { return ::unlink(systempath::ToSystem(path).c_str()) == 0; }

bool CopyOneFile(const char* source, const char* target, bool failIfExists) {
  int in = ::open(systempath::ToSystem(source).c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat info;
  if (::fstat(in, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(in);
    return false;
  }
  int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (failIfExists ? O_EXCL : 0);
  int out = ::open(systempath::ToSystem(target).c_str(), flags, info.st_mode & 0777);
  if (out < 0) {
    ::close(in);
    return false;
  }
  bool ok = true;
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ok = false;
    if (got <= 0) break;
    for (ssize_t done = 0; done < got;) {
      ssize_t put = ::write(out, buffer + done, static_cast<size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) {
        ok = false;
        break;
      }
      done += put;
    }
    if (!ok) break;
  }
  ok = ::close(out) == 0 && ok;
  ::close(in);
  return ok;
}

bool FileLength(const char* path, std::uint32_t& length) {
  struct stat info;
  std::string systemPath = systempath::ToSystem(path);
  if (::stat(systemPath.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  if (::access(systemPath.c_str(), R_OK) != 0) return false;
  length = static_cast<std::uint32_t>(info.st_size);
  return true;
}

bool LastWriteTime(const char* path, std::int64_t& seconds) {
  struct stat info;
  if (::stat(systempath::ToSystem(path).c_str(), &info) != 0) return false;
  seconds = static_cast<std::int64_t>(info.st_mtime);
  return true;
}

bool SetLastWriteTime(const char* path, std::int64_t seconds) {
  // The access time stays as it is.
  struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
  return ::utimensat(AT_FDCWD, systempath::ToSystem(path).c_str(), times, 0) == 0;
}

}  // namespace fsbackend
