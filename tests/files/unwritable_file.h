// A file that this process cannot write, even when it runs as root or as an
// administrator (CI runs as root), for the length of some checks.
#pragma once

#include <functional>
#include <string>

namespace testfiles {

// Makes the existing file at `path` (program form) unwritable, runs `checks`,
// and makes it writable again.  False, with the reason in `why`, when the
// file could not be made unwritable; `checks` have not run then.
//   POSIX: the file loses its write permissions, and `checks` run on a thread
//   of their own that has given up the capabilities by which root writes
//   such a file anyway.
//   Windows: the file takes the read-only attribute and is held open by a
//   second handle that lets others read it, nothing else (Wine lets root
//   write a read-only file).
bool WithUnwritableFile(const std::string& path, const std::function<void()>& checks, std::string* why);

}  // namespace testfiles
