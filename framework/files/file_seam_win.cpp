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

  bool Replace(const char* source, const char* target) override {
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  bool Remove(const char* path) override { return DeleteFileA(path) != 0; }
};

}  // namespace

FileSeam& GetRealFileSeam() {
  static WinFileSeam seam;
  return seam;
}
