// The hook library against the test desktop: the test plays Tessaly (its main
// window "CID_TESSALY" / "Pavane" collects the reports) and the test desktop,
// in its own process, plays the shell.
#include "hook/sorrel.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/window/list_view.h"
#include "tests/support/test_desktop_client.h"

namespace {

using testsupport::TestDesktop;

// The deliverable as Tessaly's folder holds it, its exports looked up by name.
struct SorrelLibrary {
  SorrelLibrary() {
    module = LoadLibraryA(testsupport::DeliverablePath("sorrel_x64.dll").c_str());
    start = reinterpret_cast<SorrelStartFunction>(reinterpret_cast<void*>(GetProcAddress(module, "Sorrel_Start")));
    end = reinterpret_cast<SorrelEndFunction>(reinterpret_cast<void*>(GetProcAddress(module, "Sorrel_End")));
  }
  HMODULE module;
  SorrelStartFunction start;
  SorrelEndFunction end;
};

struct Report {
  WPARAM message;
  LPARAM code;
};

// Marks the end of what a test waits for: the test desktop's second thread
// sends it to the Progman window, whose procedure ignores it, so its report
// comes after the reports of everything done before.
const UINT kSentinel = WM_APP + 0x321;

// Set once any test of this process has started a test desktop: the hook
// library then remembers a view.
bool desktopSeen = false;

// Tessaly's main window as the hook looks it up, recording each report.
class MainWindow {
 public:
  MainWindow() {
    static bool registered = false;
    if (!registered) {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "CID_TESSALY";
      registered = RegisterClassA(&wc) != 0;
    }
    window_ = CreateWindowExA(0, "CID_TESSALY", "Pavane", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~MainWindow() { Destroy(); }
  void Destroy() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
  }
  HWND window() const { return window_; }

  // Pumps messages until a report of `message` arrived; returns the reports
  // received up to and including it (the last one is of `message`), or all
  // of them when it did not come within 20 s.
  std::vector<Report> WaitFor(WPARAM message) {
    DWORD start = GetTickCount();
    for (;;) {
      for (size_t i = 0; i < reports_.size(); ++i) {
        if (reports_[i].message == message) {
          std::vector<Report> taken(reports_.begin(), reports_.begin() + i + 1);
          reports_.erase(reports_.begin(), reports_.begin() + i + 1);
          return taken;
        }
      }
      if (GetTickCount() - start > 20000) return std::move(reports_);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      MSG m;
      while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_USER && self) {
      self->reports_.push_back({wParam, lParam});
      return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }

  HWND window_ = nullptr;
  std::vector<Report> reports_;
};

int CountOf(const std::vector<Report>& reports, WPARAM message) {
  int n = 0;
  for (const Report& r : reports) n += r.message == message ? 1 : 0;
  return n;
}

std::string Describe(const std::vector<Report>& reports) {
  std::string text;
  char line[64];
  for (const Report& r : reports) {
    wsprintfA(line, "  message %u code 0x%08X\n", static_cast<unsigned>(r.message), static_cast<unsigned>(r.code));
    text += line;
  }
  return text;
}

class Hook : public ::testing::Test {
 public:
  static const SorrelLibrary& Library() {
    static SorrelLibrary library;
    return library;
  }

 protected:
  void SetUp() override {
    ASSERT_NE(Library().start, nullptr);
    ASSERT_NE(Library().end, nullptr);
  }
  void TearDown() override { EXPECT_EQ(Hook::Library().end(), 1); }

  bool StartDesktop(testsupport::DesktopHost host = testsupport::DesktopHost::kProgman) {
    desktopSeen = true;
    if (!desktop_.Start(testsupport::GridIcons(2), host)) return false;
    view_.Attach(nullptr, desktop_.View());
    return view_.window != nullptr;
  }
  // Moves an icon from this process, as Tessaly's restore does.
  void MoveFromHere() { view_.SetItemPosition(0, 200, 100); }
  // Everything reported up to the sentinel, the sentinel left out.
  std::vector<Report> ReportsUpToSentinel(MainWindow& main) {
    EXPECT_TRUE(desktop_.Command("sendto progman " + std::to_string(kSentinel) + " 0 0"));
    std::vector<Report> reports = main.WaitFor(kSentinel);
    EXPECT_EQ(CountOf(reports, kSentinel), 1) << "the sentinel never arrived";
    if (!reports.empty() && reports.back().message == kSentinel) reports.pop_back();
    return reports;
  }

  TestDesktop desktop_;
  CListView view_;
};

TEST_F(Hook, AMoveFromAnotherProcessIsReportedWithCodeZero) {
  MainWindow main;
  ASSERT_TRUE(StartDesktop());
  ASSERT_EQ(Hook::Library().start(), 1);
  MoveFromHere();
  std::vector<Report> reports = main.WaitFor(LVM_SETITEMPOSITION);
  ASSERT_EQ(CountOf(reports, LVM_SETITEMPOSITION), 1) << Describe(reports);
  EXPECT_EQ(reports.back().message, 4111u);
  EXPECT_EQ(reports.back().code, 0);
}

TEST_F(Hook, ANotifyFromAnotherThreadIsReportedWithItsCodeZeroExtended) {
  struct Case {
    UINT code;
    LPARAM reported;
  };
  constexpr Case cases[] = {{LVN_DELETEITEM, 0xFFFFFF99}, {LVN_INSERTITEM, 0xFFFFFF9A}, {LVN_ENDLABELEDITA, 0xFFFFFF96}};
  MainWindow main;
  ASSERT_TRUE(StartDesktop());
  ASSERT_EQ(Hook::Library().start(), 1);
  for (const Case& c : cases) {
    ASSERT_TRUE(desktop_.Command("notify " + std::to_string(static_cast<int>(c.code))));
    std::vector<Report> reports = main.WaitFor(WM_NOTIFY);
    ASSERT_EQ(CountOf(reports, WM_NOTIFY), 1) << Describe(reports);
    EXPECT_EQ(reports.back().message, 78u);
    EXPECT_EQ(reports.back().code, c.reported) << "code " << static_cast<int>(c.code);
  }
}

TEST_F(Hook, MessagesTheDesktopThreadSendsItselfAreNotReported) {
  MainWindow main;
  ASSERT_TRUE(StartDesktop());
  ASSERT_EQ(Hook::Library().start(), 1);
  // The second thread asks the desktop's thread (a report of its own) to move
  // an icon itself (no report).
  ASSERT_TRUE(desktop_.Command("mainsend " + std::to_string(LVM_SETITEMPOSITION) + " 1 0x00500050"));
  std::vector<Report> reports = ReportsUpToSentinel(main);
  EXPECT_EQ(CountOf(reports, WM_APP + 1), 1) << Describe(reports);
  EXPECT_EQ(CountOf(reports, LVM_SETITEMPOSITION), 0) << Describe(reports);
  EXPECT_EQ(desktop_.Icons()[1].x, 0x50);
}

TEST_F(Hook, ANotifyWithoutAReadableHeaderIsReportedWithCodeZero) {
  MainWindow main;
  ASSERT_TRUE(StartDesktop());
  ASSERT_EQ(Hook::Library().start(), 1);
  // Sent to the Progman window, which does not read the header itself.
  for (const char* address : {"0", "0x10", "0x7FFFFFFF0000"}) {
    ASSERT_TRUE(desktop_.Command(std::string("sendto progman 78 1 ") + address)) << address;
    std::vector<Report> reports = main.WaitFor(WM_NOTIFY);
    ASSERT_EQ(CountOf(reports, WM_NOTIFY), 1) << address << "\n" << Describe(reports);
    EXPECT_EQ(reports.back().code, 0) << address;
  }
  EXPECT_TRUE(desktop_.Running());
  ASSERT_TRUE(desktop_.Command("notify -103"));
  EXPECT_EQ(main.WaitFor(WM_NOTIFY).back().code, 0xFFFFFF99);
}

TEST_F(Hook, ReportsBeforeTheMainWindowExistsAreDroppedAndLaterOnesArrive) {
  ASSERT_TRUE(StartDesktop());
  ASSERT_EQ(Hook::Library().start(), 1);
  MoveFromHere();  // nobody to report to
  ASSERT_TRUE(desktop_.Command("sendto progman " + std::to_string(kSentinel) + " 0 0"));
  MainWindow main;
  MoveFromHere();
  std::vector<Report> reports = ReportsUpToSentinel(main);
  EXPECT_EQ(CountOf(reports, LVM_SETITEMPOSITION), 1) << Describe(reports);
}

TEST_F(Hook, ANewMainWindowReceivesTheReportsAfterTheOldOneIsGone) {
  ASSERT_TRUE(StartDesktop());
  ASSERT_EQ(Hook::Library().start(), 1);
  {
    MainWindow first;
    MoveFromHere();
    EXPECT_EQ(CountOf(first.WaitFor(LVM_SETITEMPOSITION), LVM_SETITEMPOSITION), 1);
  }
  // Tessaly restarted while the shell kept the library loaded.
  MainWindow second;
  MoveFromHere();
  std::vector<Report> reports = second.WaitFor(LVM_SETITEMPOSITION);
  EXPECT_EQ(CountOf(reports, LVM_SETITEMPOSITION), 1) << Describe(reports);
}

TEST_F(Hook, StartingTwiceLeavesOneHookAndEndRemovesIt) {
  MainWindow main;
  ASSERT_TRUE(StartDesktop());
  ASSERT_EQ(Hook::Library().start(), 1);
  ASSERT_EQ(Hook::Library().start(), 1);
  MoveFromHere();
  std::vector<Report> reports = ReportsUpToSentinel(main);
  EXPECT_EQ(CountOf(reports, LVM_SETITEMPOSITION), 1) << Describe(reports);

  EXPECT_EQ(Hook::Library().end(), 1);
  MoveFromHere();  // not hooked: not reported
  ASSERT_EQ(Hook::Library().start(), 1);
  reports = ReportsUpToSentinel(main);
  EXPECT_EQ(CountOf(reports, LVM_SETITEMPOSITION), 0) << Describe(reports);
}

TEST_F(Hook, EndWithoutStartSucceeds) {
  EXPECT_EQ(Hook::Library().end(), 1);
  EXPECT_EQ(Hook::Library().end(), 1);
}

DWORD WINAPI ReturnAtOnce(void*) { return 0; }

TEST_F(Hook, AThreadEndingInTheTrayProcessLeavesTheHookInPlace) {
  MainWindow main;
  ASSERT_TRUE(StartDesktop());
  ASSERT_EQ(Hook::Library().start(), 1);
  HANDLE thread = CreateThread(nullptr, 0, ReturnAtOnce, nullptr, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  MoveFromHere();
  std::vector<Report> reports = ReportsUpToSentinel(main);
  EXPECT_EQ(CountOf(reports, LVM_SETITEMPOSITION), 1) << Describe(reports);
}

TEST_F(Hook, ARestartedDesktopIsHookedAgain) {
  MainWindow main;
  ASSERT_TRUE(StartDesktop());
  ASSERT_EQ(Hook::Library().start(), 1);
  desktop_.Quit();
  // The view remembered from before has gone with its thread: no thread to
  // hook, and no hook on every thread instead.
  EXPECT_EQ(Hook::Library().start(), 0);

  ASSERT_TRUE(StartDesktop());
  ASSERT_EQ(Hook::Library().start(), 1);
  MoveFromHere();
  std::vector<Report> reports = main.WaitFor(LVM_SETITEMPOSITION);
  EXPECT_EQ(CountOf(reports, LVM_SETITEMPOSITION), 1) << Describe(reports);
}

// The shell's view in a top-level "WorkerW", Progman holding none (a
// wallpaper slideshow): its thread is hooked all the same.
TEST_F(Hook, AViewUnderAWorkerWIsHooked) {
  MainWindow main;
  ASSERT_TRUE(StartDesktop(testsupport::DesktopHost::kWorkerW));
  ASSERT_EQ(TestDesktop::FindView(), nullptr) << "Progman holds a view";
  ASSERT_EQ(Hook::Library().start(), 1);
  MoveFromHere();
  std::vector<Report> reports = ReportsUpToSentinel(main);
  EXPECT_EQ(CountOf(reports, LVM_SETITEMPOSITION), 1) << Describe(reports);
}

// Runs in a process of its own (see CMakeLists.txt): nothing has been found
// before.
TEST(HookWithoutDesktop, StartInstallsNothingWhenNoDesktopViewWasEverFound) {
  if (desktopSeen) GTEST_SKIP() << "needs a process that has never seen a desktop view";
  ASSERT_NE(Hook::Library().start, nullptr);
  ASSERT_EQ(TestDesktop::FindView(), nullptr);
  EXPECT_EQ(Hook::Library().start(), 0);
  EXPECT_EQ(Hook::Library().end(), 1);
}

}  // namespace
