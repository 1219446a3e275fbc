#include "tests/support/faulty_file_seam.h"

bool FaultyFileSeam::FailNow(Step s) {
  if (++calls[s] != call || s != step) return false;
  failed = true;
  return true;
}

FileSeam::File* FaultyFileSeam::Create(const char* path) {
  return FailNow(kCreate) ? nullptr : GetRealFileSeam().Create(path);
}

bool FaultyFileSeam::Write(File* file, const void* data, size_t size) {
  return !FailNow(kWrite) && GetRealFileSeam().Write(file, data, size);
}

bool FaultyFileSeam::Close(File* file) {
  // The file is released either way; only the result is false.
  bool ok = GetRealFileSeam().Close(file);
  return !FailNow(kClose) && ok;
}

bool FaultyFileSeam::Flush(const char* path) { return !FailNow(kFlush) && GetRealFileSeam().Flush(path); }

bool FaultyFileSeam::Replace(const char* source, const char* target) {
  return !FailNow(kReplace) && GetRealFileSeam().Replace(source, target);
}

bool FaultyFileSeam::Remove(const char* path) { return GetRealFileSeam().Remove(path); }
