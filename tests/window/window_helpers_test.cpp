// The framework's window helpers: placement, client size, font, icons, COM
// and the layered-window functions.
#include "framework/window/window_helpers.h"

#include <gtest/gtest.h>

#include "framework/window/com_init.h"
#include "framework/window/layered_window.h"

namespace {

HWND CreateTopLevel(DWORD style, int x, int y, int width, int height, DWORD exStyle = 0) {
  return CreateWindowExA(exStyle, "STATIC", "helper", style, x, y, width, height, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

RECT WindowRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

TEST(WindowHelpers, CenterWindowCentresWithoutResizing) {
  struct Case {
    RECT reference;
    SIZE window;
    POINT expected;
  };
  constexpr Case cases[] = {
      {{100, 100, 500, 400}, {100, 50}, {250, 225}},
      {{0, 0, 101, 101}, {10, 10}, {45, 45}},           // odd difference: integer division
      {{200, 200, 300, 260}, {300, 100}, {100, 180}},  // wider than the reference
  };
  for (const Case& c : cases) {
    HWND reference = CreateTopLevel(WS_POPUP, c.reference.left, c.reference.top, c.reference.right - c.reference.left,
                                    c.reference.bottom - c.reference.top);
    HWND window = CreateTopLevel(WS_POPUP, 7, 9, c.window.cx, c.window.cy);
    EXPECT_TRUE(flib::CenterWindow(reference, window));
    RECT rect = WindowRect(window);
    EXPECT_EQ(rect.left, c.expected.x);
    EXPECT_EQ(rect.top, c.expected.y);
    EXPECT_EQ(rect.right - rect.left, c.window.cx);
    EXPECT_EQ(rect.bottom - rect.top, c.window.cy);
    DestroyWindow(window);
    DestroyWindow(reference);
  }
}

TEST(WindowHelpers, SetClientSizeSizesTheClientAreaAndKeepsThePosition) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW, 30, 40, 300, 300);
  ASSERT_TRUE(flib::SetClientSize(window, 200, 100));
  RECT client = {};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 100);
  EXPECT_EQ(WindowRect(window).left, 30);
  EXPECT_EQ(WindowRect(window).top, 40);
  DestroyWindow(window);
}

TEST(WindowHelpers, SetWindowFontGivesTheWindowAFontTheObjectOwns) {
  HWND window = CreateTopLevel(WS_POPUP, 0, 0, 50, 20);
  LOGFONTA description = {};
  description.lfHeight = -12;
  lstrcpyA(description.lfFaceName, "Tahoma");
  HFONT first, second;
  {
    CWindowHandle object(window);
    first = flib::SetWindowFont(&object, description, TRUE);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(object.font, first);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), first);

    // A second font replaces the first, which is no longer needed.
    description.lfHeight = -16;
    second = flib::SetWindowFont(&object, description, FALSE);
    EXPECT_EQ(object.font, second);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), second);
    EXPECT_NE(GetObjectType(first), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_FONT));
  }
  EXPECT_NE(GetObjectType(second), static_cast<DWORD>(OBJ_FONT));
  DestroyWindow(window);
}

TEST(WindowHelpers, SetWindowIconsSetsOnlyTheIconsGiven) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW, 0, 0, 50, 50);
  HICON application = LoadIconA(nullptr, IDI_APPLICATION);
  HICON warning = LoadIconA(nullptr, IDI_WARNING);
  flib::SetWindowIcons(window, application, warning);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)), application);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0)), warning);
  flib::SetWindowIcons(window, nullptr, application);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)), application);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0)), application);
  // Missing resources load nothing and change nothing.
  flib::LoadWindowIcons(window, GetModuleHandleA(nullptr), 4321);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0)), application);
  DestroyWindow(window);
}

TEST(ComInit, InitialisesOnceUntilUninitialised) {
  ASSERT_EQ(flib::InitializeCom(), S_OK);
  // Remembered: CoInitialize itself would now answer S_FALSE.
  EXPECT_EQ(flib::InitializeCom(), S_OK);
  flib::UninitializeCom();
  flib::UninitializeCom();  // nothing left to undo
  // Uninitialised for good: COM starts afresh.
  EXPECT_EQ(flib::InitializeCom(), S_OK);
  flib::UninitializeCom();
}

TEST(ComInit, AThreadInitialisedBySomeoneElseIsNotRemembered) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(flib::InitializeCom(), S_FALSE);
  CoUninitialize();
  EXPECT_EQ(flib::InitializeCom(), S_FALSE);
  CoUninitialize();
  CoUninitialize();
}

TEST(LayeredWindow, TheFunctionsAreFoundAndForwardTheirArguments) {
  ASSERT_TRUE(flib::LayeredWindowsAvailable());
  HWND window = CreateTopLevel(WS_POPUP, 0, 0, 40, 40, WS_EX_LAYERED);
  EXPECT_TRUE(flib::SetLayeredAttributes(window, 0, 128, LWA_ALPHA));
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
  // A window that is not layered is refused by the system, not by the forwarder.
  HWND plain = CreateTopLevel(WS_POPUP, 0, 0, 40, 40);
  EXPECT_FALSE(flib::SetLayeredAttributes(plain, 0, 128, LWA_ALPHA));
  DestroyWindow(plain);
  DestroyWindow(window);
}

}  // namespace
