// Windows: the C library opens shared streams and converts text-mode line ends.
#include "framework/files/text_file_backend.h"

#include <share.h>

namespace textfile {

FILE* OpenShared(const char* name, const char* mode) { return _fsopen(name, mode, _SH_DENYNO); }

FILE* OpenSharedW(const wchar_t* name, const wchar_t* mode) { return _wfsopen(name, mode, _SH_DENYNO); }

bool NeedsLineEndTranslation(const char*) { return false; }

bool NeedsLineEndTranslationW(const wchar_t*) { return false; }

}  // namespace textfile
