// Client side of shell_desktop.exe: the system's own shell view of the
// Desktop folder hosted as the desktop, its icons real files.  Windows only.
#pragma once

#include <string>
#include <vector>

#include "tests/support/test_desktop_client.h"

namespace testsupport {

// An icon as the shell desktop shows it, its names in UTF-8.
struct ShellIcon {
  std::string name;         // the text shown
  std::string parsingName;  // the file's name in the Desktop folder, or the shell item's
  int x = 0;
  int y = 0;
};

class ShellDesktop : public DesktopProcess {
 public:
  ShellDesktop() : DesktopProcess("shell_desktop.exe", "TessalyShellDesktop") {}
  ~ShellDesktop();  // quits the desktop and removes the files it made

  // Makes an empty file of each name in the Desktop folder and starts the
  // desktop on it.  Refuses (false, nothing made) unless the folder is empty
  // at first: files already there mean that Wine's Desktop is not a folder
  // of the test's own (a prefix linked to a real home).
  bool Start(const std::vector<std::string>& fileNames);  // code page 932 names
  bool Start(const std::vector<std::wstring>& fileNames);
  // Quits the desktop and removes the files that Start made.
  void Quit();
  // Ends the desktop at once, as a crashing shell, and starts a new one on
  // the same files: a new view, which arranges them itself.
  bool Restart();

  // Reads the folder again, as F5 does.
  bool Refresh();
  // How many messages other threads (another process among them) sent the
  // desktop icon view since the start.
  long Requests();
  // When the latest of those requests came (GetTickCount), and how long the
  // burst of requests it ends has lasted (ms): right after a capture, what
  // the capture cost as the desktop saw it.  False when the desktop did not
  // answer.
  struct RequestTiming {
    unsigned long latest = 0;
    unsigned long latestBurst = 0;
  };
  bool RequestTimes(RequestTiming* timing);

  // Every icon with its whole name and parsing name ("items").
  std::vector<ShellIcon> Items();
  // How many icons other processes moved: with list-view messages, and in
  // all (through the shell's interface too).
  long ForeignMoves();
  long Moves();
  // How the desktop answers the shell's interface: "serve", "absent",
  // "otherwindow", "nowindow", "nopositions", "autoarrange" (shell_interface.h).
  bool SetInterface(const std::string& mode);

  // The Desktop folder of this Wine prefix.
  static std::string DesktopFolder();
  // Makes this prefix send the shell's interface to the shell desktop, as
  // Windows sends it to Explorer: registers shell_proxy.dll and sends
  // CLSID_ShellWindows to the desktop's class.  For the programs started
  // afterwards.
  static bool ServeShellInterface();
  // Hides the extensions of file names, as Windows does by default (Wine
  // shows them).
  static bool HideExtensions();

 private:
  std::vector<std::wstring> files_;
};

}  // namespace testsupport
