#include "engine/capture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/memory_desktop_view.h"

namespace {

using Op = MemoryDesktopView::Op;

struct Expected {
  int index;
  const char* name;
  int x;
  int y;
};

void ExpectLayout(const IconLayout& layout, const std::vector<Expected>& expected, const MemoryDesktopView& view) {
  ASSERT_EQ(layout.size(), expected.size()) << view.toString();
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(layout[i].index, expected[i].index) << "entry " << i << "\n" << view.toString();
    EXPECT_EQ(layout[i].name, expected[i].name) << "entry " << i;
    EXPECT_EQ(layout[i].x, expected[i].x) << "entry " << i;
    EXPECT_EQ(layout[i].y, expected[i].y) << "entry " << i;
  }
}

TEST(ComparePosition, OrdersByXThenYSigned) {
  struct Case {
    int ax, ay, bx, by;
    bool before;
  };
  constexpr Case cases[] = {
      {5, 900, 10, 100, true},   {10, 100, 10, 200, true}, {10, 200, 10, 100, false},
      {-20, 0, 30, 0, true},     {30, 0, -20, 0, false},   {0, -5, 0, 5, true},
      {7, 7, 7, 7, false},       {-2147483647 - 1, 0, 2147483647, 0, true},
  };
  for (const Case& c : cases) {
    IconEntry a{0, "a", c.ax, c.ay};
    IconEntry b{0, "b", c.bx, c.by};
    EXPECT_EQ(ComparePosition(a, b), c.before) << "(" << c.ax << "," << c.ay << ") vs (" << c.bx << "," << c.by << ")";
  }
}

TEST(Capture, SortsColumnByColumnKeepingIndexes) {
  MemoryDesktopView view;
  view.AddIcon("b", 10, 200);
  view.AddIcon("a", 10, 100);
  view.AddIcon("c", 5, 900);
  view.AddIcon("left", -20, 50);
  IconLayout layout;
  ASSERT_EQ(CaptureIconLayout(view, layout), 0);
  ExpectLayout(layout, {{3, "left", -20, 50}, {2, "c", 5, 900}, {1, "a", 10, 100}, {0, "b", 10, 200}}, view);
  EXPECT_TRUE(view.Misuses().empty()) << view.toString();
}

TEST(Capture, KeepsDuplicateAndEmptyNamesAndCodePageBytes) {
  MemoryDesktopView view;
  const std::string japanese = "ごみ箱";  // code page 932 bytes in this build
  view.AddIcon("A", 50, 0);
  view.AddIcon("", 0, 0);
  view.AddIcon("A", 20, 0);
  view.AddIcon(japanese, 20, 80);
  IconLayout layout;
  ASSERT_EQ(CaptureIconLayout(view, layout), 0);
  ExpectLayout(layout, {{1, "", 0, 0}, {2, "A", 20, 0}, {3, japanese.c_str(), 20, 80}, {0, "A", 50, 0}}, view);
}

TEST(Capture, ReadsEachItemOnceThroughOneConnection) {
  MemoryDesktopView view;
  view.AddIcon("one", 1, 1);
  view.AddIcon("two", 2, 2);
  IconLayout layout;
  ASSERT_EQ(CaptureIconLayout(view, layout), 0);
  const std::vector<std::pair<Op, int>> expected = {
      {Op::Open, 0},         {Op::GetItemCount, 0},     {Op::ReadItemText, 0}, {Op::ReadItemPosition, 0},
      {Op::ReadItemText, 1}, {Op::ReadItemPosition, 1}, {Op::Close, 0}};
  ASSERT_EQ(view.Calls().size(), expected.size()) << view.toString();
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(view.Calls()[i].op, expected[i].first) << "call " << i << "\n" << view.toString();
    EXPECT_EQ(view.Calls()[i].index, expected[i].second) << "call " << i;
  }
}

TEST(Capture, EmptyDesktopIsASuccessWithNoReads) {
  MemoryDesktopView view;
  IconLayout layout = {{7, "stale", 1, 2}};
  EXPECT_EQ(CaptureIconLayout(view, layout), 0);
  EXPECT_TRUE(layout.empty());
  EXPECT_EQ(view.CountCalls(Op::ReadItemText), 0);
  EXPECT_EQ(view.CountCalls(Op::Close), 1);
  EXPECT_FALSE(view.IsOpen());
}

TEST(Capture, SkipsItemsThatCannotBeRead) {
  MemoryDesktopView view;
  view.AddIcon("first", 0, 0);
  view.AddIcon("no text", 0, 100);
  view.AddIcon("no position", 0, 200);
  view.AddIcon("last", 0, 300);
  view.FailTextRead(1);
  view.FailPositionRead(2);
  IconLayout layout;
  ASSERT_EQ(CaptureIconLayout(view, layout), 0);
  ExpectLayout(layout, {{0, "first", 0, 0}, {3, "last", 0, 300}}, view);
}

// An icon removed while the capture runs: the view's last index no longer
// answers, and nothing is recorded for it (in particular not the previous
// icon's name and place again).
TEST(Capture, IconRemovedDuringCaptureIsLeftOut) {
  MemoryDesktopView view;
  view.AddIcon("a", 0, 0);
  view.AddIcon("b", 0, 100);
  view.AddIcon("c", 0, 200);
  view.BeforeTextRead([&view](int index) {
    if (index == 1) view.RemoveIcon(2);
  });
  IconLayout layout;
  ASSERT_EQ(CaptureIconLayout(view, layout), 0);
  ExpectLayout(layout, {{0, "a", 0, 0}, {1, "b", 0, 100}}, view);
}

TEST(Capture, FailsWithoutADesktopAndEmptiesTheLayout) {
  struct Case {
    const char* what;
    bool present;
    bool accessible;
  };
  constexpr Case cases[] = {{"no desktop", false, true}, {"shell process not accessible", true, false}};
  for (const Case& c : cases) {
    MemoryDesktopView view;
    view.AddIcon("x", 1, 1);
    view.SetPresent(c.present);
    view.SetAccessible(c.accessible);
    IconLayout layout = {{0, "old", 5, 5}};
    EXPECT_EQ(CaptureIconLayout(view, layout), -1) << c.what;
    EXPECT_TRUE(layout.empty()) << c.what;
    EXPECT_EQ(view.CountCalls(Op::GetItemCount), 0) << c.what << "\n" << view.toString();
    EXPECT_EQ(view.CountCalls(Op::ReadItemText), 0) << c.what;
  }
}

// The shell ending while it is read: whatever was read is not a layout of
// the desktop, and saving it would replace a whole layout with a part.
TEST(Capture, ShellEndingMidwayFailsPromptlyAndKeepsNothing) {
  for (int vanishAt : {0, 2, 4}) {
    MemoryDesktopView view;
    for (int i = 0; i < 5; ++i) view.AddIcon("icon" + std::to_string(i), 0, 100 * i);
    view.BeforeTextRead([&view, vanishAt](int index) {
      if (index == vanishAt) view.SetPresent(false);
    });
    IconLayout layout = {{0, "old", 5, 5}};
    EXPECT_EQ(CaptureIconLayout(view, layout), -1) << "gone at " << vanishAt;
    EXPECT_TRUE(layout.empty()) << "gone at " << vanishAt;
    EXPECT_FALSE(view.IsOpen()) << "the connection is released";
    EXPECT_EQ(view.CountCalls(Op::ReadItemText), vanishAt + 1) << "no reads after the shell is gone\n"
                                                                << view.toString();
    EXPECT_TRUE(view.Misuses().empty()) << view.toString();
  }
}

}  // namespace
