#include "framework/files/file_seam.h"

bool ReplaceFileContent(const char* path, const std::string& bytes, FileSeam& files) {
  std::string temporary = std::string(path) + ".tmp~";
  FileSeam::File* file = files.Create(temporary.c_str());
  if (file == nullptr) return false;
  bool written = files.Write(file, bytes.data(), bytes.size());
  bool closed = files.Close(file);
  if (written && closed && files.Replace(temporary.c_str(), path)) return true;
  files.Remove(temporary.c_str());
  return false;
}
