// Tessaly.exe's command line, against the test desktop: a command goes to the
// running copy when there is one, and is carried out by the new process
// itself when there is none; the exit code is the answer.
#include <gtest/gtest.h>

#include "tests/e2e/tessaly_driver.h"

#include <tlhelp32.h>

namespace e2e {
namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

std::vector<DesktopIcon> Icons() {
  return {{"ごみ箱", 20, 20}, {"Notes", 20, 110}, {"表計算.xls", 120, 20}, {"Mail", 120, 110}, {"予定表", 220, 20}};
}

// Whether a process has this module loaded.  The system loads the hook
// library into the desktop's process when a message first passes the hook,
// and it stays there.
bool HasModule(DWORD processId, const char* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  MODULEENTRY32 module = {sizeof module};
  bool found = false;
  for (BOOL more = Module32First(snapshot, &module); more && !found; more = Module32Next(snapshot, &module)) {
    found = lstrcmpiA(module.szModule, name) == 0;
  }
  CloseHandle(snapshot);
  return found;
}

// Holds the thread that owns a window still (SuspendThread) for as long as
// it lives.
class FrozenThread {
 public:
  explicit FrozenThread(HWND window)
      : thread_(OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(window, nullptr))) {
    frozen_ = thread_ && SuspendThread(thread_) != static_cast<DWORD>(-1);
  }
  ~FrozenThread() { Thaw(); }
  bool Frozen() const { return frozen_; }
  void Thaw() {
    if (frozen_) ResumeThread(thread_);
    frozen_ = false;
    if (thread_) CloseHandle(thread_);
    thread_ = nullptr;
  }

 private:
  HANDLE thread_;
  bool frozen_ = false;
};

// A folder in the temporary folder with a space and Japanese in its name,
// ending in 表, whose second byte is a backslash.
std::string JapaneseFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "配置 データ 表";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

class E2eCommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(desktop.Start(Icons()));
    DeleteFileA(CurrentLayoutFile().c_str());
  }
  // Moves three icons away from their places.
  void Scramble() {
    ASSERT_TRUE(desktop.Move(0, Icons()[3].x, Icons()[3].y));
    ASSERT_TRUE(desktop.Move(3, Icons()[0].x, Icons()[0].y));
    ASSERT_TRUE(desktop.Move(4, 600, 400));
    ASSERT_NE(desktop.Icons(), Icons());
  }
  void ExpectNoMessageBox() { EXPECT_EQ(tessaly.FindOwnWindow("#32770", nullptr), nullptr); }

  TestDesktop desktop;
  Tessaly tessaly;
};

TEST_F(E2eCommandLine, WithACopyRunningSaveAndRestoreAreCarriedOutByIt) {
  ASSERT_TRUE(tessaly.Start());
  {
    // While the running copy is held still, the command waits for its answer
    // and saves nothing by itself.
    FrozenThread frozen(tessaly.Window());
    ASSERT_TRUE(frozen.Frozen());
    Tessaly command;
    ASSERT_TRUE(command.Start(false, "/save"));
    // A command that did not wait would have ended within this; a busy
    // machine only weakens the check.
    Sleep(1500);
    EXPECT_TRUE(command.Running());
    EXPECT_FALSE(Exists(CurrentLayoutFile()));
    frozen.Thaw();
    int exitCode = kNotEnded;
    ASSERT_TRUE(command.WaitExit(&exitCode));
    EXPECT_EQ(exitCode, 0);
  }
  EXPECT_EQ(ReadLayout(CurrentLayoutFile()), InPositionOrder(Icons()));
  EXPECT_TRUE(HasModule(desktop.ProcessId(), "sorrel_x64.dll")) << "the running copy hooks the desktop";

  Scramble();
  EXPECT_EQ(RunTessaly("-RESTORE"), 0);
  EXPECT_EQ(desktop.Icons(), Icons()) << "the icons are back when the command ends";
  ExpectNoMessageBox();
  EXPECT_TRUE(tessaly.Running());
}

TEST_F(E2eCommandLine, WithoutACopySaveAndRestoreRunInTheNewProcessWithoutHook) {
  ASSERT_EQ(FindWindowA("CID_TESSALY", "Pavane"), nullptr);
  RemoveTree(MakerFolder());
  EXPECT_EQ(RunTessaly("/Save"), 0);
  EXPECT_EQ(ReadLayout(CurrentLayoutFile()), InPositionOrder(Icons())) << "the settings folder is made for it";

  Scramble();
  EXPECT_EQ(RunTessaly("/restore"), 0);
  EXPECT_EQ(desktop.Icons(), Icons());
  EXPECT_FALSE(HasModule(desktop.ProcessId(), "sorrel_x64.dll")) << "no hook was set";
  EXPECT_FALSE(Exists(SettingsFile())) << "no settings are written";

  // /lock writes the option for the next start, and the layout it will hold.
  Scramble();
  EXPECT_EQ(RunTessaly("/lock"), 0);
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Lock_Icons"), "true");
  EXPECT_EQ(ReadLayout(CurrentLayoutFile()), InPositionOrder(desktop.Icons()));
  EXPECT_EQ(RunTessaly("/unlock"), 0);
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Lock_Icons"), "false");
}

TEST_F(E2eCommandLine, ANamedFileWithSpacesAndJapaneseInItsPathTakesEitherRoute) {
  const std::string folder = JapaneseFolder();
  const std::string file = folder + "\\保存 表";  // no extension: 表 stands before the closing quote
  DeleteFileA(file.c_str());
  ASSERT_TRUE(tessaly.Start());
  EXPECT_EQ(RunTessaly("/save \"" + file + "\""), 0);
  EXPECT_EQ(ReadLayout(file), InPositionOrder(Icons()));
  // A relative name is the command's, not the running copy's current folder.
  EXPECT_EQ(RunTessaly("/save \"相対 表.qvd\"", folder), 0);
  EXPECT_EQ(ReadLayout(folder + "\\相対 表.qvd"), InPositionOrder(Icons()));

  Scramble();
  EXPECT_EQ(RunTessaly("/restore \"" + file + "\""), 0);
  EXPECT_EQ(desktop.Icons(), Icons());

  int exitCode = kNotEnded;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  Scramble();
  EXPECT_EQ(RunTessaly("/restore \"相対 表.qvd\"", folder), 0);
  EXPECT_EQ(desktop.Icons(), Icons());
  RemoveTree(folder);
}

TEST_F(E2eCommandLine, FailuresEndWithOneAndMoveNothing) {
  const std::string missing = JapaneseFolder() + "\\ない.qvd";
  for (bool running : {false, true}) {
    SCOPED_TRACE(running ? "a copy running" : "none running");
    if (running) {
      ASSERT_TRUE(tessaly.Start());
    }
    Scramble();
    const std::vector<DesktopIcon> before = desktop.Icons();
    ASSERT_TRUE(desktop.ResetCounts());
    EXPECT_EQ(RunTessaly("/restore \"" + missing + "\""), 1);
    EXPECT_EQ(RunTessaly("/restore"), 1) << "no default file";
    EXPECT_EQ(RunTessaly("/save \"C:\\no such folder\\x.qvd\""), 1) << "the write fails";
    EXPECT_EQ(desktop.Count("setitemposition"), 0);
    EXPECT_EQ(desktop.Icons(), before);
    EXPECT_FALSE(Exists(CurrentLayoutFile()));
    ExpectNoMessageBox();
  }
  desktop.Quit();
  EXPECT_EQ(RunTessaly("/save"), 1) << "no desktop view, a copy running";
  int exitCode = kNotEnded;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(RunTessaly("/save"), 1) << "no desktop view, none running";
  EXPECT_FALSE(Exists(CurrentLayoutFile()));
}

TEST_F(E2eCommandLine, AnUnknownOptionOrAMissingArgumentEndsWithTwo) {
  ASSERT_TRUE(tessaly.Start());
  for (const char* arguments : {"/bogus", "layout.qvd", "/save \"\"", "/restore a.qvd b.qvd", "/exit now",
                                "/restore /save"}) {
    SCOPED_TRACE(arguments);
    EXPECT_EQ(RunTessaly(arguments), 2);
  }
  EXPECT_FALSE(Exists(CurrentLayoutFile()));
  ExpectNoMessageBox();
  EXPECT_TRUE(tessaly.Running());
}

TEST_F(E2eCommandLine, ExitEndsTheRunningCopyWhichWritesItsSettings) {
  DeleteFileA(SettingsFile().c_str());
  ASSERT_TRUE(tessaly.Start());
  // An open dialog does not hold the command up: its loop delivers it.
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSettings));
  ASSERT_NE(tessaly.WaitForDialog("設定"), nullptr);
  EXPECT_EQ(RunTessaly("-Exit"), 0);
  int exitCode = kNotEnded;
  ASSERT_TRUE(tessaly.WaitExit(&exitCode, 0)) << "the command waits until the copy has ended";
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Resolution_AutoCapture"), "false");
  EXPECT_EQ(RunTessaly("/exit"), 0) << "none running: nothing to end";
}

TEST_F(E2eCommandLine, UsageIsShownInAMessageBox) {
  Tessaly command;
  ASSERT_TRUE(command.Start(false, "/?"));
  HWND box = command.WaitForDialog("Pavane");
  ASSERT_NE(box, nullptr);
  const std::string text = MessageBoxText(box);
  for (const char* option : {"/save", "/restore", "/lock", "/unlock", "/exit", "/?"}) {
    EXPECT_NE(text.find(option), std::string::npos) << option;
  }
  PressOk(box);
  int exitCode = kNotEnded;
  ASSERT_TRUE(command.WaitExit(&exitCode));
  EXPECT_EQ(exitCode, 0);
}

TEST_F(E2eCommandLine, ACommandArrivingDuringACaptureWaitsUntilItHasEnded) {
  ASSERT_TRUE(tessaly.Start());
  int exitCode = kNotEnded;
  {
    // The desktop does not answer: the menu's Save waits in the middle of its
    // capture, where the command's message is delivered to the copy.
    FrozenThread frozen(TestDesktop::FindView());
    ASSERT_TRUE(frozen.Frozen());
    ASSERT_TRUE(SendNotifyMessageA(tessaly.Window(), WM_COMMAND, kSave, 0));
    // Sent messages are handled in order: once this one is answered, the
    // Save is waiting for the desktop in the middle of its capture.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(tessaly.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer));
    Tessaly command;
    ASSERT_TRUE(command.Start(false, "/restore"));
    // A command that did not wait would have ended within this; a busy
    // machine only weakens the check.
    Sleep(1500);
    EXPECT_TRUE(command.Running());
    frozen.Thaw();
    // Run inside the capture, the restore would find no file yet.
    ASSERT_TRUE(command.WaitExit(&exitCode));
  }
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(ReadLayout(CurrentLayoutFile()), InPositionOrder(Icons()));
}

}  // namespace
}  // namespace e2e
