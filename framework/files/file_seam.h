// The file seam: the few steps by which the program writes a file.  A
// file is never rewritten in place: the new text goes to a temporary file in
// the same folder, reaches the disk, and then replaces the old file in one
// step, so that a failure at any step, or a power cut, leaves the old file
// byte for byte as it was, or the new one whole.
//
// The real backend is the system's (file_seam_win.cpp, file_seam_posix.cpp).
// Whatever writes files takes the seam it is given, the real one by default;
// tests hand in one that makes a chosen step fail (tests/support).
#pragma once

#include <cstddef>
#include <string>

class FileSeam {
 public:
  struct File;  // an open file of a backend

  virtual ~FileSeam() = default;
  /// Creates the file, or empties an existing one, for writing; null on failure.
  virtual File* Create(const char* path) = 0;
  /// Writes all `size` bytes; false on failure.
  virtual bool Write(File* file, const void* data, size_t size) = 0;

  /// Closes the file (always releasing it); false when the system reports
  /// that the file's data could not be written.
  virtual bool Close(File* file) = 0;
  /// Returns once the content of the closed file at `path` is on the disk
  /// itself, not only in the system's cache; false on failure.
  virtual bool Flush(const char* path) = 0;
  /// Puts `source` in the place of `target` in one step, replacing it (a
  /// target that another program holds open for a moment is waited for).
  [[nodiscard]] virtual bool Replace(const char* source, const char* target) = 0;
  /// Removes a file; false on failure.
  virtual bool Remove(const char* path) = 0;
};

/// The system's file seam.
FileSeam& GetRealFileSeam();

/// Writes `bytes` as the new content of `path` through `files`: to
/// "<path>.tmp~" first, flushed to the disk, then replacing `path`.  On failure the temporary file
/// is removed and `path` is untouched.
bool ReplaceFileContent(const char* path, const std::string& bytes, FileSeam& files = GetRealFileSeam());
