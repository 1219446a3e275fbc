// Client side of shell_desktop.exe: the system's own shell view of the
// Desktop folder hosted as the desktop, its icons real files.  Windows only.
#pragma once

#include <string>
#include <vector>

#include "tests/support/test_desktop_client.h"

namespace testsupport {

class ShellDesktop : public DesktopProcess {
 public:
  ShellDesktop() : DesktopProcess("shell_desktop.exe", "TessalyShellDesktop") {}
  ~ShellDesktop();  // quits the desktop and removes the files it made

  // Makes an empty file of each name in the Desktop folder and starts the
  // desktop on it.  Refuses (false, nothing made) unless the folder is empty
  // at first: files already there mean that Wine's Desktop is not a folder
  // of the test's own (a prefix linked to a real home).
  bool Start(const std::vector<std::string>& fileNames);
  // Quits the desktop and removes the files that Start made.
  void Quit();

  // Reads the folder again, as F5 does.
  bool Refresh();
  // How many messages other threads (another process among them) sent the
  // desktop icon view since the start.
  long Requests();

  // The Desktop folder of this Wine prefix.
  static std::string DesktopFolder();

 private:
  std::vector<std::string> files_;
};

}  // namespace testsupport
