// lock_helper.exe: a second process for the named-lock tests.
//   lock_helper.exe probe NAME    exits with Probe(0) of the lock NAME
//   lock_helper.exe lock NAME     takes the lock and exits holding it (0)
//   lock_helper.exe unlock NAME   releases the lock (0)
#include <cstring>

#include "framework/window/critical_section.h"

int main(int argc, char** argv) {
  if (argc != 3) return 100;
  CCriticalSection lock(argv[2]);
  if (!lock.GetEvent()) return 101;
  if (std::strcmp(argv[1], "probe") == 0) return static_cast<int>(lock.Probe(0));
  if (std::strcmp(argv[1], "lock") == 0) return lock.Lock() ? 0 : 102;
  if (std::strcmp(argv[1], "unlock") == 0) return lock.Unlock() ? 0 : 103;
  return 100;
}
