// The file seam on Windows: CreateFileA, WriteFile, FlushFileBuffers,
// CloseHandle, and ReplaceFileA or MoveFileExA.
#include <windows.h>

#include "framework/files/file_seam.h"

struct FileSeam::File {
  HANDLE handle;
};

namespace {

// Another program (a virus scanner, an indexer, a backup) may hold the target
// open for a moment; the replace is tried again for up to this long.
constexpr DWORD kReplaceRetryMs = 1000;
constexpr DWORD kReplaceRetryStepMs = 50;

// The attributes a user may have given the file, which the new content keeps.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// What another program holding the file answers.  ReplaceFileA answers
// ERROR_UNABLE_TO_MOVE_REPLACEMENT when a reader opened the target between its
// steps; the new file still stands under its own name then, and the next try
// finds the target gone or free.
bool IsHeldByAnother(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_UNABLE_TO_REMOVE_REPLACED || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
         error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}

// Whether nothing holds the target against being taken out of its place: a
// program that has it open without delete sharing makes this fail with a
// sharing violation.  Asked before ReplaceFileA, which on some systems leaves
// a temporary file beside the target each time it fails.
bool IsFreeToReplace(const char* target) {
  HANDLE file = CreateFileA(target, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// One attempt.  An existing target is replaced with ReplaceFileA, which keeps
// its attributes, security and creation time (the attributes are also carried
// over by hand, for systems whose ReplaceFileA does not merge them); a new
// target is the source moved into place.
bool ReplaceOnce(const char* source, const char* target) {
  const DWORD attributes = GetFileAttributesA(target);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  if (!IsFreeToReplace(target)) return false;
  if (attributes & kKeptAttributes) SetFileAttributesA(source, attributes & kKeptAttributes);
  if (ReplaceFileA(target, source, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) return true;
  const DWORD error = GetLastError();
  // ReplaceFileA can fail after the target has gone, the source not having
  // taken its name: the source then goes there as a new file, or the caller,
  // removing it, would leave neither content.
  if (GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES) {
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  SetLastError(error);
  return false;
}

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

  bool Flush(const char* path) override {
    HANDLE h = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    // The system's cache of a file is one for all its handles.
    const bool flushed = FlushFileBuffers(h) != 0;
    CloseHandle(h);
    return flushed;
  }

  bool Close(File* file) override {
    bool ok = CloseHandle(file->handle) != 0;
    delete file;
    return ok;
  }

  // A program that reads the target (a profile read, a virus scanner) keeps
  // it from being replaced while it holds it open, mostly for a moment: the
  // replace is tried again for a while.  A read-only target is not waited
  // for: it stays so.
  bool Replace(const char* source, const char* target) override {
    for (DWORD waited = 0;; waited += kReplaceRetryStepMs) {
      if (ReplaceOnce(source, target)) return true;
      if (!IsHeldByAnother(GetLastError()) || waited >= kReplaceRetryMs) return false;
      const DWORD attributes = GetFileAttributesA(target);
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
      Sleep(kReplaceRetryStepMs);
    }
  }

  bool Remove(const char* path) override { return DeleteFileA(path) != 0; }
};

}  // namespace

FileSeam& GetRealFileSeam() {
  static WinFileSeam seam;
  return seam;
}
