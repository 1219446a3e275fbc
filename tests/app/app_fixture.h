// A tray program without windows: its shared state around an in-memory
// desktop, a recording host and a scratch folder for the layout files.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "app/app_state.h"
#include "app/display_change.h"
#include "app/desktop_watch.h"
#include "engine/capture.h"
#include "engine/layout_file.h"
#include "tests/app/fake_app_host.h"
#include "tests/files/fault_sweep.h"
#include "tests/files/temp_folder.h"
#include "tests/support/memory_desktop_view.h"

using testfiles::ReadBytes;
using testfiles::WriteBytes;

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    view.AddIcon("Notes", 10, 10);
    view.AddIcon("Mail", 100, 50);
    view.AddIcon("ごみ箱", 20, 300);
  }

  // The snapshot kept for a "default" file; empty when there is none.
  IconLayout SnapshotOf(const std::string& path) {
    const auto& layouts = app.snapshots.Snapshots();
    const auto found = layouts.find(path);
    return found == layouts.end() ? IconLayout() : found->second.layout;
  }
  // What a "default" file holds, by the engine's reader; empty when missing.
  IconLayout Stored(const std::string& path) {
    IconLayout layout;
    if (LoadLayoutFile(path.c_str(), layout) != 1) layout.clear();
    return layout;
  }
  // The desktop's icons as a layout in position order, as a capture gives it.
  IconLayout DesktopNow() {
    IconLayout layout;
    EXPECT_EQ(CaptureIconLayout(view, layout), 0) << "the desktop could not be read";
    view.ClearCalls();
    return layout;
  }
  // Moves an icon as the user or the shell would, unrecorded.
  void MoveIcon(int index, int x, int y) {
    view.SetItemPosition(index, x, y);
    view.ClearCalls();
  }
  int Captures() const { return view.CountCalls(MemoryDesktopView::Op::Open); }

  // The display changes as the system tells it: the screen has its new size,
  // the shell sizes its view to it, and WM_DISPLAYCHANGE arrives.
  void ChangeResolution(int width, int height) {
    host.SetResolution(width, height);
    view.SetViewSize(width, height);
    display.OnDisplayChange(app);
  }
  // The same for monitors attached, detached or moved.
  void ChangeDisplays(const DisplaySetup& setup) {
    host.SetDisplays(setup);
    const ScreenSize size = DesktopSizeOf(setup);
    view.SetViewSize(size.width, size.height);
    display.OnDisplayChange(app);
  }
  // The main window's timers, as it dispatches them.
  void OnTimer(unsigned id) {
    if (id == kDisplayChangeTimer) display.OnTimer(app);
    if (id == kLookTimer) look.OnTimer(app);
    if (id == kInputPollTimer) look.OnInputPoll(app);
  }
  // Lets `ms` pass on the clock, in steps of 50 ms, handling each running
  // timer whenever its period has passed; `eachStep` runs before each step,
  // as the shell would go on moving icons meanwhile.
  void RunTimers(std::uint64_t ms, const std::function<void()>& eachStep = nullptr) {
    for (std::uint64_t passed = 0; passed < ms; passed += kStepMs) {
      if (eachStep) eachStep();
      host.Advance(kStepMs);
      host.RunDueTimers([this](unsigned id) { OnTimer(id); });
    }
  }
  // Runs the timers until the display change has been carried out (at most
  // a simulated minute).
  void FinishDisplayChange() {
    for (int i = 0; i < 1200 && display.UnderWay(); ++i) RunTimers(kStepMs);
    ASSERT_FALSE(display.UnderWay()) << "the display change never finished";
  }

  static constexpr std::uint64_t kStepMs = 50;

  testfiles::TempFolder folder;
  MemoryDesktopView view;
  AppSettings settings;
  FakeAppHost host{folder.Path()};
  AppState app{view, settings, host};
  DisplayChange display;
  DesktopWatch look;
};

inline bool SameIcons(const IconLayout& a, const IconLayout& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].x != b[i].x || a[i].y != b[i].y) return false;
  }
  return true;
}

inline std::string Describe(const IconLayout& layout) {
  std::string text;
  for (const IconEntry& e : layout) text += "  " + e.name + " @ (" + std::to_string(e.x) + ", " + std::to_string(e.y) + ")\n";
  return text.empty() ? "  (empty)\n" : text;
}
