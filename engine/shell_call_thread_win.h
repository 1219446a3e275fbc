// Calls into the shell's process through COM on a thread of their own
// (Windows only).  COM gives no way to bound the wait for a call from the
// program's thread: a shell that stops answering would hold the program, its
// tray icon and its windows, for as long as it hangs.  So the calls run on a
// second thread, in a multithreaded apartment, one piece of work at a time,
// and the program's thread waits for them: it handles the messages sent to
// it meanwhile (as during SendMessage), no posted ones, and gives up when
// kShellAnswerMs pass without a call returning.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

class ShellCallThread {
 public:
  // The thread lives as long as the process: at exit it may still be waiting
  // for a shell that never answered.
  static ShellCallThread& Get();

  // Runs `work` on the thread and waits for it.  `work` calls Answered()
  // after every call into the shell.  True when it ran to its end; false when
  // the shell did not answer in time (the thread is then left to its call,
  // and every Run fails at once until that call has returned) or another
  // Run is under way.  `work` must not refer to the caller's locals: it may
  // run on after the caller has given up.
  bool Run(std::function<void()> work);

  // From the work: a call into the shell has returned.
  void Answered() { SetEvent(answered_); }

 private:
  ShellCallThread() = default;
  bool Start();
  static DWORD WINAPI Main(void* self);

  HANDLE thread_ = nullptr;
  HANDLE wake_ = nullptr;      // work is waiting
  HANDLE done_ = nullptr;      // the work ran to its end
  HANDLE answered_ = nullptr;  // a call of the work returned
  std::function<void()> work_;
  // Works handed out and works ended: the thread is free when they are equal.
  std::atomic<unsigned> started_{0};
  std::atomic<unsigned> finished_{0};
};
