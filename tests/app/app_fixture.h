// A tray program without windows: its shared state around an in-memory
// desktop, a recording host and a scratch folder for the layout files.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/app_state.h"
#include "engine/capture.h"
#include "engine/layout_file.h"
#include "engine/memory_desktop_view.h"
#include "tests/app/fake_app_host.h"

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    LayoutBusy = 0;
    view.AddIcon("Notes", 10, 10);
    view.AddIcon("Mail", 100, 50);
    view.AddIcon("ごみ箱", 20, 300);
  }

  // What a "default" file holds, by the engine's reader; empty when missing.
  IconLayout Stored(const std::string& path) {
    IconLayout layout;
    if (LoadLayoutFile(path.c_str(), layout) != 1) layout.clear();
    return layout;
  }
  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
  }
  // The desktop's icons as a layout in position order, as a capture gives it.
  IconLayout DesktopNow() {
    IconLayout layout;
    CaptureIconLayout(view, layout);
    view.ClearCalls();
    return layout;
  }
  // Moves an icon as the user or the shell would, unrecorded.
  void MoveIcon(int index, int x, int y) {
    view.SetItemPosition(index, x, y);
    view.ClearCalls();
  }
  int Captures() const { return view.CountCalls(MemoryDesktopView::Op::Open); }

  ScratchFolder folder;
  MemoryDesktopView view;
  AppSettings settings;
  FakeAppHost host{folder.Path()};
  AppState app{view, settings, host};
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
