#include "engine/shell_call_thread_win.h"

#include <objbase.h>

#include "engine/shell_route_win.h"

ShellCallThread& ShellCallThread::Get() {
  static ShellCallThread* const thread = new ShellCallThread;  // never destroyed
  return *thread;
}

bool ShellCallThread::Start() {
  if (thread_) return true;
  wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  done_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  answered_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (wake_ && done_ && answered_) thread_ = CreateThread(nullptr, 0, Main, this, 0, nullptr);
  return thread_ != nullptr;
}

DWORD WINAPI ShellCallThread::Main(void* self) {
  auto* calls = static_cast<ShellCallThread*>(self);
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  for (;;) {
    WaitForSingleObject(calls->wake_, INFINITE);
    const unsigned work = calls->started_;
    calls->work_();
    calls->work_ = nullptr;
    calls->finished_ = work;
    SetEvent(calls->done_);
  }
}

bool ShellCallThread::Run(std::function<void()> work) {
  if (started_ != finished_ || !Start()) return false;
  ResetEvent(answered_);
  work_ = std::move(work);
  const unsigned mine = ++started_;
  SetEvent(wake_);
  HANDLE events[] = {done_, answered_};
  ULONGLONG lastAnswer = GetTickCount64();
  for (;;) {
    const ULONGLONG waited = GetTickCount64() - lastAnswer;
    if (waited >= kShellAnswerMs) return false;
    const DWORD woken = MsgWaitForMultipleObjectsEx(2, events, static_cast<DWORD>(kShellAnswerMs - waited),
                                                    QS_SENDMESSAGE, 0);
    if (woken == WAIT_OBJECT_0) {
      // Also signalled, once, by the end of a work given up on earlier.
      if (finished_ == mine) return true;
    } else if (woken == WAIT_OBJECT_0 + 1) {
      lastAnswer = GetTickCount64();
    } else if (woken == WAIT_OBJECT_0 + 2) {
      // Handles the messages sent to this thread, and nothing else.
      MSG message;
      PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    } else if (woken != WAIT_TIMEOUT) {
      return false;
    }
  }
}
