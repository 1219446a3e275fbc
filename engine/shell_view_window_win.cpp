#include <windows.h>

#include "engine/shell_view_window.h"

namespace {

// More top-level "WorkerW" windows than the shell ever makes; the bound only
// guarantees that the search ends while windows come and go during it.
constexpr int kMostWorkers = 1024;

}  // namespace

void* FindShellListView() {
  // Each step searches under the previous result even when it is null (a
  // null parent stands for the top-level windows).
  HWND progman = FindWindowA("Progman", "Program Manager");
  HWND defView = FindWindowExA(progman, nullptr, "SHELLDLL_DefView", nullptr);
  HWND worker = nullptr;
  for (int seen = 0; !defView && seen < kMostWorkers; ++seen) {
    worker = FindWindowExA(nullptr, worker, "WorkerW", nullptr);
    if (!worker) break;
    defView = FindWindowExA(worker, nullptr, "SHELLDLL_DefView", nullptr);
  }
  return FindWindowExA(defView, nullptr, "SysListView32", nullptr);
}
