// The menu, dialogs, icon and version of Tessaly as Windows reads them through
// the ANSI calls: every text must come back as the exact code page 932 bytes.
// The checks run on the resources linked into this test program and, once it
// is built, on Tessaly.exe itself (loaded as a data file).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/test_desktop_client.h"

namespace {

struct MenuItem {
  UINT id;           // 0 for a separator, kPopup for a submenu
  const char* text;  // nullptr for a separator
};
constexpr UINT kPopup = 1;

constexpr MenuItem kTrayMenu[] = {
    {ID_CLOSE_MENU, "メニューを閉じる(&C)"},
    {0, nullptr},
    {ID_SAVE, "アイコン位置を保存する(&S)"},
    {ID_SAVE_AS, "名前をつけてアイコン位置を保存する(&N)"},
    {0, nullptr},
    {ID_RESTORE, "アイコン位置を復元する(&R)"},
    {ID_RESTORE_FROM, "名前をつけたアイコン位置を復元する(&M)"},
    {kPopup, "保存済みのアイコン位置(&L)"},
    {ID_UNDO, "元に戻す(&U)"},
    {0, nullptr},
    {ID_LOCK, "アイコンの位置を固定する(&F)"},
    {0, nullptr},
    {ID_SETTINGS, "設定(&O)"},
    {ID_ABOUT, "バージョン情報(&A)"},
    {0, nullptr},
    {ID_EXIT, "終了(&X)"},
};

struct Control {
  int id;
  const char* className;
  const char* text;
  bool visible;
  RECT units;  // left, top, width, height in dialog units
};

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT;

const Control kSettingsControls[] = {
    {IDC_START_AUTORESTORE, "Button", "起動時に、自動でアイコン位置を復元する(&S)", true, {4, 5, 145, 10}},
    {IDC_RESOLUTION_AUTORESTORE, "Button", "解像度の変更を検出し、自動でアイコン位置を復元する(&C)", true,
     {4, 18, 185, 10}},
    {IDC_RESOLUTION_AUTOCAPTURE, "Button", "解像度変更時にアイコンの位置を自動で保存する(&A)", true,
     {4, 31, 169, 10}},
    {IDC_START_AT_LOGON, "Button", "Windows へのログオン時に Tessaly を起動する", true, {4, 44, 185, 10}},
    {IDC_LOCK, "Button", "アイコンの位置を固定する(&F)", true, {4, 57, 185, 10}},
    {IDOK, "Button", "OK", true, {142, 67, 50, 14}},
    {IDC_PERIODIC_SAVE, "Button", "定期的にアイコン位置を保存する(&A)", false, {4, 44, 129, 10}},
    {IDC_SAVE_INTERVAL, "Edit", "", false, {60, 56, 32, 12}},
    {IDC_SAVE_INTERVAL_SPIN, "msctls_updown32", nullptr, false, {92, 56, 10, 12}},
};

const Control kAboutControls[] = {
    {IDC_VERSION, "Static", "Pavane Ver.0.01", true, {38, 8, 48, 8}},
    {IDC_MAKER_LINE, "Static", nullptr, true, {86, 8, 96, 8}},
    {IDC_HOMEPAGE, "Button", "HomePage", true, {38, 20, 144, 11}},
    {IDC_MAILADDRESS, "Button", "MailAddress", true, {38, 34, 144, 11}},
    {IDOK, "Button", "OK", true, {68, 50, 50, 14}},
};

class Resources : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    if (std::string(GetParam()) == "self") {
      module_ = GetModuleHandleA(nullptr);
      path_ = testsupport::ProgramBesideMe("app_resources_tests.exe");
    } else {
      path_ = testsupport::DeliverablePath("Tessaly.exe");
      module_ = LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
      owned_ = true;
      ASSERT_NE(module_, nullptr) << path_;
    }
  }
  void TearDown() override {
    if (owned_ && module_) FreeLibrary(module_);
  }

  // Creates a dialog from the template in the module, hidden.
  HWND CreateTemplateDialog(int id) {
    HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (!found) return nullptr;
    auto* tmpl = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module_, found)));
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), tmpl, nullptr, QuietDialogProc, 0);
  }

  static INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

  void CheckControls(HWND dialog, const Control* controls, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      const Control& c = controls[i];
      SCOPED_TRACE("control " + std::to_string(c.id));
      HWND item = GetDlgItem(dialog, c.id);
      ASSERT_NE(item, nullptr);
      char cls[64] = {};
      GetClassNameA(item, cls, sizeof cls);
      EXPECT_STRCASEEQ(cls, c.className);
      if (c.text) {
        char text[256] = {};
        GetWindowTextA(item, text, sizeof text);
        EXPECT_EQ(std::string(text), c.text);
      }
      EXPECT_EQ((GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE) != 0, c.visible);
      // The up-down control chooses its own width.
      if (c.id == IDC_SAVE_INTERVAL_SPIN) continue;
      // The dialog manager converts the origin and the size separately.
      RECT origin = {c.units.left, c.units.top, 0, 0};
      RECT size = {0, 0, c.units.right, c.units.bottom};
      MapDialogRect(dialog, &origin);
      MapDialogRect(dialog, &size);
      RECT expected = {origin.left, origin.top, origin.left + size.right, origin.top + size.bottom};
      RECT actual;
      GetWindowRect(item, &actual);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
      EXPECT_EQ(actual.left, expected.left);
      EXPECT_EQ(actual.top, expected.top);
      EXPECT_EQ(actual.right, expected.right);
      EXPECT_EQ(actual.bottom, expected.bottom);
    }
  }

  std::string VersionValue(const std::vector<char>& info, const char* name) {
    std::string query = std::string("\\StringFileInfo\\041103a4\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), query.c_str(), &value, &length) || !value) return "<missing>";
    return static_cast<const char*>(value);
  }

  HMODULE module_ = nullptr;
  bool owned_ = false;
  std::string path_;
};

TEST_P(Resources, TrayMenuHoldsTheItemsInOrderWithCodePage932Texts) {
  HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(IDR_TRAYMENU));
  ASSERT_NE(menu, nullptr);
  char caption[64] = {};
  GetMenuStringA(menu, 0, caption, sizeof caption, MF_BYPOSITION);
  EXPECT_STREQ(caption, "dammy");
  EXPECT_EQ(GetMenuItemCount(menu), 1);
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(std::size(kTrayMenu)));
  for (int i = 0; i < static_cast<int>(std::size(kTrayMenu)); ++i) {
    SCOPED_TRACE("position " + std::to_string(i));
    MENUITEMINFOA info = {sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoA(popup, i, TRUE, &info));
    if (!kTrayMenu[i].text) {
      EXPECT_TRUE(info.fType & MFT_SEPARATOR);
      continue;
    }
    if (kTrayMenu[i].id == kPopup) {
      HMENU submenu = GetSubMenu(popup, i);
      ASSERT_NE(submenu, nullptr);
      ASSERT_EQ(GetMenuItemCount(submenu), 1);
      EXPECT_EQ(GetMenuItemID(submenu, 0), static_cast<UINT>(ID_KEPT_MORE));
      char more[64] = {};
      GetMenuStringA(submenu, 0, more, sizeof more, MF_BYPOSITION);
      EXPECT_EQ(std::string(more), "その他(&Z)…");
    } else {
      EXPECT_EQ(info.wID, kTrayMenu[i].id);
    }
    EXPECT_EQ(info.fState & (MFS_DISABLED | MFS_CHECKED | MFS_DEFAULT), 0u);
    char text[256] = {};
    GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_EQ(std::string(text), kTrayMenu[i].text);
  }
  DestroyMenu(menu);
}

TEST_P(Resources, MenuTextsAreTheCodePage932BytesNotAnotherCodePage) {
  // "終了(&X)" spelled in bytes, independent of the compiler's charset.
  HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(IDR_TRAYMENU));
  ASSERT_NE(menu, nullptr);
  char text[64] = {};
  GetMenuStringA(menu, ID_EXIT, text, sizeof text, MF_BYCOMMAND);
  EXPECT_EQ(std::string(text), "\x8f\x49\x97\xb9(&X)");
  DestroyMenu(menu);
}

TEST_P(Resources, SettingsDialogHasEveryControlWithItsTextPlaceAndVisibility) {
  HWND dialog = CreateTemplateDialog(IDD_SETTINGS);
  ASSERT_NE(dialog, nullptr);
  char title[64] = {};
  GetWindowTextA(dialog, title, sizeof title);
  EXPECT_EQ(std::string(title), "設定");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)) & kDialogStyle & ~DS_SETFONT,
            kDialogStyle & ~DS_SETFONT);
  RECT client = {0, 0, 195, 84};
  MapDialogRect(dialog, &client);
  RECT actual;
  GetClientRect(dialog, &actual);
  EXPECT_EQ(actual.right, client.right);
  EXPECT_EQ(actual.bottom, client.bottom);
  CheckControls(dialog, kSettingsControls, std::size(kSettingsControls));
  for (int id : {IDC_START_AUTORESTORE, IDC_RESOLUTION_AUTORESTORE, IDC_RESOLUTION_AUTOCAPTURE}) {
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX) << id;
  }
  EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  // The label of the hidden interval box.
  HWND label = FindWindowExA(dialog, nullptr, "Static", nullptr);
  ASSERT_NE(label, nullptr);
  char text[64] = {};
  GetWindowTextA(label, text, sizeof text);
  EXPECT_EQ(std::string(text), "保存間隔(分)");
  EXPECT_FALSE(GetWindowLongA(label, GWL_STYLE) & WS_VISIBLE);
  DestroyWindow(dialog);
}

TEST_P(Resources, AboutDialogHasEveryControlWithItsTextAndPlace) {
  HWND dialog = CreateTemplateDialog(IDD_ABOUT);
  ASSERT_NE(dialog, nullptr);
  char title[64] = {};
  GetWindowTextA(dialog, title, sizeof title);
  EXPECT_EQ(std::string(title), "バージョン情報");
  RECT client = {0, 0, 187, 69};
  MapDialogRect(dialog, &client);
  RECT actual;
  GetClientRect(dialog, &actual);
  EXPECT_EQ(actual.right, client.right);
  EXPECT_EQ(actual.bottom, client.bottom);
  CheckControls(dialog, kAboutControls, std::size(kAboutControls));
  EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  // The picture of icon 102.
  HWND picture = nullptr;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) picture = child;
  }
  ASSERT_NE(picture, nullptr);
  EXPECT_NE(SendMessageA(picture, STM_GETICON, 0, 0), 0);
  DestroyWindow(dialog);
}

// The program's icon, and the one the tray shows while the lock is on.
TEST_P(Resources, IconHasSixteenAndThirtyTwoPixelImages) {
  for (int size : {16, 32}) for (int id : {IDI_APP, IDI_LOCKED}) {
    HICON icon = static_cast<HICON>(LoadImageA(module_, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size << " " << id;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
    EXPECT_EQ(bitmap.bmHeight, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

TEST_P(Resources, VersionNamesTheMakerProductAndVersion) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path_.c_str(), &ignored);
  ASSERT_GT(size, 0u) << path_;
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, size, info.data()));
  EXPECT_EQ(VersionValue(info, "CompanyName"), "Brindle-Works");
  EXPECT_EQ(VersionValue(info, "ProductName"), "Tessaly");
  EXPECT_EQ(VersionValue(info, "FileVersion"), "0.08");
  EXPECT_EQ(VersionValue(info, "ProductVersion"), "0.08");
  // The one place the version is set is the project's CMake version.
  EXPECT_EQ(VersionValue(info, "FileVersion"), TESSALY_PROJECT_VERSION);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00000008u);
}

// A manifest that Windows does not understand stops the program from
// starting, and a setting under a misspelt name is silently ignored: the
// settings are read back as the system's activation context reads them.
TEST_P(Resources, ManifestAsksForDpiAwarenessCommonControls6AndAsInvoker) {
  ACTCTXA request = {sizeof request};
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path_.c_str();
  request.lpResourceName = MAKEINTRESOURCEA(1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
  HANDLE context = CreateActCtxA(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE) << "error " << GetLastError();
  auto setting = [&](const wchar_t* ns, const wchar_t* name) {
    wchar_t value[64] = {};
    SIZE_T length = 0;
    if (!QueryActCtxSettingsW(0, context, ns, name, value, std::size(value), &length)) return std::wstring(L"<absent>");
    return std::wstring(value);
  };
  EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"), L"PerMonitorV2");
  EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true");
  EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2019/WindowsSettings", L"activeCodePage"), L"<absent>");

  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION runLevel = {};
  SIZE_T size = 0;
  ASSERT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &runLevel, sizeof runLevel, &size));
  EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
  EXPECT_EQ(runLevel.UiAccess, 0u);

  // Windows 7, 8, 8.1 and 10/11 (the element count leads the record).
  DWORD compatibility[64] = {};
  ASSERT_TRUE(QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, compatibility,
                           sizeof compatibility, &size));
  EXPECT_EQ(compatibility[0], 4u);

  ULONG_PTR cookie = 0;
  ASSERT_TRUE(ActivateActCtx(context, &cookie));
  ACTCTX_SECTION_KEYED_DATA found = {sizeof found};
  EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, "comctl32.dll", &found))
      << "common controls 6";
  DeactivateActCtx(0, cookie);
  ReleaseActCtx(context);
}

INSTANTIATE_TEST_SUITE_P(ThisProgram, Resources, ::testing::Values("self"));
INSTANTIATE_TEST_SUITE_P(TessalyExe, Resources, ::testing::Values("Tessaly.exe"));

}  // namespace
