// Any bytes as Tessaly.ini: every read the program makes answers, twice the
// same, and the text engine's written form is stable (formatting what it
// wrote, once re-formed, changes nothing).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/files/profile.h"
#include "framework/files/profile_text.h"

#define CHECK(condition) \
  do {                   \
    if (!(condition)) std::abort(); \
  } while (0)

namespace {

std::string ProfilePath() {
  static std::string path = [] {
    char pattern[] = "/tmp/tessaly-profile-fuzz-XXXXXX";
    int fd = mkstemp(pattern);
    if (fd >= 0) close(fd);
    return std::string(pattern);
  }();
  return path;
}

// The reads of the settings load and of a layout file load.
std::string ReadAll(const char* path) {
  std::string answers;
  CProfile profile;
  if (!profile.Open(path, 1, 0)) return "not opened";
  for (const char* key : {"Start_AutoRestore", "Resolution_AutoRestore", "Resolution_AutoCapture", "StartRestore",
                          "AutoRestore"}) {
    answers += std::to_string(profile.GetBool("General", key, 0)) + ",";
  }
  char buffer[2048];
  profile.GetString("QVD-Fomat", "Version", "", buffer, sizeof buffer);
  answers += std::string(buffer) + "|";
  int count = profile.GetInt("QVD-Data", "IconCount", 0);
  answers += std::to_string(count) + "|";
  for (int i = 0; i < 4; ++i) {
    char key[32];
    std::snprintf(key, sizeof key, "IconName_%d", i);
    int placed = profile.GetString("QVD-Data", key, "", buffer, sizeof buffer);
    CHECK(placed >= 0 && placed < static_cast<int>(sizeof buffer) && buffer[placed] == '\0');
    answers += std::string(buffer) + ";";
    std::snprintf(key, sizeof key, "IconPosX_%d", i);
    answers += std::to_string(profile.GetInt("QVD-Data", key, 0)) + ";";
  }
  profile.Close();
  return answers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string path = ProfilePath();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);

  std::string first = ReadAll(path.c_str());
  CHECK(ReadAll(path.c_str()) == first);

  // A line with nothing before a NUL is written back as an empty line, as
  // the system writes it, and is gone from the next written form.
  ProfileText text = ProfileText::Parse(ProfileText::Parse(bytes).Format());
  std::string formatted = text.Format();
  CHECK(ProfileText::Parse(formatted).Format() == formatted);
  char small[4];
  int placed = text.Get("General", "Start_AutoRestore", "false", small, sizeof small);
  CHECK(placed >= 0 && placed < 4 && small[placed] == '\0');
  text.Set("General", "Resolution_AutoCapture", "true");
  CHECK(ProfileText::Parse(text.Format()).Get("General", "Resolution_AutoCapture", "", small, sizeof small) == 3);
  return 0;
}
