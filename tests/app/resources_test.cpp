// The menus, dialogs, texts, icon and version of Tessaly as Windows reads
// them: the Japanese ones through the ANSI calls, every text the exact code
// page 932 bytes; the English ones through the wide calls, laid out for their
// texts; and every text in both languages.  The checks run on the resources
// linked into this test program and, once it is built, on Tessaly.exe itself
// (loaded as a data file).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
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

constexpr WORD kJapanese = 0x0411;
constexpr WORD kEnglish = 0x0409;
constexpr WORD kLanguages[] = {kJapanese, kEnglish};

// Every text the program asks for.
constexpr UINT kTextIds[] = {
    IDS_ERROR_CAPTION, IDS_ERROR_CAPTION_NAMED, IDS_CAPTURE_FAILED, IDS_SAVE_FAILED,    IDS_NO_LAYOUT,
    IDS_SHELL_ARRANGES, IDS_NOT_KEPT,           IDS_FILE_DIALOG_TITLE, IDS_FILTER_LAYOUTS, IDS_FILTER_ALL,
    IDS_USAGE,         IDS_KEPT_ICONS,          IDS_KEPT_CURRENT,   IDS_KEPT_NONE,
    IDS_LOCK_MENU,     IDS_LOCK_MENU_ARRANGES,  IDS_LOCK_MENU_RESTING, IDS_LOCKED_TIP,    IDS_LOCK_BALLOON_TITLE,
    IDS_LOCK_SHELL_ARRANGES, IDS_LOCK_RESTING,
};

struct WideMenuItem {
  UINT id;              // 0 for a separator, kPopup for a submenu
  const wchar_t* text;  // nullptr for a separator
};

const WideMenuItem kEnglishTrayMenu[] = {
    {ID_CLOSE_MENU, L"&Close menu"},
    {0, nullptr},
    {ID_SAVE, L"&Save icon positions"},
    {ID_SAVE_AS, L"Save icon positions &as\u2026"},
    {0, nullptr},
    {ID_RESTORE, L"&Restore icon positions"},
    {ID_RESTORE_FROM, L"Restore icon positions &from\u2026"},
    {1, L"Saved &layouts"},
    {ID_UNDO, L"&Undo restore"},
    {0, nullptr},
    {ID_LOCK, L"Loc&k icon positions"},
    {0, nullptr},
    {ID_SETTINGS, L"Se&ttings\u2026"},
    {ID_ABOUT, L"A&bout"},
    {0, nullptr},
    {ID_EXIT, L"E&xit"},
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

  // The resource of `type` and `id` in `language`, or null.
  const void* Find(LPCWSTR type, UINT id, WORD language) {
    HRSRC found = FindResourceExW(module_, type, MAKEINTRESOURCEW(id), language);
    return found ? LockResource(LoadResource(module_, found)) : nullptr;
  }

  // Creates a dialog from the template in the module, hidden: the Japanese
  // one as an ANSI dialog, as earlier versions ran it; the others as the
  // program runs them.
  HWND CreateTemplateDialog(int id, WORD language = kJapanese) {
    auto* tmpl = static_cast<const DLGTEMPLATE*>(Find(MAKEINTRESOURCEW(5), id, language));  // RT_DIALOG
    if (!tmpl) return nullptr;
    if (language == kJapanese) return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), tmpl, nullptr, QuietDialogProc, 0);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tmpl, nullptr, QuietDialogProc, 0);
  }

  HMENU LoadTrayMenu(WORD language) {
    const void* tmpl = Find(MAKEINTRESOURCEW(4), IDR_TRAYMENU, language);  // RT_MENU
    return tmpl ? LoadMenuIndirectW(tmpl) : nullptr;
  }

  // The ids of the texts of the string table in `language`.
  std::set<UINT> TextIdsIn(WORD language) {
    std::set<UINT> ids;
    for (UINT block = 1; block <= 0x1000; ++block) {
      const auto* text = static_cast<const WCHAR*>(Find(MAKEINTRESOURCEW(6), block, language));  // RT_STRING
      for (UINT i = 0; text && i < 16; ++i, text += 1 + *text) {
        if (*text) ids.insert((block - 1) * 16 + i);
      }
    }
    return ids;
  }

  std::wstring TextOf(UINT id, WORD language) {
    const auto* text = static_cast<const WCHAR*>(Find(MAKEINTRESOURCEW(6), id / 16 + 1, language));
    if (!text) return L"<missing>";
    for (UINT i = 0; i < id % 16; ++i) text += 1 + *text;
    return std::wstring(text + 1, *text);
  }

  // Every visible control's text fits in it, in the dialog's font: a check
  // box beside its box, a button within its edges.
  void ExpectNothingClipped(HWND dialog) {
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
      wchar_t text[256] = {};
      if (GetWindowTextW(child, text, 256) == 0) continue;
      SCOPED_TRACE(::testing::PrintToString(std::wstring(text)));
      RECT needed = {0, 0, 0, 0};
      DrawTextW(dc, text, -1, &needed, DT_CALCRECT | DT_SINGLELINE);
      RECT client;
      GetClientRect(child, &client);
      wchar_t cls[32] = {};
      GetClassNameW(child, cls, 32);
      const LONG style = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
      const bool checkBox = lstrcmpiW(cls, L"Button") == 0 && (style == BS_AUTOCHECKBOX || style == BS_CHECKBOX);
      // A check box's text starts after its box and a gap; a button keeps its
      // edges and a focus rectangle clear (4 pixels each side).
      const LONG room = checkBox ? client.right - GetSystemMetrics(SM_CXMENUCHECK) - 4
                                 : lstrcmpiW(cls, L"Button") == 0 ? client.right - 8 : client.right;
      EXPECT_LE(needed.right, room);
      EXPECT_LE(needed.bottom, client.bottom);
    }
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
  }

  std::wstring WideText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
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
  HMENU menu = LoadTrayMenu(kJapanese);
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
  HMENU menu = LoadTrayMenu(kJapanese);
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

// A text missing in one language would show as nothing there.
TEST_P(Resources, EveryTextMenuAndDialogIsThereInEveryLanguage) {
  const std::set<UINT> japanese = TextIdsIn(kJapanese);
  for (WORD language : kLanguages) {
    SCOPED_TRACE(language);
    const std::set<UINT> ids = TextIdsIn(language);
    EXPECT_EQ(ids, japanese) << "the same texts as in Japanese";
    for (UINT id : kTextIds) {
      EXPECT_EQ(ids.count(id), 1u) << "text " << id;
      EXPECT_FALSE(TextOf(id, language).empty()) << "text " << id;
    }
    EXPECT_NE(Find(MAKEINTRESOURCEW(4), IDR_TRAYMENU, language), nullptr);
    EXPECT_NE(Find(MAKEINTRESOURCEW(5), IDD_SETTINGS, language), nullptr);
    EXPECT_NE(Find(MAKEINTRESOURCEW(5), IDD_ABOUT, language), nullptr);
  }
  EXPECT_EQ(japanese.size(), std::size(kTextIds)) << "a text that the program does not ask for";
  // The numbers go where the program puts them.
  for (WORD language : kLanguages) {
    for (UINT id : {IDS_NOT_KEPT, IDS_KEPT_ICONS}) EXPECT_NE(TextOf(id, language).find(L"%d"), std::wstring::npos);
  }
}

TEST_P(Resources, EnglishTrayMenuHoldsTheSameItemsInEnglish) {
  HMENU menu = LoadTrayMenu(kEnglish);
  ASSERT_NE(menu, nullptr);
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(std::size(kEnglishTrayMenu)));
  for (int i = 0; i < static_cast<int>(std::size(kEnglishTrayMenu)); ++i) {
    SCOPED_TRACE("position " + std::to_string(i));
    const WideMenuItem& item = kEnglishTrayMenu[i];
    if (!item.text) {
      EXPECT_EQ(GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
      continue;
    }
    if (item.id == 1) {
      HMENU submenu = GetSubMenu(popup, i);
      ASSERT_NE(submenu, nullptr);
      EXPECT_EQ(GetMenuItemID(submenu, 0), static_cast<UINT>(ID_KEPT_MORE));
      wchar_t more[64] = {};
      GetMenuStringW(submenu, 0, more, 64, MF_BYPOSITION);
      EXPECT_EQ(std::wstring(more), L"&More\u2026");
    } else {
      EXPECT_EQ(GetMenuItemID(popup, i), item.id);
    }
    wchar_t text[256] = {};
    GetMenuStringW(popup, i, text, 256, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), item.text);
  }
  DestroyMenu(menu);
}

// The English dialogs: the same controls as the Japanese ones, in English,
// none clipped.
TEST_P(Resources, EnglishDialogsHoldTheSameControlsWithTextsThatFit) {
  struct Expected {
    int dialog;
    const wchar_t* caption;
    std::vector<std::pair<int, const wchar_t*>> texts;
  };
  const Expected dialogs[] = {
      {IDD_SETTINGS,
       L"Settings",
       {{IDC_START_AUTORESTORE, L"Restore icon positions when Tessaly &starts"},
        {IDC_RESOLUTION_AUTORESTORE, L"Restore icon positions when the resolution &changes"},
        {IDC_RESOLUTION_AUTOCAPTURE, L"Save icon positions &automatically when the resolution changes"},
        {IDC_START_AT_LOGON, L"Start Tessaly when I &log on to Windows"},
        {IDC_LOCK, L"Loc&k icon positions"},
        {IDOK, L"OK"}}},
      {IDD_ABOUT, L"About", {{IDC_HOMEPAGE, L"HomePage"}, {IDC_MAILADDRESS, L"MailAddress"}, {IDOK, L"OK"}}},
  };
  for (const Expected& expected : dialogs) {
    SCOPED_TRACE(expected.dialog);
    HWND japanese = CreateTemplateDialog(expected.dialog, kJapanese);
    HWND dialog = CreateTemplateDialog(expected.dialog, kEnglish);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WideText(dialog), expected.caption);
    for (const auto& [id, text] : expected.texts) EXPECT_EQ(WideText(GetDlgItem(dialog, id)), text) << id;
    // Each control of the Japanese dialog, of the same class and visibility.
    for (HWND child = GetWindow(japanese, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const int id = GetDlgCtrlID(child);
      if (id <= 0 || id == 0xFFFF) continue;
      HWND same = GetDlgItem(dialog, id);
      ASSERT_NE(same, nullptr) << id;
      wchar_t a[64] = {}, b[64] = {};
      GetClassNameW(child, a, 64);
      GetClassNameW(same, b, 64);
      EXPECT_EQ(std::wstring(a), std::wstring(b)) << id;
      EXPECT_EQ(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE, GetWindowLongW(same, GWL_STYLE) & WS_VISIBLE) << id;
    }
    // The version line as the dialog sets it.
    if (expected.dialog == IDD_ABOUT) SetWindowTextW(GetDlgItem(dialog, IDC_VERSION), L"Pavane Ver.0.08");
    ExpectNothingClipped(dialog);
    DestroyWindow(japanese);
    DestroyWindow(dialog);
  }
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
