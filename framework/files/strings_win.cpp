#include <windows.h>

#include "framework/files/strings.h"

namespace {

// The system's code page does not change while the program runs: its lead
// bytes are asked once.
struct LeadBytes {
  LeadBytes() {
    for (int byte = 0; byte < 256; ++byte) lead[byte] = IsDBCSLeadByte(static_cast<BYTE>(byte)) ? 1 : 0;
  }
  unsigned char lead[256];
};

}  // namespace

int IsLeadByte(unsigned char byte) {
  static const LeadBytes bytes;
  return bytes.lead[byte];
}
