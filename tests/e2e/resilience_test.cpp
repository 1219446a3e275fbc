// What a tray program meets besides its menu: the end of the session, a
// crash right after the user changed an option, a shell that stops
// answering, and a second copy started at the same moment.
#include <gtest/gtest.h>

#include "tests/e2e/tessaly_driver.h"
#include "tests/support/shell_desktop_client.h"

namespace e2e {
namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

constexpr int kResolutionAutoCapture = 1010;

// Sends `message` and returns its answer; false when the window did not
// answer within `timeoutMs`.
bool Answers(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT* answer = nullptr,
             UINT timeoutMs = 5000) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result)) return false;
  if (answer) *answer = static_cast<LRESULT>(result);
  return true;
}

// The thread of the desktop's icon view, stopped as a hung shell's is, and
// going on again at the end.
class SuspendedThread {
 public:
  explicit SuspendedThread(HWND view)
      : thread_(OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(view, nullptr))) {
    if (thread_) suspended_ = SuspendThread(thread_) != static_cast<DWORD>(-1);
  }
  ~SuspendedThread() {
    if (suspended_) ResumeThread(thread_);
    if (thread_) CloseHandle(thread_);
  }
  bool Suspended() const { return suspended_; }

 private:
  HANDLE thread_;
  bool suspended_ = false;
};

class E2eResilience : public ::testing::Test {
 protected:
  // With a hung desktop, Save reports the capture failure in time while the
  // program answers, and the stored layout stays as it was.
  void SaveAgainstAHungShell(HWND view) {
    DeleteFileA(CurrentLayoutFile().c_str());  // an earlier test's
    ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
    ASSERT_TRUE(WaitForFileSettled(CurrentLayoutFile()));
    const std::string stored = ReadBytes(CurrentLayoutFile());
    const std::vector<DesktopIcon> icons = ReadLayout(CurrentLayoutFile());

    {
      SuspendedThread hung(view);
      ASSERT_TRUE(hung.Suspended());
      const ULONGLONG start = GetTickCount64();
      ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
      // The Save has begun to wait for the shell by then (on a busy machine
      // it may not have, which only weakens the check).
      Sleep(1000);
      EXPECT_TRUE(Answers(tessaly.Window(), WM_NULL)) << "the program answers while the shell hangs";
      // The call that hangs gives up after kShellAnswerMs; the rest is margin.
      HWND box = tessaly.WaitForDialog("エラー", 20000);
      const ULONGLONG took = GetTickCount64() - start;
      ASSERT_NE(box, nullptr) << "no failure reported within 20 s";
      std::printf("Save against a hung shell failed after %llu ms\n", took);
      EXPECT_EQ(MessageBoxText(box), "アイコン位置の取得に失敗しました");
      EXPECT_TRUE(Answers(tessaly.Window(), WM_NULL));
      EXPECT_EQ(ReadBytes(CurrentLayoutFile()), stored);
      PressOk(box);
    }
    // The shell answers again, and so does the desktop to Tessaly (through
    // the list view while a call the shell never answered is still out).
    ASSERT_TRUE(DeleteFileA(CurrentLayoutFile().c_str()));
    ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
    EXPECT_TRUE(WaitForFileSettled(CurrentLayoutFile()));
    EXPECT_EQ(ReadLayout(CurrentLayoutFile()), icons);
  }

  Tessaly tessaly;
};

TEST_F(E2eResilience, AnOptionTickedInSettingsSurvivesTheProcessEndingRightAfterOk) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"Notes", 20, 20}, {"Mail", 20, 110}}));
  ASSERT_TRUE(tessaly.Start());
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSettings));
  HWND dialog = tessaly.WaitForDialog("設定");
  ASSERT_NE(dialog, nullptr);
  SendMessageA(GetDlgItem(dialog, kResolutionAutoCapture), BM_CLICK, 0, 0);
  PressOk(dialog);
  ASSERT_TRUE(tessaly.WaitForNoDialog("設定"));
  tessaly.Kill();
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Resolution_AutoCapture"), "true");
}

TEST_F(E2eResilience, ALogOffThatIsCancelledLeavesTheProgramRunning) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"Notes", 20, 20}, {"Mail", 20, 110}}));
  ASSERT_TRUE(tessaly.Start());
  LRESULT mayEnd = 0;
  ASSERT_TRUE(Answers(tessaly.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, &mayEnd));
  EXPECT_EQ(mayEnd, TRUE);
  // Another program refused: the session goes on.
  ASSERT_TRUE(Answers(tessaly.Window(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF));
  // A program that ended would be gone within this; a busy machine only
  // weakens the check.
  Sleep(500);
  EXPECT_TRUE(tessaly.Running());
  EXPECT_TRUE(IsWindow(tessaly.Window()));
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
  EXPECT_TRUE(WaitForFileSettled(CurrentLayoutFile())) << "the program still carries out its commands";
}

// The system may end the process as soon as WM_ENDSESSION has returned.
TEST_F(E2eResilience, ALogOffThatGoesThroughLeavesTheSettingsOnDisk) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"Notes", 20, 20}}));
  ASSERT_TRUE(WriteSettings("[General]\r\nStartRestore=true\r\n"));
  ASSERT_TRUE(tessaly.Start());
  LRESULT mayEnd = 0;
  ASSERT_TRUE(Answers(tessaly.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, &mayEnd));
  EXPECT_EQ(mayEnd, TRUE);
  ASSERT_TRUE(Answers(tessaly.Window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF));
  tessaly.Kill();
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Start_AutoRestore"), "true");
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "StartRestore"), "<absent>");
}

TEST_F(E2eResilience, SaveAgainstAHungShellFailsInTimeAndTheProgramAnswers) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start(testsupport::GridIcons(6)));
  ASSERT_TRUE(tessaly.Start());
  SaveAgainstAHungShell(desktop.View());
}

// A Startup shortcut and a scheduled task start Tessaly at the same moment.
TEST_F(E2eResilience, TwoCopiesStartedTogetherLeaveOneRunning) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"Notes", 20, 20}}));
  for (int round = 1; round <= 5; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    Tessaly first;
    Tessaly second;
    ASSERT_TRUE(first.Start(false));
    ASSERT_TRUE(second.Start(false));
    int exitCode = 0;
    Tessaly* left = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      if (!first.Running()) left = &second;
      if (!second.Running()) left = &first;
      return left != nullptr;
    }));
    Tessaly& ended = left == &first ? second : first;
    ASSERT_TRUE(ended.WaitExit(&exitCode));
    EXPECT_EQ(exitCode, -1);
    HWND window = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (window = FindWindowA("CID_TESSALY", "Pavane")) != nullptr; }));
    // As above: a copy that ended would be gone within this.
    Sleep(500);
    EXPECT_TRUE(left->Running()) << "one copy goes on";
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(left->WaitExit(&exitCode));
  }
}

// The same through the shell's interface: its calls have a time limit too.
// (Last: the prefix then sends the shell's interface to the shell desktop.)
TEST_F(E2eResilience, SaveThroughTheShellsInterfaceAgainstAHungShellFailsInTime) {
  ASSERT_TRUE(testsupport::ShellDesktop::ServeShellInterface());
  testsupport::ShellDesktop desktop;
  ASSERT_TRUE(desktop.Start(std::vector<std::string>{"notes.txt", "mail.txt"}));
  ASSERT_TRUE(tessaly.Start());
  SaveAgainstAHungShell(testsupport::DesktopProcess::FindView());
  EXPECT_EQ(desktop.ForeignMoves(), 0);
}

}  // namespace
}  // namespace e2e
