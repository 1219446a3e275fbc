// A fresh, empty folder for one test, removed with everything in it at the
// end.  Paths are given in the program's form (see file_system.h): on Windows
// as they are, elsewhere with backslashes as separators.
#pragma once

#include <string>

namespace testfiles {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, without a closing separator, in the program's form.
  const std::string& Path() const { return path; }
  // Path() + separator + name.
  std::string operator/(const std::string& name) const;
  // A path of the program's form as the system's C library wants it.
  static std::string NativePath(const std::string& path);

 private:
  std::string path;
  std::string nativePath;
};

// Whole-file helpers that bypass the code under test.  Paths in the
// program's form.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
void RemoveFile(const std::string& path);

}  // namespace testfiles
