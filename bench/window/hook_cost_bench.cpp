// What the desktop hook adds to each message that another process sends to
// the desktop's thread: the time of LVM_GETITEMCOUNT sent from here to the
// test desktop, without the hook and with it (reports drained by a main
// window "CID_TESSALY" / "Pavane" of this process).  A plain timing program,
// run under Wine:
//   scripts/wine-run.sh --prefix build/windows/wineprefix build/windows/bin/hook_cost_bench.exe [sends]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "hook/sorrel.h"
#include "tests/support/test_desktop_client.h"

namespace {

long reports = 0;

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) {
    ++reports;
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

// Microseconds per send.
double TimeSends(HWND view, int sends) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < sends; ++i) {
    SendMessageA(view, LVM_GETITEMCOUNT, 0, 0);
    if ((i & 31) == 0) Pump();
  }
  QueryPerformanceCounter(&end);
  return (end.QuadPart - start.QuadPart) * 1e6 / frequency.QuadPart / sends;
}

}  // namespace

int main(int argc, char** argv) {
  int sends = argc > 1 ? std::atoi(argv[1]) : 2000;
  if (sends <= 0) sends = 2000;

  HMODULE library = LoadLibraryA(testsupport::DeliverablePath("sorrel_x64.dll").c_str());
  auto start = reinterpret_cast<SorrelStartFunction>(reinterpret_cast<void*>(GetProcAddress(library, "Sorrel_Start")));
  auto end = reinterpret_cast<SorrelEndFunction>(reinterpret_cast<void*>(GetProcAddress(library, "Sorrel_End")));
  if (!start || !end) {
    std::fprintf(stderr, "hook_cost_bench: cannot load sorrel_x64.dll\n");
    return 2;
  }
  WNDCLASSA wc = {};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "CID_TESSALY";
  RegisterClassA(&wc);
  HWND main = CreateWindowExA(0, "CID_TESSALY", "Pavane", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance,
                              nullptr);

  testsupport::TestDesktop desktop;
  if (!desktop.Start(testsupport::GridIcons(4))) {
    std::fprintf(stderr, "hook_cost_bench: the test desktop did not start\n");
    return 3;
  }
  HWND view = testsupport::TestDesktop::FindView();
  TimeSends(view, 100);  // warm-up
  double without = TimeSends(view, sends);
  if (start() != 1) {
    std::fprintf(stderr, "hook_cost_bench: the hook was not installed\n");
    return 4;
  }
  TimeSends(view, 100);  // loads the library into the desktop
  double with = TimeSends(view, sends);
  end();
  Pump();
  std::printf("LVM_GETITEMCOUNT across processes, %d sends each:\n", sends);
  std::printf("  without the hook  %8.1f us per send\n", without);
  std::printf("  with the hook     %8.1f us per send (%ld reports received)\n", with, reports);
  DestroyWindow(main);
  return 0;
}
