// Capture and restore of 1000 icons of the test desktop under Wine, each
// beside its floor: the same messages and memory transfers in a plain loop.
//
//   bash scripts/bench-engine.sh [icons] [rounds]   (also runs the native benchmarks)
//
// Runs are interleaved and the fastest of each kind is compared, so that the
// other work of a shared machine weighs on both alike.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/capture.h"
#include "engine/displays.h"
#include "engine/restore.h"
#include "tests/support/memory_desktop_view.h"
#include "tests/support/test_desktop_client.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The capture's own traffic through the list view and nothing else: lookup,
// connection, three blocks, and per item one write, two messages and two
// reads.  (The engine writes one more: it empties the text block.)
void CaptureFloor() {
  HWND progman = FindWindowA("Progman", "Program Manager");
  HWND defView = FindWindowExA(progman, nullptr, "SHELLDLL_DefView", nullptr);
  HWND view = FindWindowExA(defView, nullptr, "SysListView32", nullptr);
  DWORD processId = 0;
  GetWindowThreadProcessId(view, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  void* point = VirtualAllocEx(process, nullptr, 8, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  void* text = VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  void* item = VirtualAllocEx(process, nullptr, 72, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  LVITEMW image = {};
  image.pszText = static_cast<wchar_t*>(text);
  image.cchTextMax = 2047;
  static wchar_t local[2048];
  POINT pt;
  int count = static_cast<int>(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    WriteProcessMemory(process, item, &image, 72, nullptr);
    SendMessageA(view, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(item));
    ReadProcessMemory(process, text, local, sizeof local, nullptr);
    SendMessageA(view, LVM_GETITEMPOSITION, i, reinterpret_cast<LPARAM>(point));
    ReadProcessMemory(process, point, &pt, sizeof pt, nullptr);
  }
  for (void* block : {point, text, item}) VirtualFreeEx(process, block, 0, MEM_RELEASE);
  CloseHandle(process);
}

void MovesFloor(const std::vector<MemoryDesktopView::Move>& moves) {
  HWND view = testsupport::TestDesktop::FindView();
  for (const auto& m : moves) {
    SendMessageA(view, LVM_SETITEMPOSITION, m.index, MAKELPARAM(m.x & 0xFFFF, m.y & 0xFFFF));
  }
}

IconLayout ToLayout(const std::vector<testsupport::DesktopIcon>& icons) {
  IconLayout layout;
  for (const auto& icon : icons) layout.push_back({0, icon.name, icon.x, icon.y});
  return layout;
}

struct Figures {
  std::vector<double> engine;
  std::vector<double> floor;
};

void Print(const char* what, Figures& f) {
  std::sort(f.engine.begin(), f.engine.end());
  std::sort(f.floor.begin(), f.floor.end());
  const double engine = f.engine.front();
  const double floor = f.floor.front();
  std::printf("%-8s engine %9.1f ms   floor %9.1f ms   ratio %.3f   (medians %.1f / %.1f ms)\n", what, engine,
              floor, engine / floor, f.engine[f.engine.size() / 2], f.floor[f.floor.size() / 2]);
}

}  // namespace

int main(int argc, char** argv) {
  const int icons = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;

  // Layout A: a grid; layout B: every icon on the next icon's place, so that
  // the icons stand on each other's places in one ring (icons + 1 moves).
  const auto arrangementA = testsupport::GridIcons(icons, "icon", 40, 60, 20, 20);
  auto arrangementB = arrangementA;
  for (int i = 0; i < icons; ++i) {
    arrangementB[i].x = arrangementA[(i + 1) % icons].x;
    arrangementB[i].y = arrangementA[(i + 1) % icons].y;
  }
  const IconLayout layoutA = ToLayout(arrangementA);
  const IconLayout layoutB = ToLayout(arrangementB);

  // The moves of A -> B, as the engine makes them, learnt from the in-memory
  // view holding arrangement A.
  MemoryDesktopView dryRun;
  for (const auto& icon : arrangementA) dryRun.AddIcon(icon.name, icon.x, icon.y);
  IconLayout stored = layoutB;
  if (RestoreIconLayout(dryRun, stored, QueryDisplaySetup()) != 0) return 1;
  const auto moves = dryRun.Moves();

  testsupport::TestDesktop desktop;
  if (!desktop.Start(arrangementA)) {
    std::fprintf(stderr, "cannot start the test desktop\n");
    return 1;
  }
  std::printf("%d icons, %d rounds, %zu moves per restore\n", icons, rounds, moves.size());

  Figures capture;
  Figures restore;
  IconLayout layout;
  for (int round = 0; round < rounds; ++round) {
    auto start = Clock::now();
    const int captured = CaptureIconLayout(layout);
    capture.engine.push_back(MillisecondsSince(start));
    if (captured != 0 || static_cast<int>(layout.size()) != icons) {
      std::fprintf(stderr, "captured %zu icons of %d\n", layout.size(), icons);
      return 1;
    }
    start = Clock::now();
    CaptureFloor();
    capture.floor.push_back(MillisecondsSince(start));

    // The desktop stands in A before each timed restore.
    stored = layoutB;
    start = Clock::now();
    int restored = RestoreIconLayout(stored);
    restore.engine.push_back(MillisecondsSince(start));
    stored = layoutA;
    restored |= RestoreIconLayout(stored);
    start = Clock::now();
    CaptureFloor();
    MovesFloor(moves);
    restore.floor.push_back(MillisecondsSince(start));
    stored = layoutA;
    restored |= RestoreIconLayout(stored);
    if (restored != 0) {
      std::fprintf(stderr, "a restore failed: the test desktop went away\n");
      return 1;
    }
  }
  Print("capture", capture);
  Print("restore", restore);
  return 0;
}
