// What the Windows timing programs of the tray program share: its settings
// folder, and Tessaly.exe started as a user starts it and ended as the shell
// ends it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/test_desktop_client.h"

namespace bench {

// %APPDATA%\Brindle-Works\Tessaly, created when missing.
std::string SettingsFolder();
// Writes Tessaly.ini with the automatic save on or off, and the lock.
bool WriteSettings(bool autoCapture, bool lock = false);
// Writes a layout file in Tessaly's format, in one write.
bool WriteLayout(const std::string& path, const std::vector<testsupport::DesktopIcon>& icons);
// The current resolution's "default" layout file.
std::string CurrentLayoutFile();

class TessalyProcess {
 public:
  TessalyProcess() = default;
  TessalyProcess(const TessalyProcess&) = delete;
  TessalyProcess& operator=(const TessalyProcess&) = delete;
  ~TessalyProcess();  // closes it, or ends it when it does not close

  // Starts Tessaly.exe (the one built beside this program, or `program`)
  // and waits for its main window; false when it did not come up.
  bool Start(const std::string& program = "");
  HWND Window() const { return window_; }
  DWORD ProcessId() const { return processId_; }

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

}  // namespace bench
