// Save as and Restore from through the real file dialogs, typed into as a
// user would, against the test desktop.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/tessaly_driver.h"

namespace e2e {
namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

constexpr UINT kSaveAs = 40003;
constexpr UINT kRestoreFrom = 40004;
constexpr UINT kRestoreFromHistory = 40010;  // その他… of the layouts at hand
// Title of both file dialogs: specify where to save.
const char* const kDialogTitle = "保存先の指定";
const char* const kNamedCaption = "エラー - Pavane";

std::vector<DesktopIcon> Icons() {
  return {{"ごみ箱", 20, 20}, {"Notes", 20, 110}, {"表計算.xls", 120, 20}, {"Mail", 220, 110}};
}

// "1024x768.qvd" for the screen as it is now.
std::string ResolutionTag() {
  return std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" + std::to_string(GetSystemMetrics(SM_CYSCREEN)) + ".qvd";
}

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

struct DialogSearch {
  DWORD processId;
  bool messageBox;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<DialogSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (owner != search->processId || !IsWindowVisible(window) || lstrcmpA(cls, "#32770") != 0) return TRUE;
  // A message box carries its text in the static control 0xFFFF.
  if ((GetDlgItem(window, 0xFFFF) != nullptr) != search->messageBox) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindDialog(const Tessaly& tessaly, bool messageBox) {
  DialogSearch search = {tessaly.ProcessId(), messageBox, nullptr};
  EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Types into the dialog's file-name box: the combo box cmb13 of the
// explorer-style dialog, else the edit edt1 of the older one.
bool TypeFileName(HWND dialog, const std::string& text) {
  for (int id : {0x47C, 0x480}) {
    HWND box = GetDlgItem(dialog, id);
    if (box && IsWindowVisible(box)) {
      return SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != FALSE;
    }
  }
  return false;
}

class E2eFileDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "tessaly-dialogs";
    RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(desktop.Start(Icons()));
    ASSERT_TRUE(tessaly.Start());
    DeleteFileA(CurrentLayoutFile().c_str());
  }
  void TearDown() override {
    if (!ended) {
      EXPECT_TRUE(tessaly.Running());
      int exitCode = -99;
      EXPECT_TRUE(tessaly.Close(&exitCode));
      EXPECT_EQ(exitCode, 0);
    }
    RemoveTree(folder);
  }

  // Gives the menu command and waits for its file dialog.
  HWND OpenDialog(UINT command) {
    EXPECT_TRUE(tessaly.Post(WM_COMMAND, command));
    HWND dialog = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (dialog = FindDialog(tessaly, false)) != nullptr; }));
    return dialog;
  }
  // Types the name into the dialog, presses OK and waits for it to close.
  void Choose(HWND dialog, const std::string& name) {
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(TypeFileName(dialog, name));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  }
  void Cancel(HWND dialog) {
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
  }
  // Waits until Tessaly has handled everything posted before: a plain Save
  // posted now writes the "default" file only after that.
  void WaitUntilHandled() {
    DeleteFileA(CurrentLayoutFile().c_str());
    ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
    ASSERT_TRUE(WaitForFileSettled(CurrentLayoutFile()));
  }
  // Saves as `name` in the test folder and returns the icons as they were.
  std::vector<DesktopIcon> SaveAs(const std::string& name) {
    std::vector<DesktopIcon> now = desktop.Icons();
    Choose(OpenDialog(kSaveAs), folder + "\\" + name);
    EXPECT_TRUE(WaitForFileSettled(folder + "\\" + name + "." + ResolutionTag()));
    return now;
  }
  // Waits for the message box and returns its text; its caption must be `caption`.
  std::string TakeMessage(const char* caption) {
    HWND box = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (box = FindDialog(tessaly, true)) != nullptr; }));
    if (!box) return "<no message>";
    EXPECT_EQ(WindowText(box), caption);
    std::string text = MessageBoxText(box);
    PressOk(box);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    return text;
  }

  std::string folder;
  bool ended = false;  // the test closed Tessaly itself
  TestDesktop desktop;
  Tessaly tessaly;
};

TEST_F(E2eFileDialogs, SaveAsWritesTheCapturedIconsUnderTheChosenNameWithTheResolutionExtension) {
  HWND dialog = OpenDialog(kSaveAs);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), kDialogTitle);
  std::vector<DesktopIcon> saved = desktop.Icons();
  Choose(dialog, folder + "\\mine");

  const std::string file = folder + "\\mine." + ResolutionTag();
  ASSERT_TRUE(WaitForFileSettled(file)) << file;
  EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"mine." + ResolutionTag()}) << "nothing else is left beside it";
  EXPECT_EQ(ProfileValue(file, "QVD-Fomat", "Version"), "0.01");
  EXPECT_EQ(ProfileValue(file, "QVD-Data", "IconCount"), std::to_string(saved.size()));
  EXPECT_EQ(ReadLayout(file), InPositionOrder(saved));
  EXPECT_EQ(FindDialog(tessaly, true), nullptr) << "no message on success";

  // Saving as the same name again replaces the file without asking and
  // leaves no entry of the icon that has gone.
  ASSERT_TRUE(desktop.Remove(3));
  saved = desktop.Icons();
  const std::string first = ReadBytes(file);
  Choose(OpenDialog(kSaveAs), folder + "\\mine");
  ASSERT_TRUE(WaitFor([&] { return ReadBytes(file) != first; }));
  ASSERT_TRUE(WaitForFileSettled(file));
  EXPECT_EQ(ReadLayout(file), InPositionOrder(saved));
  EXPECT_EQ(ProfileValue(file, "QVD-Data", "IconName_3"), "<absent>");
  // The file it replaced is kept in history\ beside it, whole.
  EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"history", "mine." + ResolutionTag()}));
  const std::vector<std::string> kept = FilesIn(folder + "\\history");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(ReadBytes(folder + "\\history\\" + kept[0]), first);
  EXPECT_EQ(FindDialog(tessaly, true), nullptr);
}

TEST_F(E2eFileDialogs, RestoreFromPutsTheIconsOfTheChosenFileBack) {
  std::vector<DesktopIcon> saved = SaveAs("mine");
  ASSERT_TRUE(desktop.Move(0, saved[2].x, saved[2].y));
  ASSERT_TRUE(desktop.Move(2, saved[0].x, saved[0].y));
  ASSERT_TRUE(desktop.Move(3, 500, 400));
  ASSERT_NE(desktop.Icons(), saved);

  HWND dialog = OpenDialog(kRestoreFrom);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), kDialogTitle);
  Choose(dialog, folder + "\\mine." + ResolutionTag());
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == saved; }))
      << "now:\n" << testsupport::ToString(desktop.Icons()) << "saved:\n" << testsupport::ToString(saved);

  // A file saved at another resolution is restored like any other.
  std::vector<DesktopIcon> other = {{"Mail", 300, 300}, {"ごみ箱", 400, 300}};
  const std::string otherFile = folder + "\\other.800x600.qvd";
  ASSERT_TRUE(WriteLayout(otherFile, other));
  Choose(OpenDialog(kRestoreFrom), otherFile);
  std::vector<DesktopIcon> expected = saved;
  expected[3] = other[0];
  expected[0] = other[1];
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == expected; }))
      << "now:\n" << testsupport::ToString(desktop.Icons()) << "expected:\n" << testsupport::ToString(expected);
  WaitUntilHandled();
  EXPECT_EQ(FindDialog(tessaly, true), nullptr) << "no message on success";
}

// The tray menu's その他… opens Restore from in the history folder: a kept
// file is chosen by its name alone.
TEST_F(E2eFileDialogs, TheLayoutsAtHandOpenRestoreFromInTheHistory) {
  const std::string history = SettingsFolder() + "\\history";
  RemoveTree(history);
  const std::vector<DesktopIcon> first = desktop.Icons();
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
  ASSERT_TRUE(WaitForFileSettled(CurrentLayoutFile()));
  ASSERT_TRUE(desktop.Move(2, 640, 480));
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
  ASSERT_TRUE(WaitFor([&] { return FilesIn(history).size() == 1; })) << "the second Save keeps the first file";
  ASSERT_TRUE(desktop.Move(1, 600, 300));
  Choose(OpenDialog(kRestoreFromHistory), FilesIn(history)[0]);
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == first; })) << testsupport::ToString(desktop.Icons());
}

TEST_F(E2eFileDialogs, CancelInEitherDialogWritesNothingAndMovesNothing) {
  std::vector<DesktopIcon> saved = SaveAs("mine");
  ASSERT_TRUE(desktop.Move(1, 600, 500));
  std::vector<DesktopIcon> moved = desktop.Icons();

  HWND save = OpenDialog(kSaveAs);
  ASSERT_NE(save, nullptr);
  ASSERT_TRUE(TypeFileName(save, folder + "\\cancelled"));
  Cancel(save);
  HWND open = OpenDialog(kRestoreFrom);
  ASSERT_NE(open, nullptr);
  ASSERT_TRUE(TypeFileName(open, folder + "\\mine." + ResolutionTag()));
  Cancel(open);

  WaitUntilHandled();
  EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"mine." + ResolutionTag()});
  EXPECT_EQ(desktop.Icons(), moved);
  EXPECT_EQ(FindDialog(tessaly, true), nullptr) << "a cancel is silent";
  EXPECT_EQ(FindDialog(tessaly, false), nullptr);

  // The dialogs still serve after a cancel.
  Choose(OpenDialog(kRestoreFrom), folder + "\\mine." + ResolutionTag());
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == saved; }));
}

TEST_F(E2eFileDialogs, RestoreFromANameThatDoesNotExistIsRefusedByTheDialogItself) {
  std::vector<DesktopIcon> before = desktop.Icons();
  HWND dialog = OpenDialog(kRestoreFrom);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(TypeFileName(dialog, folder + "\\absent"));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  // The dialog warns about the name and stays open; Tessaly hears nothing.
  HWND warning = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (warning = FindDialog(tessaly, true)) != nullptr; }));
  EXPECT_EQ(GetWindow(warning, GW_OWNER), dialog);
  EXPECT_NE(WindowText(warning), kNamedCaption);
  PressOk(warning);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(warning); }));
  EXPECT_TRUE(IsWindow(dialog));
  Cancel(dialog);
  WaitUntilHandled();
  EXPECT_EQ(FindDialog(tessaly, true), nullptr);
  EXPECT_EQ(desktop.Icons(), before);
}

TEST_F(E2eFileDialogs, RestoreFromAPlainTextFileShowsTheNoDataMessage) {
  // A file without the layout format is read as the old tab-separated text;
  // a line of other text is no entry of it: the file holds no layout, which
  // is said, and nothing moves.
  const std::string note = folder + "\\note.txt";
  ASSERT_TRUE(WriteBytes(note, "買い物 memo\r\n"));
  std::vector<DesktopIcon> before = desktop.Icons();
  Choose(OpenDialog(kRestoreFrom), note);
  EXPECT_EQ(TakeMessage(kNamedCaption), "現在の解像度で保存されたデータはありません！");
  EXPECT_EQ(desktop.Icons(), before);
  EXPECT_EQ(ReadBytes(note), "買い物 memo\r\n");
}

TEST_F(E2eFileDialogs, RestoreFromAFileThatCannotBeReadShowsTheNoDataMessage) {
  const std::string file = folder + "\\held." + ResolutionTag();
  ASSERT_TRUE(WriteLayout(file, {{"Notes", 500, 500}}));
  std::vector<DesktopIcon> before = desktop.Icons();
  // Another program holds the file open and shares it with nobody.
  HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Choose(OpenDialog(kRestoreFrom), file);
  EXPECT_EQ(TakeMessage(kNamedCaption), "現在の解像度で保存されたデータはありません！");
  CloseHandle(held);
  EXPECT_EQ(desktop.Icons(), before);
}

TEST_F(E2eFileDialogs, SaveAsWhereNothingCanBeWrittenShowsTheSaveFailedMessage) {
  // A file held open by another program is neither replaced nor touched.
  const std::string file = folder + "\\held." + ResolutionTag();
  ASSERT_TRUE(WriteBytes(file, "kept\r\n"));
  HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Choose(OpenDialog(kSaveAs), file);
  EXPECT_EQ(TakeMessage(kNamedCaption), "アイコン位置の保存に失敗しました");
  CloseHandle(held);
  EXPECT_EQ(ReadBytes(file), "kept\r\n");
  EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"held." + ResolutionTag()});

  // A folder where no file can be made: the host's /proc, seen through
  // Wine's drive Z:.
  const std::string locked = "Z:\\proc";
  if (!IsFolder(locked)) GTEST_SKIP() << "no unwritable folder at " << locked;
  Choose(OpenDialog(kSaveAs), locked + "\\mine");
  EXPECT_EQ(TakeMessage(kNamedCaption), "アイコン位置の保存に失敗しました");
  EXPECT_FALSE(Exists(locked + "\\mine." + ResolutionTag()));
}

TEST_F(E2eFileDialogs, NamesWithTrailBytesThatLookLikeBackslashesSaveAndRestore) {
  // The second bytes of 表 and ソ in code page 932 are 0x5C, a backslash.
  const std::string sub = folder + "\\表ソ";
  ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
  std::vector<DesktopIcon> saved = desktop.Icons();
  Choose(OpenDialog(kSaveAs), sub + "\\配置表");
  const std::string file = sub + "\\配置表." + ResolutionTag();
  ASSERT_TRUE(WaitForFileSettled(file)) << file;
  EXPECT_EQ(ReadLayout(file), InPositionOrder(saved));
  EXPECT_EQ(FilesIn(sub), std::vector<std::string>{"配置表." + ResolutionTag()});

  ASSERT_TRUE(desktop.Move(2, 640, 480));
  Choose(OpenDialog(kRestoreFrom), file);
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == saved; }));
}

TEST_F(E2eFileDialogs, WhileADialogIsOpenTessalyServesAndEndsCleanly) {
  HWND dialog = OpenDialog(kSaveAs);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(TypeFileName(dialog, folder + "\\never"));
  // The dialog's own message loop keeps dispatching the menu's commands.
  WaitUntilHandled();
  EXPECT_TRUE(IsWindow(dialog));

  // Closing the program (as at the end of a log-on) ends the open dialog
  // as a cancel: nothing is written and the program exits normally.
  int exitCode = -99;
  ended = true;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(FilesIn(folder).empty());
}

}  // namespace
}  // namespace e2e
