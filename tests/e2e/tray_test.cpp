// The tray icon's callbacks: the menu, and the dialogs brought forward.
#include <gtest/gtest.h>

#include "tests/e2e/tessaly_driver.h"

namespace e2e {
namespace {

const char* const kMenuTexts[] = {
    "メニューを閉じる(&C)", "", "アイコン位置を保存する(&S)", "名前をつけてアイコン位置を保存する(&N)", "",
    "アイコン位置を復元する(&R)", "名前をつけたアイコン位置を復元する(&M)", "", "設定(&O)",
    "バージョン情報(&A)", "", "終了(&X)",
};

class E2eTray : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(tessaly.Start()); }
  void TearDown() override {
    int exitCode = -99;
    EXPECT_TRUE(tessaly.Close(&exitCode));
    EXPECT_EQ(exitCode, 0);
  }
  HWND WaitForMenu(int timeoutMs = 10000) {
    HWND menu = nullptr;
    WaitFor([&] { return (menu = tessaly.FindMenu()) != nullptr; }, timeoutMs);
    return menu;
  }
  // Closes an open tray menu as the Escape key does.
  void CloseMenu(HWND menu) {
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    WaitFor([&] { return tessaly.FindMenu() == nullptr; }, 10000);
  }
  void Click(LPARAM mouseMessage) { tessaly.Post(kTrayCallback, kTrayIconId, mouseMessage); }

  Tessaly tessaly;
};

TEST_F(E2eTray, RightButtonOpensTheMenuWithItsItems) {
  Click(WM_RBUTTONDOWN);
  HWND menuWindow = WaitForMenu();
  ASSERT_NE(menuWindow, nullptr);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
  if (menu && GetMenuItemCount(menu) > 0) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(std::size(kMenuTexts)));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char text[256] = {};
      GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
      EXPECT_EQ(std::string(text), kMenuTexts[i]) << "position " << i;
    }
  }
  CloseMenu(menuWindow);
  EXPECT_EQ(tessaly.FindMenu(), nullptr);
}

TEST_F(E2eTray, LeftClicksAndOtherIconsOpenNothing) {
  Click(WM_LBUTTONDOWN);
  Click(WM_LBUTTONDBLCLK);
  Click(WM_RBUTTONUP);
  tessaly.Post(kTrayCallback, 7, WM_RBUTTONDOWN);  // not our icon
  Sleep(1000);
  EXPECT_EQ(tessaly.FindMenu(), nullptr);
  // The right button still works afterwards: the clicks above were handled.
  Click(WM_RBUTTONDOWN);
  HWND menu = WaitForMenu();
  ASSERT_NE(menu, nullptr);
  CloseMenu(menu);
}

TEST_F(E2eTray, WithTheAboutDialogOpenAClickBringsItForward) {
  tessaly.Post(WM_COMMAND, kAbout);
  HWND about = tessaly.WaitForDialog("バージョン情報");
  ASSERT_NE(about, nullptr);
  char text[256] = {};
  GetDlgItemTextA(about, 1003, text, sizeof text);
  EXPECT_STREQ(text, "Pavane Ver.0.08");
  GetDlgItemTextA(about, 1002, text, sizeof text);
  EXPECT_NE(std::string(text).find('@'), std::string::npos) << text;

  // Escape leaves it open.
  PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
  Sleep(300);
  ASSERT_TRUE(IsWindow(about));

  // Something else comes to the front first.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
  SetForegroundWindow(other);
  WaitFor([&] { return GetForegroundWindow() == other; }, 2000);

  Click(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }, 5000));
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

}  // namespace
}  // namespace e2e
