// CMenu on the test menu 300 of test_resources.rc.
#include "framework/window/menu.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ItemText(HMENU menu, UINT id) {
  char text[64] = {};
  GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
  return text;
}

TEST(Menu, LoadsTheResourceAndForwardsTheItemCalls) {
  CMenu resource;
  ASSERT_NE(resource.Load(GetModuleHandleA(nullptr), 300), nullptr);
  CMenu popup(resource.GetSubMenu(0));
  ASSERT_NE(popup.menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(popup.menu), 4);
  EXPECT_EQ(ItemText(popup.menu, 40001), "Save");

  EXPECT_EQ(popup.CheckItem(40001, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_TRUE(GetMenuState(popup.menu, 40001, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(popup.EnableItem(40002, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
  EXPECT_TRUE(GetMenuState(popup.menu, 40002, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_EQ(popup.EnableItem(49999, MF_BYCOMMAND | MF_GRAYED), -1);
  EXPECT_TRUE(popup.SetDefaultItem(40008, FALSE));
  EXPECT_EQ(GetMenuDefaultItem(popup.menu, FALSE, 0), 40008u);

  MENUITEMINFOA info = {sizeof info};
  info.fMask = MIIM_ID | MIIM_STRING;
  info.wID = 40005;
  info.dwTypeData = const_cast<char*>("設定(&O)...");
  EXPECT_TRUE(popup.InsertItem(0, TRUE, info));
  EXPECT_EQ(GetMenuItemID(popup.menu, 0), 40005u);
  EXPECT_EQ(ItemText(popup.menu, 40005), "設定(&O)...");
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<char*>("Settings");
  EXPECT_TRUE(popup.SetItemInfo(40005, FALSE, info));
  EXPECT_EQ(ItemText(popup.menu, 40005), "Settings");

  EXPECT_TRUE(popup.RemoveItem(40005, MF_BYCOMMAND));
  EXPECT_TRUE(popup.DeleteItem(0, MF_BYPOSITION));
  EXPECT_EQ(GetMenuItemCount(popup.menu), 3);

  HMENU whole = resource.menu;
  EXPECT_TRUE(resource.Destroy());
  EXPECT_EQ(resource.menu, nullptr);
  EXPECT_FALSE(IsMenu(whole));
  EXPECT_FALSE(resource.Destroy());  // nothing left to destroy
}

void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

TEST(Menu, TrackPopupMenuReturnsTheItemChosenByKeyboard) {
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  CMenu resource;
  resource.Load(GetModuleHandleA(nullptr), 300);
  CMenu popup(resource.GetSubMenu(0));
  SetForegroundWindow(owner);
  // Down twice and Enter: the second item.  A timer ends the menu should the
  // keys not reach it.
  PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(owner, WM_KEYDOWN, VK_RETURN, 0);
  UINT_PTR timer = SetTimer(nullptr, 0, 5000, EndMenuSoon);
  BOOL chosen = popup.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, 20, 20, 0, owner, nullptr);
  KillTimer(nullptr, timer);
  EXPECT_EQ(chosen, 40002);
  resource.Destroy();
  DestroyWindow(owner);
}

TEST(Menu, DestroyingTheObjectLeavesTheMenu) {
  HMENU menu;
  {
    CMenu object;
    menu = object.Load(GetModuleHandleA(nullptr), 300);
    ASSERT_NE(menu, nullptr);
  }
  EXPECT_TRUE(IsMenu(menu));
  DestroyMenu(menu);
}

TEST(Menu, AMissingResourceGivesANullMenuWhoseCallsFail) {
  CMenu missing;
  EXPECT_EQ(missing.Load(GetModuleHandleA(nullptr), 4321), nullptr);
  EXPECT_EQ(missing.GetSubMenu(0), nullptr);
  EXPECT_EQ(missing.CheckItem(40001, MF_CHECKED), static_cast<DWORD>(-1));
  EXPECT_FALSE(missing.Destroy());
}

TEST(Menu, AttachWindowMenuTakesTheWindowsMenu) {
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 1, "File");
  HWND window = CreateWindowExA(0, "STATIC", "menu", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, bar,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  CMenu menu;
  EXPECT_EQ(menu.AttachWindowMenu(window), bar);
  DestroyWindow(window);  // destroys its menu
}

}  // namespace
