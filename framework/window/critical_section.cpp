#include "framework/window/critical_section.h"

#include <cstdlib>
#include <cstring>

#include "framework/window/mersenne_twister.h"

namespace {

struct Draw {
  uint32_t value[4];
};

Draw DrawFour(CMersenneTwister& generator) {
  Draw draw;
  for (uint32_t& v : draw.value) v = generator.GenRandInt32();
  return draw;
}

// The last value drawn comes first in the name.
void FormatName(char* buffer, const SYSTEMTIME& time, const Draw& draw) {
  wsprintfA(buffer, "CCriticalSection_Time%.4u%.2u%.2u%.2u%.2u%.2u%.3u_ID%08X%08X%08X%08X", time.wYear, time.wMonth,
            time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds, draw.value[3], draw.value[2],
            draw.value[1], draw.value[0]);
}

// A name made of the local time and random numbers that no event has yet.
void MakeUnusedName(char* buffer) {
  SYSTEMTIME time;
  GetLocalTime(&time);
  uint32_t key[8] = {
      static_cast<uint32_t>(time.wMonth) * time.wYear,
      static_cast<uint32_t>(time.wHour) * time.wDay,
      static_cast<uint32_t>(time.wSecond) * time.wMinute,
      time.wMilliseconds,
  };
  for (int i = 4; i < 8; ++i) key[i] = static_cast<uint32_t>(std::rand());
  CMersenneTwister generator;
  generator.InitByArray(key, 8);
  FormatName(buffer, time, DrawFour(generator));
  while (HANDLE existing = OpenEventA(EVENT_MODIFY_STATE, FALSE, buffer)) {
    CloseHandle(existing);
    FormatName(buffer, time, DrawFour(generator));
  }
}

}  // namespace

CCriticalSection::CCriticalSection(const char* name) { Create(name); }

CCriticalSection::~CCriticalSection() { Close(); }

bool CCriticalSection::Create(const char* name) {
  Close();
  char buffer[kMaxName + 1];
  if (name) {
    size_t length = std::strlen(name);
    if (length > kMaxName) return false;
    std::memcpy(buffer, name, length + 1);
  } else {
    MakeUnusedName(buffer);
  }
  event_ = CreateEventA(nullptr, FALSE, TRUE, buffer);
  if (event_) name_ = buffer;
  return event_ != nullptr;
}

bool CCriticalSection::Lock() {
  if (!event_) return false;
  return WaitForSingleObject(event_, INFINITE) == WAIT_OBJECT_0;
}

BOOL CCriticalSection::Unlock() { return event_ ? SetEvent(event_) : FALSE; }

DWORD CCriticalSection::Probe(DWORD timeout) {
  if (!event_) return WAIT_FAILED;
  DWORD status = WaitForSingleObject(event_, timeout);
  if (status == WAIT_OBJECT_0) SetEvent(event_);
  return status;
}

// The handle is forgotten as well as closed, so that a later Close or the
// destructor cannot close a handle that by then belongs to someone else.
bool CCriticalSection::Close() {
  if (event_) {
    CloseHandle(event_);
    event_ = nullptr;
  }
  name_.clear();
  return true;
}
