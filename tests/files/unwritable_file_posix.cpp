#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "tests/files/temp_folder.h"
#include "tests/files/unwritable_file.h"

namespace testfiles {

namespace {

// Takes from the calling thread alone, for good, the capabilities that let
// root write, read and own files regardless of their permissions.  Dropped
// from the permitted set as well: access() checks root against that set.
bool DropPermissionOverrides(std::string* why) {
  __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
  if (syscall(SYS_capget, &header, data) != 0) {
    *why = std::string("capget: ") + std::strerror(errno);
    return false;
  }
  const __u32 overrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
  data[0].effective &= ~overrides;
  data[0].permitted &= ~overrides;
  data[0].inheritable &= ~overrides;
  if (syscall(SYS_capset, &header, data) != 0) {
    *why = std::string("capset: ") + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

bool WithUnwritableFile(const std::string& path, const std::function<void()>& checks, std::string* why) {
  const std::string native = TempFolder::NativePath(path);
  struct stat info;
  if (::stat(native.c_str(), &info) != 0) {
    *why = native + ": " + std::strerror(errno);
    return false;
  }
  if (::chmod(native.c_str(), info.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) != 0) {
    *why = "chmod: " + std::string(std::strerror(errno));
    return false;
  }
  bool ran = false;
  std::thread restricted([&] {
    if (!DropPermissionOverrides(why)) return;
    int fd = ::open(native.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0) {
      ::close(fd);
      *why = "the file can still be written";
      return;
    }
    checks();
    ran = true;
  });
  restricted.join();
  ::chmod(native.c_str(), info.st_mode);
  return ran;
}

}  // namespace testfiles
