// The file seam: the few steps by which the profile code writes a file.  A
// file is never rewritten in place: the new text goes to a temporary file in
// the same folder, which then replaces the old file in one step, so that a
// failure at any step leaves the old file byte for byte as it was.
//
// The real backend is the system's (file_seam_win.cpp, file_seam_posix.cpp);
// tests put a FaultyFileSeam in its place to make a chosen step fail.
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
  /// Puts `source` in the place of `target` in one step, replacing it (a
  /// target that another program holds open for a moment is waited for).
  virtual bool Replace(const char* source, const char* target) = 0;
  /// Removes a file; false on failure.
  virtual bool Remove(const char* path) = 0;
};

/// The system's file seam.
FileSeam& GetRealFileSeam();
/// The seam that file writes currently go through (the real one unless a
/// test installed another).
FileSeam& GetFileSeam();
/// Installs `seam` for every later write; null restores the real seam.
void SetFileSeam(FileSeam* seam);

/// Writes `bytes` as the new content of `path` through the current seam: to
/// "<path>.tmp~" first, then replacing `path`.  On failure the temporary file
/// is removed and `path` is untouched.
bool ReplaceFileContent(const char* path, const std::string& bytes);

/// A seam that passes every step to the real one, except that the n-th call
/// (counted from 1) of the chosen step fails without doing anything.
class FaultyFileSeam : public FileSeam {
 public:
  enum Step { kCreate, kWrite, kClose, kReplace, kStepCount };

  FaultyFileSeam(Step failingStep, int failingCall = 1) : step(failingStep), call(failingCall) {}

  File* Create(const char* path) override;
  bool Write(File* file, const void* data, size_t size) override;
  bool Close(File* file) override;
  bool Replace(const char* source, const char* target) override;
  bool Remove(const char* path) override;

  /// How many times each step was asked for.
  int Calls(Step s) const { return calls[s]; }
  /// True once the injected failure has happened.
  bool Failed() const { return failed; }

 private:
  bool FailNow(Step s);

  Step step;
  int call;
  int calls[kStepCount] = {};
  bool failed = false;
};

/// Installs a seam for the lifetime of the object.
class ScopedFileSeam {
 public:
  explicit ScopedFileSeam(FileSeam& seam) { SetFileSeam(&seam); }
  ~ScopedFileSeam() { SetFileSeam(nullptr); }
  ScopedFileSeam(const ScopedFileSeam&) = delete;
  ScopedFileSeam& operator=(const ScopedFileSeam&) = delete;
};
