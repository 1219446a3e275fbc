// The file seam on Windows: CreateFileA, WriteFile, CloseHandle, MoveFileExA.
#include <windows.h>

#include "framework/files/file_seam.h"

struct FileSeam::File {
  HANDLE handle;
};

namespace {

class WinFileSeam : public FileSeam {
 public:
  File* Create(const char* path) override {
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return new File{h};
  }

  bool Write(File* file, const void* data, size_t size) override {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
      DWORD written = 0;
      if (!WriteFile(file->handle, p, chunk, &written, nullptr) || written == 0) return false;
      p += written;
      size -= written;
    }
    return true;
  }

  bool Close(File* file) override {
    bool ok = CloseHandle(file->handle) != 0;
    delete file;
    return ok;
  }

  // A program that reads the target (a profile read, a virus scanner) keeps
  // it from being replaced while it holds it open, mostly for a moment: the
  // replace is tried again for up to half a second.  A read-only target is
  // not waited for.
  bool Replace(const char* source, const char* target) override {
    for (int attempt = 1;; ++attempt) {
      if (MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
      const DWORD error = GetLastError();
      if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
      const DWORD attributes = GetFileAttributesA(target);
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
      if (attempt == kReplaceAttempts) return false;
      Sleep(kReplaceWait);
    }
  }

  bool Remove(const char* path) override { return DeleteFileA(path) != 0; }

 private:
  static constexpr int kReplaceAttempts = 50;
  static constexpr DWORD kReplaceWait = 10;  // milliseconds
};

}  // namespace

FileSeam& GetRealFileSeam() {
  static WinFileSeam seam;
  return seam;
}
