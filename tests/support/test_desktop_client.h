// Client side of the test desktops: starts test_desktop.exe (and, through
// shell_desktop_client.h, shell_desktop.exe) in its own process and drives
// it.  Windows only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

struct DesktopIcon {
  std::string name;  // code page 932 bytes
  int x = 0;
  int y = 0;
};

bool operator==(const DesktopIcon& a, const DesktopIcon& b);
std::string ToString(const std::vector<DesktopIcon>& icons);

// Icons named `prefix`0 .. `prefix`(count-1) on a grid of `step` pixels,
// `perRow` icons a row, starting at (left, top).
std::vector<DesktopIcon> GridIcons(int count, const std::string& prefix = "icon", int perRow = 10,
                                   int step = 80, int left = 20, int top = 20);

// Path of a program beside the running test program (test_desktop.exe and
// the deliverables all land in the build's output folder).
std::string ProgramBesideMe(const char* fileName);

// Path of a deliverable (Tessaly.exe, sorrel_x64.dll) in the build's output
// folder Tessaly\, beside the test programs' folder bin\.
std::string DeliverablePath(const char* fileName);

// The whole content of a file, or "" when it cannot be read.
std::string ReadBytes(const std::string& path);

// A fresh temporary file name in the Windows temporary folder.
std::string TempFileName(const char* tag);

// Changes the display's resolution (on a Wine virtual desktop, whose windows
// then get WM_DISPLAYCHANGE); true when the system took it.
bool ChangeResolution(int width, int height);

// Which window holds the desktop's "SHELLDLL_DefView": "Progman", or a
// top-level "WorkerW" (as with a wallpaper slideshow), Progman holding none.
enum class DesktopHost { kProgman, kWorkerW };

// A desktop program of the tests (test_desktop.exe, shell_desktop.exe) in its
// own process, driven through its hidden control window: WM_COPYDATA with
// dwData 1 and the text "REPLYFILE\nCOMMAND", result 1 for success, the reply
// written to REPLYFILE before the message returns.
class DesktopProcess {
 public:
  DesktopProcess(const DesktopProcess&) = delete;
  DesktopProcess& operator=(const DesktopProcess&) = delete;

  // Asks the desktop to quit and waits (up to 10 s) for its process to end.
  void Quit();
  // Ends the desktop's process at once, as a crashing shell would.
  void Kill();

  bool Running() const;
  DWORD ProcessId() const { return processId_; }
  HWND Control() const { return control_; }
  // The desktop icon view of a desktop hosted by "Progman", found under it.
  static HWND FindView();

  // Runs one command of the desktop program (see its source).
  bool Command(const std::string& line, std::string* reply = nullptr);

  // Every icon, read by the desktop itself ("dump").
  std::vector<DesktopIcon> Icons();
  // Places icon `index` at (x, y) ("move"; which thread does it is the
  // desktop program's to say).
  bool Move(int index, int x, int y);

 protected:
  // `program` beside the test program; its control window has this class.
  DesktopProcess(const char* program, const char* controlClass) : program_(program), controlClass_(controlClass) {}
  ~DesktopProcess();
  // Starts the program with these arguments and waits until it is ready.
  bool Launch(const std::string& arguments);

 private:
  const char* program_;
  const char* controlClass_;
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND control_ = nullptr;
};

// test_desktop.exe: the shell's windows with the icons a test gives it.
class TestDesktop : public DesktopProcess {
 public:
  TestDesktop() : DesktopProcess("test_desktop.exe", "TessalyTestDesktop") {}
  ~TestDesktop();  // quits the desktop if it still runs

  // Starts the desktop with these icons and waits until it is ready.
  bool Start(const std::vector<DesktopIcon>& icons, DesktopHost host = DesktopHost::kProgman);
  void Quit();
  void Kill();

  // This desktop's icon view, as the desktop tells it (wherever it is hosted).
  HWND View();

  // Moves, adds, removes and renames icons from the desktop's second thread.
  bool Add(const std::string& name, int x, int y);
  bool Remove(int index);
  bool Rename(int index, const std::string& name);
  // How many requests of this kind (getitemcount, getitemtext, getitemposition,
  // setitemposition) the view answered since the start or the last ResetCounts.
  long Count(const std::string& what);
  bool ResetCounts();

 private:
  std::string iconFile_;
};

// Waits until the desktop's view has answered no request for `quietMs` (at
// most `timeoutMs`): whoever was reading or moving its icons is done.
// Tessaly, while it follows a change, asks on every tick of its timer (250
// ms) and takes the hook's reports at once: the default is that tick and
// two seconds for a busy machine.
void WaitForQuietDesktop(TestDesktop& desktop, int quietMs = 2250, int timeoutMs = 60000);

}  // namespace testsupport
