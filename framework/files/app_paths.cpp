#include "framework/files/app_paths.h"

#include <cstring>
#include <initializer_list>
#include <string>

#include "framework/files/file_system.h"
#include "framework/files/special_folders.h"
#include "framework/files/special_folders_backend.h"
#include "framework/files/strings.h"

namespace {

// The program's path is read into this many characters.
constexpr int kModulePathBuffer = 360;
// Joined paths are limited as the platform's formatting routine limits them.
constexpr size_t kJoinedPath = 1024;

// Joins the parts with single backslashes into `out` (kJoinedPath bytes).
// False when the result does not fit: a path cut short names another file.
bool JoinPath(char* out, std::initializer_list<const char*> parts) {
  std::string joined;
  for (const char* part : parts) {
    if (!joined.empty()) joined += '\\';
    joined += part;
  }
  if (joined.size() >= kJoinedPath) return false;
  std::memcpy(out, joined.c_str(), joined.size() + 1);
  return true;
}

}  // namespace

int ModuleDirectoryOf(const char* modulePath, char* buffer, int size) {
  int last = 0;
  for (int i = 0; modulePath[i] != '\0';) {
    if (IsLeadByte(static_cast<unsigned char>(modulePath[i])) && modulePath[i + 1] != '\0') {
      i += 2;
      continue;
    }
    if (modulePath[i] == '\\') last = i;
    ++i;
  }
  if (last == 0 || last >= size) return 0;
  std::memcpy(buffer, modulePath, static_cast<size_t>(last));
  buffer[last] = '\0';
  return last;
}

int ModuleDirectoryOfRead(const char* modulePath, int readLength, int readSize, char* buffer, int size) {
  // A path that filled the whole buffer was cut short: its folder part
  // would name some other folder.
  if (readLength <= 0 || readLength >= readSize) return 0;
  return ModuleDirectoryOf(std::string(modulePath, static_cast<size_t>(readLength)).c_str(), buffer, size);
}

int GetModuleDirectory(char* buffer, int size) {
  char path[kModulePathBuffer];
  int length = folderbackend::ReadModulePath(path, kModulePathBuffer);
  return ModuleDirectoryOfRead(path, length, kModulePathBuffer, buffer, size);
}


char* MakeModulePath(const char* fileName, char* out) {
  char folder[kJoinedPath];
  if (GetModuleDirectory(folder, sizeof folder) == 0 || !JoinPath(out, {folder, fileName})) out[0] = '\0';
  return out;
}

char* MakeAppDataPath(const char* maker, const char* product, const char* fileName, char* out) {
  char folder[kJoinedPath];
  char joined[kJoinedPath];
  if (GetAppDataFolder(nullptr, folder, sizeof folder) != 1) return nullptr;
  if (!JoinPath(joined, {folder, maker, product, fileName})) return nullptr;
  std::memcpy(out, joined, std::strlen(joined) + 1);
  return out;
}

int EnsureAppDataFolder(const char* maker, const char* product) {
  char folder[kJoinedPath];
  if (GetAppDataFolder(nullptr, folder, sizeof folder) != 1) return 0;
  char path[kJoinedPath];
  if (!JoinPath(path, {folder, maker, product})) return 0;
  if (GetPathKind(path) != kPathAbsent) return 1;
  return CreateDirectoryTree(path);
}
