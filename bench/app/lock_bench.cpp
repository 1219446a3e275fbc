// How soon the lock puts icons back: from the end of a move (the last
// LVM_SETITEMPOSITION32 the desktop carried out, which the hook reports as it
// reports the end of a drag) to the moment the last moved icon stands at its
// held place again, on a desktop of 100 icons.  The time includes the quiet
// time a look waits for (500 ms).  Run under Wine in a prefix of its own:
//
//   scripts/wine-run-fresh.sh --template build/windows/wineprefix-e2e-template
//       --prefix build/windows/wineprefix-bench build/windows/bin/app_lock_bench.exe [--icons N] [--runs R]
//
// Prints each case's times, one icon moved (R times, each another icon, as
// the shell's fight rule would count the same icon moved back again) and
// every icon moved (twice).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/app/bench_tessaly.h"
#include "tests/support/test_desktop_client.h"

namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

// Waits until every icon of `indexes` stands where `held` has it (30 s at
// most); the milliseconds since `from`, or -1.  Read every 50 ms: closer
// readings of the desktop would slow the looks they time.
long WaitBack(TestDesktop& desktop, const std::vector<DesktopIcon>& held, const std::vector<int>& indexes,
              DWORD from) {
  while (GetTickCount() - from < 30000) {
    const std::vector<DesktopIcon> now = desktop.Icons();
    bool back = now.size() == held.size();
    for (int i : indexes) back = back && now[i].x == held[i].x && now[i].y == held[i].y;
    if (back) return static_cast<long>(GetTickCount() - from);
    Sleep(50);
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  int iconCount = 100;
  int runs = 5;
  for (int i = 1; i + 1 < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--icons") iconCount = std::atoi(argv[++i]);
    if (arg == "--runs") runs = std::atoi(argv[++i]);
  }
  iconCount = std::max(iconCount, 2);
  runs = std::clamp(runs, 1, iconCount);
  const std::vector<DesktopIcon> held = testsupport::GridIcons(iconCount, "icon", 10, 80, 20, 20);
  TestDesktop desktop;
  if (!bench::WriteSettings(false, true) || !desktop.Start(held)) return 1;
  bench::TessalyProcess tessaly;
  if (!tessaly.Start()) return 1;
  testsupport::WaitForQuietDesktop(desktop, 1500);

  bool ok = true;
  std::printf("lock put-back, %d icons: end of the move -> last icon back (ms)\n", iconCount);
  std::printf("  one icon moved:  ");
  for (int r = 0; r < runs; ++r) {
    const int index = r * (iconCount / runs);
    if (!desktop.Move(index, held[index].x + 400, held[index].y + 35)) return 1;
    const long ms = WaitBack(desktop, held, {index}, GetTickCount());
    ok = ok && ms >= 0;
    std::printf(" %ld", ms);
    testsupport::WaitForQuietDesktop(desktop, 1500);
  }
  std::printf("\n  every icon moved:");
  std::vector<int> all(iconCount);
  for (int i = 0; i < iconCount; ++i) all[i] = i;
  for (int r = 0; r < 2; ++r) {
    for (int i = iconCount - 1; i >= 0; --i) {
      if (!desktop.Move(i, held[i].x + 7, held[i].y + 40 + 5 * r)) return 1;
    }
    const long ms = WaitBack(desktop, held, all, GetTickCount());
    ok = ok && ms >= 0;
    std::printf(" %ld", ms);
    testsupport::WaitForQuietDesktop(desktop, 1500);
  }
  std::printf("\n");
  return ok ? 0 : 1;
}
