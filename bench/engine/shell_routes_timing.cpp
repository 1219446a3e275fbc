// The two ways into the shell's desktop side by side, under Wine, on the
// system's own shell view of 1000 files (the shell desktop): the shell's
// interface (IFolderView, served by the shell desktop as a prefix that sends
// CLSID_ShellWindows to it) and messages to its list view.  For each: the
// time of a capture and of a restore that moves every icon (the icons stand
// on each other's places in one ring), and the requests the desktop
// answered per icon read and per icon moved.
//
//   scripts/wine-run-fresh.sh --template build/windows/wineprefix-e2e-template \
//       --prefix build/windows/wineprefix-bench --desktop Bench,1024x768 \
//       build/windows/bin/engine_shell_routes_timing.exe [icons] [rounds]
//
// Rounds alternate between the ways, and the fastest of each is shown, so
// that the other work of a shared machine weighs on both alike.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/capture.h"
#include "engine/displays.h"
#include "engine/folder_view_route_win.h"
#include "engine/list_view_route_win.h"
#include "engine/restore.h"
#include "tests/support/shell_desktop_client.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One way into the desktop, alone (the program's desktop chooses between
// them at every connection).
class RouteView final : public DesktopIconView {
 public:
  explicit RouteView(ShellRoute& route) : route_(route) {}
  DesktopViewHandle FindDesktopListView() override { return testsupport::DesktopProcess::FindView(); }
  bool Open() override { return route_.Open(static_cast<HWND>(FindDesktopListView())); }
  int GetItemCount() override { return route_.GetItemCount(); }
  bool ReadItemText(int index, IconEntry& entry) override { return route_.ReadItemText(index, entry); }
  bool ReadItemPosition(int index, int& x, int& y) override { return route_.ReadItemPosition(index, x, y); }
  void SetItemPosition(int index, int x, int y) override {
    ++moves_;
    route_.SetItemPosition(index, x, y);
  }
  void FlushMoves() override { route_.FlushMoves(); }
  void Close() override { route_.Close(); }
  bool IsViewPresent() override { return !route_.Stalled(); }
  bool GetViewSize(int&, int&) override { return false; }
  long Moves() const { return moves_; }

 private:
  ShellRoute& route_;
  long moves_ = 0;
};

struct Figures {
  const char* name;
  std::vector<double> capture;
  std::vector<double> restore;
  double requestsPerRead = 0;
  double requestsPerMove = 0;
};

void Print(Figures& f) {
  std::sort(f.capture.begin(), f.capture.end());
  std::sort(f.restore.begin(), f.restore.end());
  std::printf("%-10s capture %8.1f ms   restore %8.1f ms   requests per icon read %.2f, per icon moved %.3f\n", f.name,
              f.capture.front(), f.restore.front(), f.requestsPerRead, f.requestsPerMove);
}

}  // namespace

int main(int argc, char** argv) {
  const int icons = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  if (!testsupport::ShellDesktop::ServeShellInterface()) {
    std::fprintf(stderr, "cannot register the shell interface in this prefix\n");
    return 1;
  }
  std::vector<std::wstring> files;
  for (int i = 0; i < icons; ++i) files.push_back(L"icon" + std::to_wstring(10000 + i) + L".txt");
  testsupport::ShellDesktop desktop;
  if (!desktop.Start(files)) {
    std::fprintf(stderr, "cannot start the shell desktop on an empty Desktop folder\n");
    return 1;
  }
  FolderViewRoute folderRoute;
  ListViewRoute listRoute;
  RouteView folderView(folderRoute);
  RouteView listView(listRoute);
  Figures folder{"interface"};
  Figures list{"list view"};

  // Arrangement A: the view's own; B: every icon on the next one's place.
  IconLayout arrangementA;
  if (CaptureIconLayout(listView, arrangementA) != 0) return 1;
  IconLayout arrangementB = arrangementA;
  for (size_t i = 0; i < arrangementA.size(); ++i) {
    arrangementB[i].x = arrangementA[(i + 1) % arrangementA.size()].x;
    arrangementB[i].y = arrangementA[(i + 1) % arrangementA.size()].y;
  }
  std::printf("%zu icons on the desktop, %d rounds\n", arrangementA.size(), rounds);
  for (int round = 0; round < rounds; ++round) {
    for (auto [view, figures] : {std::pair{&folderView, &folder}, std::pair{&listView, &list}}) {
      IconLayout layout;
      long before = desktop.Requests();
      auto start = Clock::now();
      if (CaptureIconLayout(*view, layout) != 0 || layout.size() != arrangementA.size()) {
        std::fprintf(stderr, "%s: captured %zu icons\n", figures->name, layout.size());
        return 1;
      }
      figures->capture.push_back(MillisecondsSince(start));
      const long readRequests = desktop.Requests() - before;
      figures->requestsPerRead = static_cast<double>(readRequests) / static_cast<double>(layout.size());

      IconLayout stored = arrangementB;
      const long movesBefore = view->Moves();
      before = desktop.Requests();
      start = Clock::now();
      if (RestoreIconLayout(*view, stored, QueryDisplaySetup()) != 0) return 1;
      figures->restore.push_back(MillisecondsSince(start));
      // A restore reads the desktop as a capture does, then moves.
      const long moves = view->Moves() - movesBefore;
      figures->requestsPerMove =
          static_cast<double>(desktop.Requests() - before - readRequests) / static_cast<double>(moves);
      stored = arrangementA;
      if (RestoreIconLayout(*view, stored, QueryDisplaySetup()) != 0) return 1;
    }
  }
  Print(folder);
  Print(list);
  return 0;
}
