// How long Tessaly takes to become idle again after restoring a large
// desktop, with the automatic save off and on.  With it on, the restore's
// moves come back as a burst of hook reports, which must cost one snapshot,
// not one per move.  Run under Wine in a prefix of its own:
//
//   scripts/wine-run-fresh.sh --template build/windows/wineprefix-e2e-template
//       --prefix build/windows/wineprefix-bench build/windows/bin/app_restore_bench.exe [--icons N]
//
// Prints, for each setting, the time from the Restore command to the last
// request the desktop answered, the number of captures and moves, and the
// ratio of the two times.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/test_desktop_client.h"

namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

std::string SettingsFolder() {
  char folder[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  std::string maker = std::string(folder) + "\\Brindle-Works";
  CreateDirectoryA(maker.c_str(), nullptr);
  CreateDirectoryA((maker + "\\Tessaly").c_str(), nullptr);
  return maker + "\\Tessaly";
}

bool WriteLayout(const std::string& path, const std::vector<DesktopIcon>& icons) {
  DeleteFileA(path.c_str());
  // One write of the whole file; the profile functions would take minutes.
  std::string text = "[QVD-Fomat]\r\nVersion=0.01\r\n[QVD-Data]\r\nIconCount=" + std::to_string(icons.size()) + "\r\n";
  for (size_t i = 0; i < icons.size(); ++i) {
    std::string n = std::to_string(i);
    text += "IconName_" + n + "=" + icons[i].name + "\r\nIconPosX_" + n + "=" + std::to_string(icons[i].x) +
            "\r\nIconPosY_" + n + "=" + std::to_string(icons[i].y) + "\r\n";
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fwrite(text.data(), 1, text.size(), f);
  return std::fclose(f) == 0;
}

long Requests(TestDesktop& desktop) {
  return desktop.Count("getitemcount") + desktop.Count("getitemtext") + desktop.Count("getitemposition") +
         desktop.Count("setitemposition");
}

// Waits until the desktop has answered no request for `quietMs`; returns the
// tick count of the last answered request.
DWORD WaitForQuiet(TestDesktop& desktop, DWORD quietMs) {
  long last = Requests(desktop);
  DWORD lastChange = GetTickCount();
  while (GetTickCount() - lastChange < quietMs) {
    Sleep(20);
    long now = Requests(desktop);
    if (now != last) {
      last = now;
      lastChange = GetTickCount();
    }
  }
  return lastChange;
}

struct Result {
  bool ok = false;
  double seconds = 0;
  long captures = 0;
  long moves = 0;
};

Result Run(int iconCount, bool autoCapture) {
  Result result;
  std::string folder = SettingsFolder();
  std::string ini = "[General]\r\nResolution_AutoCapture=" + std::string(autoCapture ? "true" : "false") + "\r\n";
  if (FILE* f = std::fopen((folder + "\\Tessaly.ini").c_str(), "wb")) {
    std::fwrite(ini.data(), 1, ini.size(), f);
    std::fclose(f);
  }
  TestDesktop desktop;
  if (!desktop.Start(testsupport::GridIcons(iconCount, "icon", 40, 60, 10, 10))) return result;
  std::vector<DesktopIcon> icons = desktop.Icons();
  std::vector<DesktopIcon> stored = icons;
  for (size_t i = 0; i < stored.size(); ++i) {
    stored[i].x = icons[(i + 1) % icons.size()].x;
    stored[i].y = icons[(i + 1) % icons.size()].y;
  }
  std::string layout = folder + "\\default." + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
                       std::to_string(GetSystemMetrics(SM_CYSCREEN)) + ".qvd";
  if (!WriteLayout(layout, stored)) return result;

  std::string command = "\"" + testsupport::DeliverablePath("Tessaly.exe") + "\"";
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return result;
  CloseHandle(pi.hThread);
  HWND window = nullptr;
  for (int waited = 0; waited < 30000 && !window; waited += 50) {
    window = FindWindowA("CID_TESSALY", "Pavane");
    Sleep(50);
  }
  if (window) {
    WaitForQuiet(desktop, 2000);  // the first snapshot
    desktop.ResetCounts();
    DWORD start = GetTickCount();
    PostMessageA(window, WM_COMMAND, 40002, 0);
    DWORD last = WaitForQuiet(desktop, 3000);
    result.seconds = (last - start) / 1000.0;
    result.captures = desktop.Count("getitemcount");
    result.moves = desktop.Count("setitemposition");
    result.ok = desktop.Icons() == stored;
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  desktop.Quit();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  int icons = 1000;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--icons") icons = std::atoi(argv[i + 1]);
  }
  std::printf("restore of %d icons, time until Tessaly is idle again\n", icons);
  Result off = Run(icons, false);
  std::printf("  automatic save off: %.2f s, %ld captures, %ld moves%s\n", off.seconds, off.captures, off.moves,
              off.ok ? "" : " (icons NOT all restored)");
  Result on = Run(icons, true);
  std::printf("  automatic save on:  %.2f s, %ld captures, %ld moves%s\n", on.seconds, on.captures, on.moves,
              on.ok ? "" : " (icons NOT all restored)");
  if (off.seconds > 0) std::printf("  ratio on/off: %.2f\n", on.seconds / off.seconds);
  return off.ok && on.ok ? 0 : 1;
}
