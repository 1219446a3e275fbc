#include "framework/files/file_seam.h"

bool ReplaceFileContent(const char* path, const std::string& bytes, FileSeam& files) {
  std::string temporary = std::string(path) + ".tmp~";
  FileSeam::File* file = files.Create(temporary.c_str());
  if (file == nullptr) return false;
  const bool written = files.Write(file, bytes.data(), bytes.size());
  const bool closed = files.Close(file);
  // A replace that reached the disk before the new file's content would
  // leave an empty or partial file after a power cut.
  if (written && closed && files.Flush(temporary.c_str()) && files.Replace(temporary.c_str(), path)) return true;
  files.Remove(temporary.c_str());
  return false;
}
