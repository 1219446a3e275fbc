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

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/app/bench_tessaly.h"
#include "tests/support/test_desktop_client.h"

namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

long Requests(TestDesktop& desktop) {
  return desktop.Count("getitemcount") + desktop.Count("getitemtext") + desktop.Count("getitemposition") +
         desktop.Count("setitemposition");
}

// Waits until the desktop has answered no request for `quietMs` (two
// minutes at most); returns the tick count of the last answered request.
DWORD WaitForQuiet(TestDesktop& desktop, DWORD quietMs) {
  long last = Requests(desktop);
  const DWORD start = GetTickCount();
  DWORD lastChange = start;
  while (GetTickCount() - lastChange < quietMs && GetTickCount() - start < 120000) {
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
  if (!bench::WriteSettings(autoCapture)) return result;
  TestDesktop desktop;
  if (!desktop.Start(testsupport::GridIcons(iconCount, "icon", 40, 60, 10, 10))) return result;
  std::vector<DesktopIcon> icons = desktop.Icons();
  std::vector<DesktopIcon> stored = icons;
  for (size_t i = 0; i < stored.size(); ++i) {
    stored[i].x = icons[(i + 1) % icons.size()].x;
    stored[i].y = icons[(i + 1) % icons.size()].y;
  }
  if (!bench::WriteLayout(bench::CurrentLayoutFile(), stored)) return result;

  bench::TessalyProcess tessaly;
  if (tessaly.Start()) {
    WaitForQuiet(desktop, 2000);  // the first snapshot
    desktop.ResetCounts();
    DWORD start = GetTickCount();
    PostMessageA(tessaly.Window(), WM_COMMAND, 40002, 0);
    DWORD last = WaitForQuiet(desktop, 3000);
    result.seconds = (last - start) / 1000.0;
    result.captures = desktop.Count("getitemcount");
    result.moves = desktop.Count("setitemposition");
    result.ok = desktop.Icons() == stored;
  }
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
