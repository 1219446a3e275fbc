// flib::CWindow: registration, the creation thunk and the creation lock.
#include "framework/window/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/window/critical_section.h"

namespace {

using flib::CWindow;

// What the caller's procedure saw, and how it answers.
struct Seen {
  std::vector<UINT> messages;
  std::string ncCreateName;
  void* ncCreateParams = reinterpret_cast<void*>(1);
  int ncCreateWidth = 0;
  LPARAM createParam = 0;
  HWND createWindowField = nullptr;
  HWND createHandle = nullptr;
  DWORD lockOnCreate = 0;  // Probe(0) of the creation lock during WM_CREATE
};

Seen seen;
LRESULT ncCreateAnswer = TRUE;
LRESULT createAnswer = 0;
// When set, the first WM_SIZE takes the creation lock, as another creator
// would between the thunk's release and the end of Create.
CCriticalSection* takeLockOnSize = nullptr;

CCriticalSection& TestersLock() {
  static CCriticalSection lock("flib::CWindow");
  return lock;
}

LRESULT CALLBACK CallerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  seen.messages.push_back(msg);
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      seen.ncCreateName = cs->lpszName ? cs->lpszName : "";
      seen.ncCreateParams = cs->lpCreateParams;
      seen.ncCreateWidth = cs->cx;
      if (!ncCreateAnswer) return FALSE;
      break;
    }
    case WM_CREATE: {
      auto* object = reinterpret_cast<CWindow*>(lParam);
      seen.createParam = lParam;
      seen.createWindowField = object->window;
      seen.createHandle = hwnd;
      seen.lockOnCreate = TestersLock().Probe(0);
      return createAnswer;
    }
    case WM_SIZE:
      if (takeLockOnSize) {
        takeLockOnSize->Lock();
        takeLockOnSize = nullptr;
      }
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    seen = Seen();
    ncCreateAnswer = TRUE;
    createAnswer = 0;
    takeLockOnSize = nullptr;
    // Every class can be created once per process: each test has its own.
    className_ = std::string("TessalyTestWindow_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wc_ = {};
    wc_.cbSize = sizeof wc_;
    wc_.lpfnWndProc = CallerProc;
    wc_.hInstance = GetModuleHandleA(nullptr);
    wc_.lpszClassName = className_.c_str();
  }
  void TearDown() override {
    if (object_.window) DestroyWindow(object_.window);
    EXPECT_EQ(TestersLock().Probe(0), WAIT_OBJECT_0) << "the creation lock was left held";
  }
  HWND Create(LONG_PTR userValue = 0) {
    return object_.Create(0, "Pavane", WS_POPUP, 0, 1, 120, 1, nullptr, nullptr, userValue, &wc_);
  }

  std::string className_;
  WNDCLASSEXA wc_;
  CWindow object_;
};

TEST_F(Window, CreateHandsTheWindowToTheCallersProcedure) {
  HWND window = Create(0x1234);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(object_.window, window);
  EXPECT_EQ(object_.instance, GetModuleHandleA(nullptr));
  EXPECT_EQ(object_.GetUserValue(), 0x1234);

  // Messages before WM_CREATE come through the thunk unchanged.
  ASSERT_FALSE(seen.messages.empty());
  EXPECT_EQ(seen.ncCreateName, "Pavane");
  EXPECT_EQ(seen.ncCreateParams, nullptr);
  EXPECT_EQ(seen.ncCreateWidth, 120);

  // WM_CREATE carries the object, whose window is already set.
  EXPECT_EQ(seen.createParam, reinterpret_cast<LPARAM>(&object_));
  EXPECT_EQ(seen.createWindowField, window);
  EXPECT_EQ(seen.createHandle, window);
  // The lock is held while WM_CREATE runs.
  EXPECT_EQ(seen.lockOnCreate, static_cast<DWORD>(WAIT_TIMEOUT));

  // The window runs on the caller's procedure, the class on the thunk.
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)), CallerProc);
  EXPECT_NE(wc_.lpfnWndProc, CallerProc);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetClassLongPtrA(window, GCLP_WNDPROC)), wc_.lpfnWndProc);

  seen.messages.clear();
  SendMessageA(window, WM_USER + 5, 0, 0);
  EXPECT_EQ(seen.messages, std::vector<UINT>{WM_USER + 5});
}

TEST_F(Window, ASecondCreateOfTheSameClassCreatesNothing) {
  ASSERT_NE(Create(), nullptr);
  seen = Seen();
  CWindow second;
  wc_.lpfnWndProc = CallerProc;
  EXPECT_EQ(second.Create(0, "again", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, 0, &wc_), nullptr);
  EXPECT_EQ(second.window, nullptr);
  EXPECT_TRUE(seen.messages.empty());
}

TEST_F(Window, ALockIsFreeWhenWmCreateRefuses) {
  createAnswer = -1;
  EXPECT_EQ(Create(), nullptr);
  EXPECT_EQ(object_.window, nullptr);
  EXPECT_EQ(seen.lockOnCreate, static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(Window, ALockIsFreeWhenCreationFailsBeforeWmCreate) {
  ncCreateAnswer = FALSE;
  EXPECT_EQ(Create(), nullptr);
  EXPECT_EQ(seen.createParam, 0) << "WM_CREATE should not have come";
}

TEST_F(Window, ALockTakenByAnotherCreatorAfterWmCreateStaysHeld) {
  takeLockOnSize = &TestersLock();
  ASSERT_NE(Create(), nullptr);
  ASSERT_EQ(takeLockOnSize, nullptr) << "no WM_SIZE came after WM_CREATE";
  EXPECT_EQ(TestersLock().Probe(0), static_cast<DWORD>(WAIT_TIMEOUT)) << "Create released someone else's lock";
  TestersLock().Unlock();
}

TEST_F(Window, ADescriptionWithoutAProcedureIsRefused) {
  wc_.lpfnWndProc = nullptr;
  EXPECT_EQ(Create(), nullptr);
  WNDCLASSEXA registered = {sizeof registered};
  EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), className_.c_str(), &registered));
}

}  // namespace
