// Special folders on POSIX systems: the XDG base directories and $HOME (see
// special_folders.h), and /proc/self/exe for the program file.  Paths are
// handed out in the program's form (system_path.h).
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/files/special_folders_backend.h"
#include "framework/files/system_path.h"

namespace folderbackend {

namespace {

// An XDG variable, when it holds an absolute path; else $HOME + fallback.
bool XdgFolder(const char* variable, const char* fallback, std::string& out) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') {
    out = value;
    return true;
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return false;
  out = std::string(home) + fallback;
  return true;
}

bool HomeFolder(const char* below, std::string& out) {
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return false;
  out = std::string(home) + below;
  return true;
}

}  // namespace

int ReadModulePath(char* buffer, int size) {
  std::string path(4096, '\0');
  ssize_t length = ::readlink("/proc/self/exe", &path[0], path.size());
  if (length <= 0 || static_cast<size_t>(length) >= path.size()) return 0;
  path.resize(static_cast<size_t>(length));
  std::string program = systempath::FromSystem(path.c_str());
  // As GetModuleFileNameA: a path that does not fit is cut and gives `size`.
  if (program.size() >= static_cast<size_t>(size)) {
    std::memcpy(buffer, program.data(), static_cast<size_t>(size));
    return size;
  }
  std::memcpy(buffer, program.c_str(), program.size() + 1);
  return static_cast<int>(program.size());
}

int QueryShellFolder(void*, int id, char* buffer, int size) {
  std::string folder;
  bool found = false;
  switch (id) {
    case 0x1a: found = XdgFolder("XDG_CONFIG_HOME", "/.config", folder); break;
    case 0x1c: found = XdgFolder("XDG_DATA_HOME", "/.local/share", folder); break;
    case 0x20: found = XdgFolder("XDG_CACHE_HOME", "/.cache", folder); break;
    case 0x14:
      found = XdgFolder("XDG_DATA_HOME", "/.local/share", folder);
      folder += "/fonts";
      break;
    case 0x28: found = HomeFolder("", folder); break;
    case 0x00:
    case 0x10: found = HomeFolder("/Desktop", folder); break;
    case 0x05:
    case 0x0c: found = HomeFolder("/Documents", folder); break;
    case 0x0d: found = HomeFolder("/Music", folder); break;
    case 0x0e: found = HomeFolder("/Videos", folder); break;
    case 0x27: found = HomeFolder("/Pictures", folder); break;
    case 0x15: found = HomeFolder("/Templates", folder); break;
    case 0x23:
      folder = "/etc/xdg";
      found = true;
      break;
    default: break;
  }
  if (!found) return 0;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  std::string program = systempath::FromSystem(folder.c_str());
  if (program.size() >= static_cast<size_t>(size)) return 0;
  std::memcpy(buffer, program.c_str(), program.size() + 1);
  return 1;
}

unsigned long PlatformId() { return 2; }  // as VER_PLATFORM_WIN32_NT

int ChooseFolder(void*, const char*, char*) { return 0; }

}  // namespace folderbackend
