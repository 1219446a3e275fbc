// Bytes made readable in a failure message: CR and LF as \r and \n (a line
// break after the \n, so a file prints a line a line), other control bytes and
// bytes beyond ASCII as \xNN.
#pragma once

#include <cstdio>
#include <string>

namespace testfiles {

inline std::string Escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n\n";
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace testfiles
