// The framework's lock: a named auto-reset event, so that it works across
// threads and, under the same name, across the processes of a logon session.
#pragma once

#include <windows.h>

#include <string>

// Signalled means free, non-signalled means held.  The lock has no owner:
// anyone holding a handle to the event may release it, and a second Lock by
// the holder waits like anyone else's (it is not re-entrant).
class CCriticalSection {
 public:
  // Creates or opens the lock; see Create.  The result is not reported: a lock
  // without an event fails every operation at once.
  explicit CCriticalSection(const char* name = nullptr);
  CCriticalSection(const CCriticalSection&) = delete;
  CCriticalSection& operator=(const CCriticalSection&) = delete;
  ~CCriticalSection();

  // Creates the event under `name`, or opens it when it exists (keeping its
  // state).  Without a name, makes one up from the local time and four random
  // numbers that no event uses yet: "CCriticalSection_Time" + 17 digits of
  // local time + "_ID" + 32 upper-case hexadecimal digits.  Names longer than
  // kMaxName are refused.  Returns whether the lock has an event; a handle
  // held before is closed first.
  bool Create(const char* name);
  // Waits without limit until the lock is free and takes it.
  bool Lock();
  BOOL Unlock();
  // Waits up to `timeout` ms for the lock; when it was free, gives it back at
  // once.  Returns WAIT_OBJECT_0 (free), WAIT_TIMEOUT (held throughout) or
  // WAIT_FAILED.
  DWORD Probe(DWORD timeout);
  // Closes the event handle; the lock then fails every operation.
  bool Close();

  HANDLE GetEvent() const { return event_; }
  // The name under which the event was created; empty when it was not.
  const std::string& GetName() const { return name_; }

  static constexpr size_t kMaxName = 1023;

 private:
  HANDLE event_ = nullptr;
  std::string name_;
};
