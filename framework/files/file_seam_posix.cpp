// The file seam on POSIX systems: open, write, fsync, close, rename.  Paths
// are in the program's form (system_path.h).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "framework/files/file_seam.h"
#include "framework/files/system_path.h"

struct FileSeam::File {
  int descriptor;
};

namespace {

class PosixFileSeam : public FileSeam {
 public:
  File* Create(const char* path) override {
    int fd = ::open(systempath::ToSystem(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return new File{fd};
  }

  bool Write(File* file, const void* data, size_t size) override {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      ssize_t written = ::write(file->descriptor, p, size);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      p += written;
      size -= static_cast<size_t>(written);
    }
    return true;
  }

  bool Flush(const char* path) override {
    const int fd = ::open(systempath::ToSystem(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int result;
    do {
      result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    ::close(fd);
    return result == 0;
  }

  bool Close(File* file) override {
    bool ok = ::close(file->descriptor) == 0;
    delete file;
    return ok;
  }

  // A read-only target stays, as Windows keeps it; the new file takes over
  // the target's permissions, so that a private file stays private.
  bool Replace(const char* source, const char* target) override {
    std::string from = systempath::ToSystem(source);
    std::string to = systempath::ToSystem(target);
    struct stat info;
    if (::stat(to.c_str(), &info) == 0) {
      if (::access(to.c_str(), W_OK) != 0) return false;
      if (::chmod(from.c_str(), info.st_mode & 07777) != 0) return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
  }

  bool Remove(const char* path) override { return ::unlink(systempath::ToSystem(path).c_str()) == 0; }
};

}  // namespace

FileSeam& GetRealFileSeam() {
  static PosixFileSeam seam;
  return seam;
}
