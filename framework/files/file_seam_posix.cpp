// The file seam on POSIX systems: open, write, close, rename.  Paths
// are in the program's form (system_path.h).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

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

  bool Close(File* file) override {
    bool ok = ::close(file->descriptor) == 0;
    delete file;
    return ok;
  }

  bool Replace(const char* source, const char* target) override {
    return std::rename(systempath::ToSystem(source).c_str(), systempath::ToSystem(target).c_str()) == 0;
  }

  bool Remove(const char* path) override { return ::unlink(systempath::ToSystem(path).c_str()) == 0; }
};

}  // namespace

FileSeam& GetRealFileSeam() {
  static PosixFileSeam seam;
  return seam;
}
