#include "tests/support/shell_desktop_client.h"

#include <shlobj.h>

#include <cstdlib>

namespace testsupport {

std::string ShellDesktop::DesktopFolder() {
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder))) return "";
  return folder;
}

ShellDesktop::~ShellDesktop() { Quit(); }

namespace {

bool FolderIsEmpty(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool empty = true;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") empty = false;
  } while (empty && FindNextFileA(search, &found));
  FindClose(search);
  return empty;
}

}  // namespace

bool ShellDesktop::Start(const std::vector<std::string>& fileNames) {
  Quit();
  const std::string folder = DesktopFolder();
  if (folder.empty() || !FolderIsEmpty(folder)) return false;
  for (const std::string& name : fileNames) {
    std::string path = folder + "\\" + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      Quit();
      return false;
    }
    CloseHandle(file);
    files_.push_back(path);
  }
  if (Launch("")) return true;
  Quit();
  return false;
}

void ShellDesktop::Quit() {
  DesktopProcess::Quit();
  for (const std::string& path : files_) DeleteFileA(path.c_str());
  files_.clear();
}

bool ShellDesktop::Refresh() { return Command("refresh"); }

long ShellDesktop::Requests() {
  std::string reply;
  if (!Command("count requests", &reply)) return -1;
  return std::atol(reply.c_str());
}

}  // namespace testsupport
