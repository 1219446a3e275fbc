// The workload of the profile benchmarks: a layout as the layout writer
// stores it, 1 + 3n values (the icon count, then a name and two coordinates
// per icon), written into a fresh file and read back.
#pragma once

#include <cstdio>
#include <string>

#include "framework/files/profile.h"

namespace benchfiles {

inline int LayoutValueCount(int icons) { return 1 + 3 * icons; }

// Writes the layout of `icons` icons; false when a write failed.
inline bool WriteLayoutProfile(const std::string& path, int icons) {
  CProfile profile;
  if (profile.Open(path.c_str(), 0, 1) != 1) return false;
  bool ok = profile.WriteInt("QVD-Data", "IconCount", icons) != 0;
  char key[32], name[64];
  for (int i = 0; i < icons && ok; ++i) {
    std::snprintf(key, sizeof key, "IconName_%d", i);
    std::snprintf(name, sizeof name, "アイコン %d.lnk", i);
    ok = profile.WriteString("QVD-Data", key, name) != 0;
    std::snprintf(key, sizeof key, "IconPosX_%d", i);
    ok = ok && profile.WriteInt("QVD-Data", key, (i % 20) * 75) != 0;
    std::snprintf(key, sizeof key, "IconPosY_%d", i);
    ok = ok && profile.WriteInt("QVD-Data", key, (i / 20) * 90) != 0;
  }
  return ok;
}

// Reads the layout back; returns a checksum so that nothing is optimised away
// (-1 when the file does not hold what was written).
inline long ReadLayoutProfile(const std::string& path, int icons) {
  CProfile profile;
  if (profile.Open(path.c_str(), 1, 0) != 1) return -1;
  if (profile.GetInt("QVD-Data", "IconCount", -1) != icons) return -1;
  long sum = 0;
  char key[32], name[1024];
  for (int i = 0; i < icons; ++i) {
    std::snprintf(key, sizeof key, "IconName_%d", i);
    sum += profile.GetString("QVD-Data", key, "", name, sizeof name);
    std::snprintf(key, sizeof key, "IconPosX_%d", i);
    sum += profile.GetInt("QVD-Data", key, 0);
    std::snprintf(key, sizeof key, "IconPosY_%d", i);
    sum += profile.GetInt("QVD-Data", key, 0);
  }
  return sum;
}

}  // namespace benchfiles
