// Any bytes as Tessaly.ini: every read the program makes answers, twice the
// same, and the text engine's written form is stable (formatting what it
// wrote, once re-formed, changes nothing).  The settings load takes each
// option as 0 or 1, and a save over the same bytes is read back as saved.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/settings.h"
#include "framework/files/profile.h"
#include "framework/files/profile_text.h"

#define CHECK(condition) \
  do {                   \
    if (!(condition)) std::abort(); \
  } while (0)

namespace {

std::string TempPath(const char* tag) {
  char pattern[64];
  std::snprintf(pattern, sizeof pattern, "/tmp/tessaly-profile-fuzz-%s-XXXXXX", tag);
  int fd = mkstemp(pattern);
  if (fd >= 0) close(fd);
  return pattern;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  return std::fclose(f) == 0;
}

// The system's seam, but for the wait for the disk, which would make every
// run take milliseconds and tells nothing here.
class UnflushedFileSeam final : public FileSeam {
 public:
  File* Create(const char* path) override { return real.Create(path); }
  bool Write(File* file, const void* data, size_t size) override { return real.Write(file, data, size); }
  bool Close(File* file) override { return real.Close(file); }
  bool Flush(const char*) override { return true; }
  bool Replace(const char* source, const char* target) override { return real.Replace(source, target); }
  bool Remove(const char* path) override { return real.Remove(path); }

 private:
  FileSeam& real = GetRealFileSeam();
};

bool IsFlag(int option) { return option == 0 || option == 1; }

// Tessaly.ini as the program reads and saves it.
void CheckSettings(const std::string& bytes, const std::string& path, const std::string& saved) {
  static UnflushedFileSeam files;
  AppSettings settings(files);
  CHECK(settings.LoadFrom(path.c_str(), nullptr) == 1);
  CHECK(IsFlag(settings.startAutoRestore) && IsFlag(settings.resolutionAutoRestore) &&
        IsFlag(settings.resolutionAutoCapture));
  if (!WriteBytes(saved, bytes) || settings.SaveTo(saved.c_str()) != 1) return;
  AppSettings reread(files);
  reread.startAutoRestore = 1 - settings.startAutoRestore;
  reread.resolutionAutoRestore = 1 - settings.resolutionAutoRestore;
  reread.resolutionAutoCapture = 1 - settings.resolutionAutoCapture;
  CHECK(reread.LoadFrom(saved.c_str(), nullptr) == 1);
  CHECK(reread.startAutoRestore == settings.startAutoRestore);
  CHECK(reread.resolutionAutoRestore == settings.resolutionAutoRestore);
  CHECK(reread.resolutionAutoCapture == settings.resolutionAutoCapture);
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
  static const std::string path = TempPath("in");
  static const std::string saved = TempPath("saved");
  if (!WriteBytes(path, bytes)) return 0;

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

  CheckSettings(bytes, path, saved);
  return 0;
}
