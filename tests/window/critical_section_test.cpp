// The named lock within one process and between two.
#include "framework/window/critical_section.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "tests/support/test_desktop_client.h"

namespace {

// Runs lock_helper.exe with these arguments and returns its exit code.
DWORD RunHelper(const std::string& verb, const std::string& name) {
  std::string command = "\"" + testsupport::ProgramBesideMe("lock_helper.exe") + "\" " + verb + " \"" + name + "\"";
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 999;
  WaitForSingleObject(pi.hProcess, 30000);
  DWORD code = 998;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

std::string UniqueName(const char* tag) {
  return std::string("TessalyTest_") + tag + "_" + std::to_string(GetCurrentProcessId());
}

TEST(CriticalSection, LockUnlockAndProbeInOneProcess) {
  CCriticalSection lock(UniqueName("local").c_str());
  ASSERT_NE(lock.GetEvent(), nullptr);
  EXPECT_EQ(lock.GetName(), UniqueName("local"));

  // Probing a free lock leaves it free.
  EXPECT_EQ(lock.Probe(0), WAIT_OBJECT_0);
  EXPECT_EQ(lock.Probe(0), WAIT_OBJECT_0);
  EXPECT_TRUE(lock.Lock());
  // Not re-entrant: the holder's own probe finds it held, and leaves it so.
  EXPECT_EQ(lock.Probe(0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(lock.Probe(10), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(lock.Unlock());
  EXPECT_EQ(lock.Probe(0), WAIT_OBJECT_0);
}

TEST(CriticalSection, TheSameNameInTwoProcessesIsOneLock) {
  std::string name = UniqueName("shared");
  CCriticalSection lock(name.c_str());
  ASSERT_TRUE(lock.Lock());
  EXPECT_EQ(RunHelper("probe", name), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(RunHelper("probe", name), static_cast<DWORD>(WAIT_TIMEOUT)) << "the first probe freed the lock";
  EXPECT_TRUE(lock.Unlock());
  EXPECT_EQ(RunHelper("probe", name), WAIT_OBJECT_0);
  EXPECT_EQ(lock.Probe(0), WAIT_OBJECT_0) << "the probe kept the lock";

  // Taken by the other process, which ends without giving it back; anyone
  // may release it.
  EXPECT_EQ(RunHelper("lock", name), 0u);
  EXPECT_EQ(lock.Probe(0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(RunHelper("unlock", name), 0u);
  EXPECT_EQ(lock.Probe(0), WAIT_OBJECT_0);
}

bool HasGeneratedForm(const std::string& name) {
  const std::string head = "CCriticalSection_Time";
  if (name.size() != 73 || name.compare(0, head.size(), head) != 0) return false;
  for (size_t i = 21; i < 38; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
  }
  if (name.compare(38, 3, "_ID") != 0) return false;
  for (size_t i = 41; i < 73; ++i) {
    char c = name[i];
    if (!std::isdigit(static_cast<unsigned char>(c)) && !(c >= 'A' && c <= 'F')) return false;
  }
  return true;
}

TEST(CriticalSection, MadeUpNamesHaveTheTimeAndRandomDigitsAndDiffer) {
  CCriticalSection first(nullptr);
  CCriticalSection second(nullptr);
  ASSERT_NE(first.GetEvent(), nullptr);
  EXPECT_TRUE(HasGeneratedForm(first.GetName())) << first.GetName();
  EXPECT_TRUE(HasGeneratedForm(second.GetName())) << second.GetName();
  EXPECT_NE(first.GetName(), second.GetName());

  SYSTEMTIME now;
  GetLocalTime(&now);
  char year[8];
  wsprintfA(year, "%04u", now.wYear);
  EXPECT_EQ(first.GetName().substr(21, 4), year);

  // The two are separate locks.
  ASSERT_TRUE(first.Lock());
  EXPECT_EQ(second.Probe(0), WAIT_OBJECT_0);
  first.Unlock();
}

TEST(CriticalSection, ANameThatBelongsToAnotherKindOfObjectGivesAnInertLock) {
  std::string name = UniqueName("mutex");
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  ASSERT_NE(mutex, nullptr);
  CCriticalSection lock(name.c_str());
  EXPECT_EQ(lock.GetEvent(), nullptr);
  EXPECT_EQ(lock.GetName(), "");
  // Nothing waits.
  EXPECT_FALSE(lock.Lock());
  EXPECT_FALSE(lock.Unlock());
  EXPECT_EQ(lock.Probe(INFINITE), WAIT_FAILED);
  CloseHandle(mutex);
}

TEST(CriticalSection, OverlongNamesAreRefused) {
  // The system itself takes names of up to MAX_PATH characters.
  CCriticalSection fits(std::string(200, 'n').c_str());
  EXPECT_NE(fits.GetEvent(), nullptr);
  CCriticalSection tooLong(std::string(CCriticalSection::kMaxName + 1, 'n').c_str());
  EXPECT_EQ(tooLong.GetEvent(), nullptr);
  EXPECT_EQ(tooLong.Probe(0), WAIT_FAILED);
}

TEST(CriticalSection, CloseForgetsTheHandleSoItIsNotClosedTwice) {
  auto* closed = new CCriticalSection(UniqueName("closed").c_str());
  HANDLE old = closed->GetEvent();
  EXPECT_TRUE(closed->Close());
  EXPECT_EQ(closed->GetEvent(), nullptr);
  EXPECT_EQ(closed->Probe(0), WAIT_FAILED);

  // Handles are reused: another object may now own the same value.
  CCriticalSection other(UniqueName("other").c_str());
  HANDLE event = other.GetEvent();
  ASSERT_NE(event, nullptr);
  if (event != old) GTEST_LOG_(INFO) << "the handle was not reused; the check below is weaker";
  delete closed;
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0) << "the other lock's handle was closed";
  EXPECT_TRUE(other.Unlock());
}

}  // namespace
