#include "framework/files/file_seam.h"

namespace {

FileSeam* currentSeam = nullptr;

}  // namespace

FileSeam& GetFileSeam() { return currentSeam != nullptr ? *currentSeam : GetRealFileSeam(); }

void SetFileSeam(FileSeam* seam) { currentSeam = seam; }

bool ReplaceFileContent(const char* path, const std::string& bytes) {
  FileSeam& seam = GetFileSeam();
  std::string temporary = std::string(path) + ".tmp~";
  FileSeam::File* file = seam.Create(temporary.c_str());
  if (file == nullptr) return false;
  bool written = seam.Write(file, bytes.data(), bytes.size());
  bool closed = seam.Close(file);
  if (written && closed && seam.Replace(temporary.c_str(), path)) return true;
  seam.Remove(temporary.c_str());
  return false;
}

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

bool FaultyFileSeam::Replace(const char* source, const char* target) {
  return !FailNow(kReplace) && GetRealFileSeam().Replace(source, target);
}

bool FaultyFileSeam::Remove(const char* path) { return GetRealFileSeam().Remove(path); }
