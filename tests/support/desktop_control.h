// The control window of the test desktops (test_desktop.exe,
// shell_desktop.exe), on a second thread of the desktop's process.  Tests
// send it WM_COPYDATA with dwData 1 and the text "REPLYFILE\nCOMMAND"
// (test_desktop_client.h); the command runs from that thread, its reply, if
// any, is written to REPLYFILE before the message returns, and the message's
// result is 1 for success and 0 for failure.  The window's existence means
// ready.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

// Runs one command line on the control thread; false for a failure.
using ControlCommand = bool (*)(const std::string& line, std::string* reply);

// Starts the control thread with its hidden window of class `className`,
// whose commands go to `run`; returns the thread once the window exists.
HANDLE StartDesktopControl(const char* className, ControlCommand run);

// Ends the control thread before the process: Wine takes seconds to end a
// process whose other thread still waits for messages.
void StopDesktopControl(HANDLE thread);

// What the "dump" command answers: "count N", then a line "index TAB name TAB
// x TAB y" per icon, read through the view as any client would.
std::string DumpListView(HWND listView);

// The rectangle that holds every monitor, in screen coordinates: where the
// shell's desktop window stands (its view's coordinates start at its corner).
RECT DesktopRectangle();

// Splits "word rest" at the first blank: the word, `rest` keeping the rest.
std::string NextWord(std::string* rest);
// The next word as a number (decimal, or with 0x hexadecimal).
long long NextNumber(std::string* rest);

}  // namespace testsupport
