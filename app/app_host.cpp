#include "app/app_host.h"

#include "engine/layout_file.h"

bool AppHost::DefaultLayoutPath(std::string& path) {
  char buffer[1024] = {};
  if (GetLayoutFilePath("default", buffer) != 1) return false;
  path = buffer;
  return true;
}

std::string AppHost::ResolutionTag() {
  char buffer[1024] = {};
  GetResolutionTag(buffer);
  return buffer;
}
