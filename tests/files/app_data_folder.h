// Points the application-data folder at a test's own folder where the
// system allows it (elsewhere than Windows: $XDG_CONFIG_HOME); restores the
// previous setting at the end.  On Windows the folder is the user's real
// one, and Redirected() is false.
#pragma once

#include <string>

namespace testfiles {

class ScopedAppDataFolder {
 public:
  // `folder` in the program's form.
  explicit ScopedAppDataFolder(const std::string& folder);
  ~ScopedAppDataFolder();
  ScopedAppDataFolder(const ScopedAppDataFolder&) = delete;
  ScopedAppDataFolder& operator=(const ScopedAppDataFolder&) = delete;

  bool Redirected() const { return redirected; }

 private:
  bool redirected = false;
  bool hadValue = false;
  std::string previous;
};

// Sets (value non-null) or removes an environment variable of this process.
void SetEnvironment(const char* name, const char* value);

}  // namespace testfiles
