// What users of desktop tools expect beyond the menu of old: start at log-on,
// undo a restore, earlier layouts kept, a layout per display scale.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/tessaly_driver.h"

namespace e2e {
namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

constexpr UINT kUndo = 40009;
constexpr int kStartAtLogOn = 1011;

std::vector<DesktopIcon> Saved() {
  return {{"ごみ箱", 20, 20}, {"Notes", 20, 110}, {"表計算.xls", 120, 20}, {"Mail", 120, 110}};
}

std::vector<DesktopIcon> Scrambled() {
  return {{"ごみ箱", 300, 300}, {"Notes", 120, 20}, {"表計算.xls", 20, 110}, {"Mail", 400, 20}};
}

// Places every icon as `icons` has it (icons of the test desktop keep their
// index: its order).
void Arrange(TestDesktop& desktop, const std::vector<DesktopIcon>& icons) {
  for (size_t i = 0; i < icons.size(); ++i) ASSERT_TRUE(desktop.Move(static_cast<int>(i), icons[i].x, icons[i].y));
}

std::string StartupShortcut() {
  char folder[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::string(folder) + "\\Tessaly.lnk";
}

// Where a shortcut leads and its working folder, "" when it cannot be read.
std::string ShortcutTarget(const std::string& path, std::string* folder = nullptr) {
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  std::string target;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    wchar_t widePath[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
    char buffer[MAX_PATH] = {};
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(widePath, STGM_READ)) && SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, 0))) {
      target = buffer;
      if (folder) {
        char work[MAX_PATH] = {};
        link->GetWorkingDirectory(work, MAX_PATH);
        *folder = work;
      }
    }
    if (file) file->Release();
    link->Release();
  }
  return target;
}

bool MakeShortcut(const std::string& path, const std::string& target) {
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  wchar_t widePath[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
  const bool made = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                               reinterpret_cast<void**>(&link))) &&
                    SUCCEEDED(link->SetPath(target.c_str())) &&
                    SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                    SUCCEEDED(file->Save(widePath, TRUE));
  if (file) file->Release();
  if (link) link->Release();
  return made;
}

bool SameFile(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// Opens 設定, sets the start-at-log-on box (-1: leaves it), and presses OK;
// gives what the box showed when the dialog opened.
int SetStartAtLogOn(Tessaly& tessaly, int tick) {
  if (!tessaly.Post(WM_COMMAND, kSettings)) return -1;
  HWND dialog = tessaly.WaitForDialog("設定");
  if (!dialog) return -1;
  HWND box = GetDlgItem(dialog, kStartAtLogOn);
  const int shown = static_cast<int>(SendMessageA(box, BM_GETCHECK, 0, 0));
  if (tick >= 0 && shown != tick) SendMessageA(box, BM_CLICK, 0, 0);
  PressOk(dialog);
  tessaly.WaitForNoDialog("設定");
  return shown;
}

class E2eUserFeatures : public ::testing::Test {
 protected:
  TestDesktop desktop;
  Tessaly tessaly;
};

TEST_F(E2eUserFeatures, StartAtLogOnMakesAndRemovesTheStartupShortcut) {
  ASSERT_TRUE(desktop.Start(Saved()));
  const std::string shortcut = StartupShortcut();
  const std::string program = testsupport::DeliverablePath("Tessaly.exe");
  DeleteFileA(shortcut.c_str());
  ASSERT_TRUE(tessaly.Start());

  EXPECT_EQ(SetStartAtLogOn(tessaly, BST_CHECKED), BST_UNCHECKED);
  std::string folder;
  char full[MAX_PATH] = {};
  GetFullPathNameA(program.c_str(), MAX_PATH, full, nullptr);
  EXPECT_TRUE(SameFile(ShortcutTarget(shortcut, &folder), full)) << ShortcutTarget(shortcut);
  EXPECT_TRUE(SameFile(folder + "\\Tessaly.exe", full)) << folder;
  EXPECT_EQ(SetStartAtLogOn(tessaly, BST_UNCHECKED), BST_CHECKED) << "the box reads the shortcut";
  EXPECT_FALSE(Exists(shortcut));

  // A shortcut to another Tessaly.exe (the program was moved) is not ours.
  ASSERT_TRUE(MakeShortcut(shortcut, "C:\\Tools\\Tessaly\\Tessaly.exe"));
  EXPECT_EQ(SetStartAtLogOn(tessaly, -1), BST_UNCHECKED);
  EXPECT_TRUE(SameFile(ShortcutTarget(shortcut), "C:\\Tools\\Tessaly\\Tessaly.exe"));
  DeleteFileA(shortcut.c_str());
}

// Save, scramble, Restore; then /undo brings the scrambled arrangement back,
// the menu's undo the restored one, and after a restart /undo the scrambled
// one again.
TEST_F(E2eUserFeatures, UndoSwapsTheArrangementsBeforeAndAfterARestoreAlsoAfterARestart) {
  ASSERT_TRUE(desktop.Start(Saved()));
  ASSERT_TRUE(tessaly.Start());
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
  ASSERT_TRUE(WaitForFileSettled(CurrentLayoutFile()));
  ASSERT_NO_FATAL_FAILURE(Arrange(desktop, Scrambled()));
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
  ASSERT_TRUE(WaitFor([&] { return desktop.Icons() == Saved(); })) << testsupport::ToString(desktop.Icons());

  EXPECT_EQ(RunTessaly("/undo"), 0);
  EXPECT_EQ(desktop.Icons(), Scrambled());
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kUndo));
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == Saved(); })) << testsupport::ToString(desktop.Icons());

  int exitCode = -99;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  ASSERT_TRUE(tessaly.Start());
  EXPECT_EQ(RunTessaly("/undo"), 0);
  EXPECT_EQ(desktop.Icons(), Scrambled());
}

// Three Saves: the two earlier files are kept whole, and one restores.
TEST_F(E2eUserFeatures, SavesKeepTheFilesTheyReplaceInTheHistory) {
  const std::vector<DesktopIcon> second = {{"ごみ箱", 200, 20}, {"Notes", 200, 110}, {"表計算.xls", 300, 20},
                                           {"Mail", 300, 110}};
  ASSERT_TRUE(desktop.Start(Saved()));
  ASSERT_TRUE(tessaly.Start());
  const std::string history = SettingsFolder() + "\\history";
  DeleteFileA(CurrentLayoutFile().c_str());  // the first Save replaces nothing
  RemoveTree(history);
  std::vector<std::string> files;
  for (const std::vector<DesktopIcon>& arrangement : {Saved(), second, Scrambled()}) {
    ASSERT_NO_FATAL_FAILURE(Arrange(desktop, arrangement));
    EXPECT_EQ(RunTessaly("/save"), 0);
    files.push_back(ReadBytes(CurrentLayoutFile()));
    Sleep(1100);  // each kept file has a time of its own
  }
  std::vector<std::string> kept;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((history + "\\*.qvd").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no history folder";
  do kept.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(kept.begin(), kept.end());
  ASSERT_EQ(kept.size(), 2u);
  const std::string tag = CurrentLayoutFile().substr(CurrentLayoutFile().rfind("default.") + 8);
  for (const std::string& name : kept) EXPECT_EQ(name.rfind("default." + tag.substr(0, tag.size() - 4), 0), 0u) << name;
  EXPECT_EQ(ReadBytes(history + "\\" + kept[0]), files[0]);
  EXPECT_EQ(ReadBytes(history + "\\" + kept[1]), files[1]);

  EXPECT_EQ(RunTessaly("/restore \"" + history + "\\" + kept[1] + "\""), 0);
  EXPECT_EQ(desktop.Icons(), second);

  // From the tray: the submenu of layouts at hand (access key L) lists the
  // current file, then the kept ones newest first (access keys 1, 2, 3).
  const std::pair<char, std::vector<DesktopIcon>> choices[] = {{'3', Saved()}, {'1', Scrambled()}, {'2', second}};
  for (const auto& [key, arrangement] : choices) {
    SCOPED_TRACE(std::string("entry ") + key);
    ASSERT_TRUE(tessaly.Post(kTrayCallback, kTrayIconId, WM_RBUTTONDOWN));
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = tessaly.FindMenu()) != nullptr; }));
    PostMessageA(menu, WM_CHAR, 'L', 0);
    PostMessageA(menu, WM_CHAR, key, 0);
    EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == arrangement; })) << testsupport::ToString(desktop.Icons());
    EXPECT_TRUE(WaitFor([&] { return tessaly.FindMenu() == nullptr; }));
  }
}

// Wine reads the scale (LogPixels) when a program starts.
TEST_F(E2eUserFeatures, AtAnotherScaleTheLayoutFileNamesTheScale) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const DWORD dpi = 144;
  RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  const std::string plain = CurrentLayoutFile();
  DeleteFileA(plain.c_str());
  ASSERT_TRUE(desktop.Start(Saved()));
  ASSERT_TRUE(tessaly.Start());
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
  const std::string scaled = plain.substr(0, plain.size() - 4) + ".144dpi.qvd";
  EXPECT_TRUE(WaitForFileSettled(scaled)) << scaled;
  EXPECT_FALSE(Exists(plain));
  int exitCode = -99;
  EXPECT_TRUE(tessaly.Close(&exitCode));
  RegDeleteValueA(key, "LogPixels");
  RegCloseKey(key);
}

}  // namespace
}  // namespace e2e
