// The tray icon wrapper: the notification data it keeps, the tip cut, and the
// re-created taskbar.
#include "framework/window/tray_icon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HWND CreateOwner() {
  return CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

std::string Tip(const CTrayIcon& icon) { return icon.GetNotifyData().szTip; }

bool RestIsZero(const CTrayIcon& icon) {
  const char* tip = icon.GetNotifyData().szTip;
  for (size_t i = std::string(tip).size(); i < 64; ++i) {
    if (tip[i]) return false;
  }
  return true;
}

TEST(TrayIcon, CreateFillsTheFirstVersionOfTheNotificationData) {
  HWND owner = CreateOwner();
  CTrayIcon icon;
  EXPECT_TRUE(icon.Create(102, GetModuleHandleA(nullptr), owner, "Pavane"));
  const NOTIFYICONDATAA& data = icon.GetNotifyData();
  EXPECT_EQ(data.cbSize, 104u);
  EXPECT_EQ(data.hWnd, owner);
  EXPECT_EQ(data.uID, 102u);
  EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(data.uCallbackMessage, 0x8065u);
  EXPECT_NE(data.hIcon, nullptr);  // the tests' own icon 102
  EXPECT_EQ(Tip(icon), "Pavane");
  EXPECT_TRUE(RestIsZero(icon));
  EXPECT_EQ(icon.GetTaskbarMessage(), RegisterWindowMessageA("TaskbarCreated"));
  icon.Delete();
  DestroyWindow(owner);
}

// A balloon goes with the whole notification data; the icon keeps the first
// version's, which a re-created taskbar is given again.
TEST(TrayIcon, ABalloonLeavesTheIconsDataAsItWas) {
  HWND owner = CreateOwner();
  CTrayIcon icon;
  ASSERT_TRUE(icon.Create(102, GetModuleHandleA(nullptr), owner, "Pavane"));
  EXPECT_TRUE(icon.ShowBalloon(L"アイコンの位置を固定する", std::wstring(300, L'a').c_str()));
  const NOTIFYICONDATAA& data = icon.GetNotifyData();
  EXPECT_EQ(data.cbSize, 104u);
  EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(Tip(icon), "Pavane");
  icon.Delete();
  DestroyWindow(owner);
}

TEST(TrayIcon, AMissingIconResourceIsAddedWithoutAnIcon) {
  HWND owner = CreateOwner();
  CTrayIcon icon;
  EXPECT_TRUE(icon.Create(4321, GetModuleHandleA(nullptr), owner, "Pavane"));
  EXPECT_EQ(icon.GetNotifyData().hIcon, nullptr);
  EXPECT_TRUE(icon.Delete());
  DestroyWindow(owner);
}

TEST(TrayIcon, TipsAreCutTo63BytesAndNeverInsideADoubleByteCharacter) {
  struct Case {
    std::string tip;
    std::string stored;
  };
  const std::string a62(62, 'a'), a61(61, 'a'), a63(63, 'a');
  const Case cases[] = {
      {a62 + "あ", a62},             // the lead byte would be the 63rd
      {a61 + "あ", a61 + "あ"},      // fits exactly
      {a63 + "bcd", a63},
      {"アイコン位置", "アイコン位置"},
      {"abc\x82", "abc"},            // a lead byte without its second byte
      {"", ""},
  };
  HWND owner = CreateOwner();
  CTrayIcon icon;
  for (const Case& c : cases) {
    icon.Create(102, GetModuleHandleA(nullptr), owner, c.tip.c_str());
    EXPECT_EQ(Tip(icon), c.stored) << c.tip;
    EXPECT_TRUE(RestIsZero(icon)) << c.tip;
    icon.Delete();
  }
  // Modify cuts the same way and leaves the rest alone.
  icon.Create(102, GetModuleHandleA(nullptr), owner, "Pavane");
  icon.Modify(0, (a62 + "表").c_str());
  EXPECT_EQ(Tip(icon), a62);
  EXPECT_TRUE(RestIsZero(icon));
  icon.Modify(0, nullptr);
  EXPECT_EQ(Tip(icon), a62);
  EXPECT_EQ(icon.GetNotifyData().uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  icon.Delete();
  DestroyWindow(owner);
}

class RecordingTrayIcon : public CTrayIcon {
 public:
  void OnTaskbarCreated() override {
    // What is about to be added again, and whether it is there already.
    tipsSeen.push_back(GetNotifyData().szTip);
    NOTIFYICONDATAA probe = GetNotifyData();
    presentDuringOverride = Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
  }
  std::vector<std::string> tipsSeen;
  bool presentDuringOverride = true;
};

TEST(TrayIcon, TaskbarCreatedCallsTheOverrideThenAddsTheSameIconAgain) {
  HWND owner = CreateOwner();
  RecordingTrayIcon icon;
  // Before Create no message is the taskbar's, not even 0.
  EXPECT_EQ(icon.HandleMessage(0, 0, 0), 0);
  EXPECT_TRUE(icon.tipsSeen.empty());

  icon.Create(102, GetModuleHandleA(nullptr), owner, "Pavane");
  NOTIFYICONDATAA before = icon.GetNotifyData();
  for (UINT other : {0u, static_cast<UINT>(WM_USER), 0x8065u, static_cast<UINT>(WM_DESTROY)}) {
    EXPECT_EQ(icon.HandleMessage(other, 102, WM_RBUTTONDOWN), 0) << other;
  }
  EXPECT_TRUE(icon.tipsSeen.empty());

  // The new taskbar starts without the icon.
  ASSERT_TRUE(icon.Delete());
  EXPECT_TRUE(icon.HandleMessage(RegisterWindowMessageA("TaskbarCreated"), 0, 0));
  EXPECT_EQ(icon.tipsSeen, std::vector<std::string>{"Pavane"});
  EXPECT_FALSE(icon.presentDuringOverride) << "the icon was added before OnTaskbarCreated";
  EXPECT_TRUE(icon.Modify(0, nullptr)) << "the icon is not back";
  const NOTIFYICONDATAA& after = icon.GetNotifyData();
  EXPECT_EQ(after.uID, before.uID);
  EXPECT_EQ(after.hIcon, before.hIcon);
  EXPECT_EQ(after.uCallbackMessage, before.uCallbackMessage);
  EXPECT_EQ(after.uFlags, before.uFlags);
  icon.Delete();
  DestroyWindow(owner);
}

TEST(TrayIcon, DeletingKeepsTheDataForAddingAgainAndTwiceIsHarmless) {
  HWND owner = CreateOwner();
  {
    CTrayIcon icon;
    ASSERT_TRUE(icon.Create(102, GetModuleHandleA(nullptr), owner, "Pavane"));
    EXPECT_FALSE(icon.Add()) << "added twice";
    EXPECT_TRUE(icon.Delete());
    EXPECT_FALSE(icon.Delete());
    EXPECT_EQ(icon.GetNotifyData().uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(Tip(icon), "Pavane");
    EXPECT_TRUE(icon.Add());
    EXPECT_TRUE(icon.Delete());
  }  // the destructor deletes once more
  DestroyWindow(owner);
}

}  // namespace
