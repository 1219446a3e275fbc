// Drives the real Tessaly.exe under Wine the way a user and the shell do:
// window messages to the window found by "CID_TESSALY" / "Pavane", files in
// its settings folder, and the icons of the test desktop.
#pragma once

#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/test_desktop_client.h"

namespace testsupport {
// For failure messages: icons print as "name @ (x, y)".
inline void PrintTo(const DesktopIcon& icon, std::ostream* out) {
  *out << icon.name << " @ (" << icon.x << ", " << icon.y << ")";
}
}  // namespace testsupport

namespace e2e {

// Menu commands and the tray callback, as the shell and the menu send them.
constexpr UINT kSave = 40001;
constexpr UINT kRestore = 40002;
constexpr UINT kSettings = 40005;
constexpr UINT kAbout = 40006;
constexpr UINT kTrayCallback = 0x8065;
constexpr WPARAM kTrayIconId = 102;

// %APPDATA%\Brindle-Works, %APPDATA%\Brindle-Works\Tessaly and files in it.
std::string MakerFolder();
std::string SettingsFolder();
std::string SettingsFile();
std::string LayoutFile(int width, int height);
std::string CurrentLayoutFile();  // for the monitors as they are now

bool Exists(const std::string& path);
using testsupport::ReadBytes;
bool WriteBytes(const std::string& path, const std::string& bytes);
void RemoveTree(const std::string& path);
// Creates the settings folder and writes Tessaly.ini with these bytes.
bool WriteSettings(const std::string& text);
// A key's value as the profile functions read it, or "<absent>".
std::string ProfileValue(const std::string& path, const char* section, const char* key);
// Writes a layout file in Tessaly's format.
bool WriteLayout(const std::string& path, const std::vector<testsupport::DesktopIcon>& icons);
// The icons of a layout file, in file order.
std::vector<testsupport::DesktopIcon> ReadLayout(const std::string& path);
// Icons sorted as a capture sorts them: by x, then y.
std::vector<testsupport::DesktopIcon> InPositionOrder(std::vector<testsupport::DesktopIcon> icons);

// Polls `done` every 50 ms until it holds or `timeoutMs` has passed.  For
// events that come: the limit is one only a fault reaches.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000);
// Polls `done` until it holds or GetTickCount has passed `deadline`, and
// once more then: for what Tessaly's own rules say must have happened by a
// moment.
bool WaitUntil(const std::function<bool()>& done, DWORD deadline);

// The latest moment (GetTickCount) at which Tessaly's desktop watch looks at
// the desktop after a sign at `signAt`, by its rule (app/desktop_watch.h):
// once no sign has come for kStillMs, and the look before, which ended at
// `lastLookEnd`, is kLookCostRatio times the cost of a look ago (at least
// kLookSpacingMs), at the next tick of its timer, with kLookMarginMs for a
// busy machine.  `lookCostMs` bounds what a look costs.
inline constexpr DWORD kLookMarginMs = 2000;  // late timer messages and the look's first call on a busy 2-core machine
DWORD LookDeadline(DWORD signAt, DWORD lastLookEnd, DWORD lookCostMs);
// Waits until the file exists and its bytes have stayed the same for 500 ms.
bool WaitForFileSettled(const std::string& path, int timeoutMs = 20000);
using testsupport::ChangeResolution;
using testsupport::WaitForQuietDesktop;

class Tessaly {
 public:
  Tessaly() = default;
  Tessaly(const Tessaly&) = delete;
  Tessaly& operator=(const Tessaly&) = delete;
  ~Tessaly();  // ends a copy that still runs

  // Starts Tessaly.exe, with these arguments and in this current folder when
  // given; with waitForWindow, waits for its main window and its first answer.
  bool Start(bool waitForWindow = true, const std::string& arguments = "", const std::string& folder = "");
  HWND Window() const { return window_; }
  DWORD ProcessId() const { return processId_; }
  bool Running() const;
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // What Explorer sends every top-level window when its taskbar is back
  // ("TaskbarCreated").  Sent, so that Tessaly has handled it on return.
  bool AnnounceNewTaskbar() const;
  // The exit code, or nothing (false) when the process did not end in time.
  bool WaitExit(int* exitCode, int timeoutMs = 20000);
  // Posts WM_CLOSE and waits for the exit code.
  bool Close(int* exitCode);
  // Ends the process at once, as a crash, a power cut or the end of a
  // session does; returns once it has ended.
  void Kill();

  // A visible top-level window of this process of the class and title.
  HWND FindOwnWindow(const char* className, const char* title) const;
  HWND WaitForDialog(const char* title, int timeoutMs = 20000) const;
  bool WaitForNoDialog(const char* title, int timeoutMs = 20000) const;
  // The visible popup menu window ("#32768") of this process, if any.
  HWND FindMenu() const;

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

// The exit code given for a process that did not start or end.
constexpr int kNotEnded = -99;
// Runs Tessaly.exe with these arguments (in this current folder, when given)
// and returns its exit code.
int RunTessaly(const std::string& arguments, const std::string& folder = "");

// The text of a message box (its static control 0xFFFF).
std::string MessageBoxText(HWND box);
std::string WindowText(HWND window);
// Presses a message box's or dialog's OK button.
void PressOk(HWND dialog);

}  // namespace e2e
