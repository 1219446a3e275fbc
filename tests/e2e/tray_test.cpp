// The tray icon's callbacks: the menu, and the dialogs brought forward.
#include <gtest/gtest.h>

#include <utility>

#include "about_addresses.h"

#include "app/display_change.h"
#include "tests/e2e/tessaly_driver.h"

namespace e2e {
namespace {

class E2eTray : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(tessaly.Start()); }
  void TearDown() override {
    if (!tessaly.Running()) return;
    int exitCode = -99;
    EXPECT_TRUE(tessaly.Close(&exitCode));
    EXPECT_EQ(exitCode, 0);
  }
  HWND WaitForMenu(int timeoutMs = 20000) {
    HWND menu = nullptr;
    WaitFor([&] { return (menu = tessaly.FindMenu()) != nullptr; }, timeoutMs);
    return menu;
  }
  // Closes an open tray menu as the Escape key does.
  void CloseMenu(HWND menu) {
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    WaitFor([&] { return tessaly.FindMenu() == nullptr; });
  }
  void Click(LPARAM mouseMessage) { tessaly.Post(kTrayCallback, kTrayIconId, mouseMessage); }

  Tessaly tessaly;
};

// The menu's items cannot be read from another process under Wine, so each
// is chosen by its access key and known by what it does.  (The texts
// themselves are checked byte for byte in the resources' own test.)
TEST_F(E2eTray, RightButtonOpensTheMenuAndItsItemsRunTheirCommands) {
  struct Item {
    char key;
    const char* opens;  // the title of the window the command opens
  };
  const Item items[] = {{'O', "設定"}, {'A', "バージョン情報"}, {'S', "エラー"}, {'R', "エラー - Pavane"}};
  for (const Item& item : items) {
    SCOPED_TRACE(std::string("access key ") + item.key);
    Click(WM_RBUTTONDOWN);
    HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr);
    PostMessageA(menu, WM_CHAR, item.key, 0);
    HWND opened = tessaly.WaitForDialog(item.opens);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(tessaly.FindMenu(), nullptr);
    PressOk(opened);
    ASSERT_TRUE(tessaly.WaitForNoDialog(item.opens));
  }

  // "Close the menu" only closes it.
  Click(WM_RBUTTONDOWN);
  HWND menu = WaitForMenu();
  ASSERT_NE(menu, nullptr);
  PostMessageA(menu, WM_CHAR, 'C', 0);
  EXPECT_TRUE(WaitFor([&] { return tessaly.FindMenu() == nullptr; }));
  // A dialog opened by the key would be up within this; a busy machine can
  // only make the check weaker, never fail it.
  Sleep(500);
  EXPECT_EQ(tessaly.FindOwnWindow("#32770", nullptr), nullptr);

  // Exit ends the program normally.
  Click(WM_RBUTTONDOWN);
  menu = WaitForMenu();
  ASSERT_NE(menu, nullptr);
  PostMessageA(menu, WM_CHAR, 'X', 0);
  int exitCode = -99;
  ASSERT_TRUE(tessaly.WaitExit(&exitCode));
  EXPECT_EQ(exitCode, 0);
}

TEST_F(E2eTray, LeftClicksAndOtherIconsOpenNothing) {
  Click(WM_LBUTTONDOWN);
  Click(WM_LBUTTONDBLCLK);
  Click(WM_RBUTTONUP);
  tessaly.Post(kTrayCallback, 7, WM_RBUTTONDOWN);  // not our icon
  // As above: a menu would be up within this.
  Sleep(1000);
  EXPECT_EQ(tessaly.FindMenu(), nullptr);
  // The right button still works afterwards: the clicks above were handled.
  Click(WM_RBUTTONDOWN);
  HWND menu = WaitForMenu();
  ASSERT_NE(menu, nullptr);
  CloseMenu(menu);
}

TEST_F(E2eTray, WithTheAboutDialogOpenAClickBringsItForward) {
  // A command with a high word (as from an accelerator) counts by its low word.
  tessaly.Post(WM_COMMAND, MAKEWPARAM(kAbout, 1));
  HWND about = tessaly.WaitForDialog("バージョン情報");
  ASSERT_NE(about, nullptr);
  char text[256] = {};
  GetDlgItemTextA(about, 1003, text, sizeof text);
  EXPECT_STREQ(text, "Pavane Ver.0.08");
  // The maker's addresses are the build's; a button without one is disabled.
  const std::pair<int, const char*> addresses[] = {{1001, TESSALY_HOME_PAGE}, {1002, TESSALY_MAIL_ADDRESS}};
  for (const auto& [id, address] : addresses) {
    HWND button = GetDlgItem(about, id);
    EXPECT_EQ(IsWindowEnabled(button) != 0, *address != '\0') << id;
    if (*address) {
      EXPECT_EQ(WindowText(button), address);
    }
  }

  // Escape leaves it open.
  PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
  // Closed, it would be gone within this (a busy machine only weakens the check).
  Sleep(300);
  ASSERT_TRUE(IsWindow(about));

  // Something else comes to the front first.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
  SetForegroundWindow(other);
  WaitFor([&] { return GetForegroundWindow() == other; }, 2000);

  Click(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }));
  DestroyWindow(other);
  Sleep(500);
  EXPECT_EQ(tessaly.FindMenu(), nullptr);

  PostMessageA(about, WM_CLOSE, 0, 0);
  EXPECT_TRUE(tessaly.WaitForNoDialog("バージョン情報"));
  // Closed, the menu opens again.
  Click(WM_RBUTTONDOWN);
  HWND menu = WaitForMenu();
  ASSERT_NE(menu, nullptr);
  CloseMenu(menu);
}

// When the shell restarts it announces "TaskbarCreated": the desktop hook is
// set again on the new shell's desktop, so its icon moves are heard again.
TEST_F(E2eTray, TaskbarCreatedSetsTheHookOnTheNewShell) {
  testsupport::TestDesktop oldShell;
  ASSERT_TRUE(oldShell.Start({{"Notes", 20, 20}, {"Mail", 20, 110}}));
  // Automatic save on from the Settings dialog; OK takes a snapshot.
  tessaly.Post(WM_COMMAND, kSettings);
  HWND dialog = tessaly.WaitForDialog("設定");
  ASSERT_NE(dialog, nullptr);
  SendMessageA(GetDlgItem(dialog, 1010), BM_CLICK, 0, 0);
  PressOk(dialog);
  ASSERT_TRUE(tessaly.WaitForNoDialog("設定"));
  ASSERT_TRUE(WaitFor([&] { return oldShell.Count("getitemcount") >= 1; }));
  oldShell.Quit();

  testsupport::TestDesktop newShell;
  ASSERT_TRUE(newShell.Start({{"Notes", 20, 20}, {"Mail", 20, 110}}));
  ASSERT_TRUE(newShell.Move(0, 300, 300));
  // A report heard would be taken at once; a busy machine can only make this
  // check weaker, never fail it.
  Sleep(1000);
  EXPECT_EQ(newShell.Count("getitemcount"), 0) << "the old hook does not hear the new shell";

  // Sent: on return the hook is set on the new shell.
  ASSERT_TRUE(tessaly.AnnounceNewTaskbar());
  // The new shell is looked at on every tick of the display change's timer
  // until it has settled; once no look has come for two ticks (and the
  // margin of a busy machine), that is over and a look is the hook's.
  constexpr DWORD kFollowUpOverMs = 2 * kDisplayChangeTickMs + kLookMarginMs;
  long looks = -1;
  DWORD lastLook = GetTickCount();
  ASSERT_TRUE(WaitFor([&] {
    const long now = newShell.Count("getitemcount");
    if (now != looks) {
      looks = now;
      lastLook = GetTickCount();
    }
    return GetTickCount() - lastLook >= kFollowUpOverMs;
  }, 60000));
  ASSERT_TRUE(newShell.ResetCounts());
  ASSERT_TRUE(newShell.Move(1, 400, 400));
  EXPECT_TRUE(WaitFor([&] { return newShell.Count("getitemcount") >= 1; })) << "a snapshot after the move";
}

}  // namespace
}  // namespace e2e
