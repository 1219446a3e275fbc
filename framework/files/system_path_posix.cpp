#include "framework/files/system_path.h"

#include "framework/files/strings.h"

namespace systempath {

std::string ToSystem(const char* path) {
  std::string out(path);
  ReplaceChar(&out[0], '\\', '/');
  return out;
}

std::string FromSystem(const char* path) {
  std::string out(path);
  // A system path holds no two-byte rule of its own: "/" is always a
  // separator there, and 0x2F is never the second byte of a CP932 character.
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

}  // namespace systempath
