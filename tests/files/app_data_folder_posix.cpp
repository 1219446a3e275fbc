#include <cstdlib>

#include "tests/files/app_data_folder.h"
#include "tests/files/temp_folder.h"

namespace testfiles {

ScopedAppDataFolder::ScopedAppDataFolder(const std::string& folder) {
  if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
    hadValue = true;
    previous = old;
  }
  SetEnvironment("XDG_CONFIG_HOME", TempFolder::NativePath(folder).c_str());
  redirected = true;
}

ScopedAppDataFolder::~ScopedAppDataFolder() { SetEnvironment("XDG_CONFIG_HOME", hadValue ? previous.c_str() : nullptr); }

void SetEnvironment(const char* name, const char* value) {
  if (value != nullptr) ::setenv(name, value, 1);
  else ::unsetenv(name);
}

}  // namespace testfiles
