// The layered-window functions of user32.dll, looked up by name at start-up
// so that the program also starts where they are missing.
#pragma once

#include <windows.h>

namespace flib {

// Whether both SetLayeredWindowAttributes and UpdateLayeredWindow were found.
bool LayeredWindowsAvailable();

// Forward to the functions of the same names; return 0 when missing.
BOOL SetLayeredAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags);
BOOL UpdateLayered(HWND window, HDC screen, POINT* position, SIZE* size, HDC source, POINT* sourcePosition,
                   COLORREF key, BLENDFUNCTION* blend, DWORD flags);

}  // namespace flib
