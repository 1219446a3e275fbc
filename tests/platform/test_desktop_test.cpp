// The test desktop seen from another process, the way Tessaly sees the shell:
// found by the three-step lookup, read and moved across processes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "tests/support/test_desktop_client.h"

namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

struct RemoteView {
  HWND view = nullptr;
  HANDLE process = nullptr;
  void* text = nullptr;
  void* item = nullptr;
  void* point = nullptr;

  bool Open() {
    view = TestDesktop::FindView();
    DWORD pid = 0;
    if (!view || !GetWindowThreadProcessId(view, &pid)) return false;
    process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return false;
    point = VirtualAllocEx(process, nullptr, sizeof(POINT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    text = VirtualAllocEx(process, nullptr, 2048, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    item = VirtualAllocEx(process, nullptr, sizeof(LVITEMA), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    return point && text && item;
  }
  ~RemoteView() {
    for (void* block : {point, text, item}) {
      if (block) VirtualFreeEx(process, block, 0, MEM_RELEASE);
    }
    if (process) CloseHandle(process);
  }
  int Count() { return static_cast<int>(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0)); }
  DesktopIcon Read(int index) {
    DesktopIcon icon;
    LVITEMA image = {};
    image.pszText = static_cast<char*>(text);
    image.cchTextMax = 2047;
    EXPECT_TRUE(WriteProcessMemory(process, item, &image, sizeof image, nullptr));
    SendMessageA(view, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(item));
    char local[2048] = {};
    EXPECT_TRUE(ReadProcessMemory(process, text, local, sizeof local, nullptr));
    icon.name = local;
    SendMessageA(view, LVM_GETITEMPOSITION, index, reinterpret_cast<LPARAM>(point));
    POINT pt = {};
    EXPECT_TRUE(ReadProcessMemory(process, point, &pt, sizeof pt, nullptr));
    icon.x = pt.x;
    icon.y = pt.y;
    return icon;
  }
};

TEST(TestDesktop, IsReadAndMovedFromAnotherProcess) {
  std::vector<DesktopIcon> icons = {
      {"ごみ箱", 20, 20}, {"表計算.xls", 20, 120}, {"readme.txt", 120, 20}, {"ソフト", 120, 120}};
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start(icons));
  EXPECT_EQ(desktop.Icons(), icons) << testsupport::ToString(desktop.Icons());

  RemoteView remote;
  ASSERT_TRUE(remote.Open());
  ASSERT_EQ(remote.Count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(remote.Read(i), icons[i]) << "icon " << i;

  // lParam carries both coordinates as their low 16 bits.
  SendMessageA(remote.view, LVM_SETITEMPOSITION, 2, MAKELPARAM(300, 200));
  EXPECT_EQ(remote.Read(2), (DesktopIcon{"readme.txt", 300, 200}));
  EXPECT_EQ(desktop.Icons()[2], (DesktopIcon{"readme.txt", 300, 200}));
}

TEST(TestDesktop, ChangesIconsFromItsSecondThreadAndCountsRequests) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start(testsupport::GridIcons(3)));
  ASSERT_TRUE(desktop.ResetCounts());
  RemoteView remote;
  ASSERT_TRUE(remote.Open());
  remote.Count();
  remote.Count();
  EXPECT_EQ(desktop.Count("getitemcount"), 2);

  ASSERT_TRUE(desktop.Move(0, 400, 300));
  ASSERT_TRUE(desktop.Add("新しいフォルダ", 500, 300));
  ASSERT_TRUE(desktop.Rename(1, "名前変更"));
  ASSERT_TRUE(desktop.Remove(2));
  std::vector<DesktopIcon> expected = {{"icon0", 400, 300}, {"名前変更", 100, 20}, {"新しいフォルダ", 500, 300}};
  EXPECT_EQ(desktop.Icons(), expected) << testsupport::ToString(desktop.Icons());
  // The test's own dumps are not counted.
  EXPECT_EQ(desktop.Count("getitemcount"), 2);
}

TEST(TestDesktop, QuitsWhenAskedAndTheViewIsGone) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({}));
  EXPECT_NE(TestDesktop::FindView(), nullptr);
  desktop.Quit();
  EXPECT_FALSE(desktop.Running());
  EXPECT_EQ(TestDesktop::FindView(), nullptr);
}

}  // namespace

namespace {

TEST(TestDesktop, MisbehavesOnRequestLikeABrokenShell) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start(testsupport::GridIcons(2)));
  RemoteView remote;
  ASSERT_TRUE(remote.Open());
  ASSERT_TRUE(desktop.Command("fault unterminated on"));
  ASSERT_TRUE(desktop.Command("fault noposition on"));
  LVITEMA image = {};
  image.pszText = static_cast<char*>(remote.text);
  image.cchTextMax = 2047;
  ASSERT_TRUE(WriteProcessMemory(remote.process, remote.item, &image, sizeof image, nullptr));
  SendMessageA(remote.view, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(remote.item));
  char local[2048];
  ASSERT_TRUE(ReadProcessMemory(remote.process, remote.text, local, sizeof local, nullptr));
  EXPECT_EQ(std::string(local, 2047), std::string(2047, 'X'));
  EXPECT_EQ(SendMessageA(remote.view, LVM_GETITEMPOSITION, 0, reinterpret_cast<LPARAM>(remote.point)), FALSE);

  ASSERT_TRUE(desktop.Command("fault unterminated off"));
  ASSERT_TRUE(desktop.Command("fault noposition off"));
  EXPECT_EQ(remote.Read(1), (DesktopIcon{"icon1", 100, 20}));
}

TEST(TestDesktop, GoesAwayAfterTheRequestsItWasGiven) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start(testsupport::GridIcons(5)));
  ASSERT_TRUE(desktop.Command("quitafter getitemtext 3"));
  RemoteView remote;
  ASSERT_TRUE(remote.Open());
  for (int i = 0; i < 3; ++i) SendMessageA(remote.view, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(remote.item));
  for (int waited = 0; waited < 10000 && desktop.Running(); waited += 50) Sleep(50);
  EXPECT_FALSE(desktop.Running());
  EXPECT_FALSE(IsWindow(remote.view));
}

}  // namespace
