// COM initialisation for the user-interface thread, done once.
#pragma once

#include <windows.h>

namespace flib {

// Calls CoInitialize the first time and, when that succeeded with S_OK,
// remembers it: later calls return S_OK without calling it again.  Any other
// result is returned and not remembered, so the next call tries again.
HRESULT InitializeCom();

// Calls CoUninitialize when InitializeCom's success is remembered, and
// forgets it.  Runs by itself at exit when still needed.
void UninitializeCom();

}  // namespace flib
