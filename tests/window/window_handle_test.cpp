// Window handles and control wrappers: binding, and what a wrapper owns.
#include "framework/window/window_handle.h"

#include <gtest/gtest.h>

#include <utility>

#include "framework/window/list_view.h"

namespace {

HWND CreatePlainWindow(HWND parent = nullptr, int id = 0) {
  DWORD style = parent ? WS_CHILD : WS_POPUP;
  return CreateWindowExA(0, "STATIC", "plain", style, 0, 0, 50, 20, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

HFONT CreateTestFont() {
  LOGFONTA description = {};
  description.lfHeight = -12;
  lstrcpyA(description.lfFaceName, "Tahoma");
  return CreateFontIndirectA(&description);
}

bool IsLiveFont(HFONT font) { return GetObjectType(font) == OBJ_FONT; }

TEST(WindowHandle, StartsUnboundAndTakesAWindowHandle) {
  CWindowHandle empty;
  EXPECT_EQ(empty.window, nullptr);
  EXPECT_EQ(empty.parent, nullptr);
  EXPECT_EQ(empty.instance, nullptr);
  EXPECT_EQ(empty.font, nullptr);

  HWND window = CreatePlainWindow();
  ASSERT_NE(window, nullptr);
  CWindowHandle bound(window);
  EXPECT_EQ(bound.window, window);
  EXPECT_EQ(bound.parent, nullptr);
  EXPECT_EQ(bound.instance, nullptr);
  DestroyWindow(window);
}

TEST(WindowHandle, AttachStoresWindowParentAndTheWindowsInstance) {
  HWND owner = CreatePlainWindow();
  HWND window = CreatePlainWindow();
  CWindowHandle handle;
  HINSTANCE instance = handle.Attach(owner, window);
  EXPECT_EQ(instance, GetModuleHandleA(nullptr));
  EXPECT_EQ(handle.instance, instance);
  EXPECT_EQ(handle.window, window);
  EXPECT_EQ(handle.parent, owner);

  // Binding again replaces everything; binding to nothing clears the instance.
  handle.Attach(nullptr, nullptr);
  EXPECT_EQ(handle.window, nullptr);
  EXPECT_EQ(handle.parent, nullptr);
  EXPECT_EQ(handle.instance, nullptr);
  DestroyWindow(window);
  DestroyWindow(owner);
}

TEST(WindowHandle, DestroyingTheWrapperLeavesTheWindowAndDeletesTheFont) {
  HWND window = CreatePlainWindow();
  HFONT font = CreateTestFont();
  ASSERT_TRUE(IsLiveFont(font));
  {
    CListView wrapper;
    wrapper.Attach(nullptr, window);
    wrapper.font = font;
  }
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(IsLiveFont(font));
  DestroyWindow(window);
}

TEST(WindowHandle, MovingHandsTheFontOverSoItIsDeletedOnce) {
  HFONT font = CreateTestFont();
  CWindowHandle target;
  {
    CWindowHandle source;
    source.font = font;
    CWindowHandle middle(std::move(source));
    EXPECT_EQ(source.font, nullptr);
    target = std::move(middle);
    EXPECT_EQ(middle.font, nullptr);
  }
  EXPECT_EQ(target.font, font);
  EXPECT_TRUE(IsLiveFont(font));

  // Assigning over a wrapper deletes the font it held.
  HFONT second = CreateTestFont();
  CWindowHandle other;
  other.font = second;
  target = std::move(other);
  EXPECT_FALSE(IsLiveFont(font));
  EXPECT_EQ(target.font, second);
}

TEST(Control, AttachDlgItemBindsTheItemOfThatId) {
  HWND dialog = CreatePlainWindow();
  HWND item = CreatePlainWindow(dialog, 1005);
  ASSERT_NE(item, nullptr);

  CControl control;
  EXPECT_EQ(control.controlId, 0);
  EXPECT_EQ(control.AttachDlgItem(dialog, 1005), GetModuleHandleA(nullptr));
  EXPECT_EQ(control.window, item);
  EXPECT_EQ(control.parent, dialog);
  EXPECT_EQ(control.controlId, 1005);
  DestroyWindow(dialog);
}

TEST(Control, AttachDlgItemWithAnUnknownIdLeavesAnInertWrapper) {
  HWND dialog = CreatePlainWindow();
  CListView view;
  EXPECT_EQ(view.AttachDlgItem(dialog, 1234), nullptr);
  EXPECT_EQ(view.window, nullptr);
  EXPECT_EQ(view.parent, dialog);
  EXPECT_EQ(view.controlId, 1234);
  // Messages to no window have no effect.
  EXPECT_EQ(view.GetItemCount(), 0);
  EXPECT_FALSE(view.SetItemPosition(0, 10, 10));
  char text[8] = "keep";
  EXPECT_EQ(view.GetItemText(0, 0, text, sizeof text), 0);
  EXPECT_STREQ(text, "");
  DestroyWindow(dialog);
}

}  // namespace
