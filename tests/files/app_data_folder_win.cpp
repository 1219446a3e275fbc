#include <cstdlib>
#include <string>

#include "tests/files/app_data_folder.h"

namespace testfiles {

ScopedAppDataFolder::ScopedAppDataFolder(const std::string&) {}

ScopedAppDataFolder::~ScopedAppDataFolder() = default;

void SetEnvironment(const char* name, const char* value) {
  _putenv_s(name, value != nullptr ? value : "");
}

}  // namespace testfiles
