// How the program's paths meet a POSIX system (used by the *_posix.cpp
// backends only).
//
// The program writes its paths as on Windows: narrow code page 932 bytes with
// a backslash between components ("%s\%s").  On POSIX systems the framework
// keeps that form at every interface: a backslash at a character start is the
// separator (a slash is accepted too), a path that begins with a backslash
// starts at the root "/", and there are no drive letters ("C:" is an ordinary
// name).  The bytes of a name are kept as they are, so a two-byte character
// whose second byte is 0x5C stays part of its name.  The only place the form
// changes is the call into the system, through these two functions.
#pragma once

#include <string>

namespace systempath {

// Program form to the system's form: each backslash at a character start
// becomes "/".
std::string ToSystem(const char* path);
// The system's form to program form: each "/" becomes a backslash.
std::string FromSystem(const char* path);

}  // namespace systempath
