#include "framework/window/layered_window.h"

namespace flib {

namespace {

using SetAttributesFunction = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using UpdateFunction = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

// user32.dll stays loaded from static initialisation to static destruction.
struct LayeredFunctions {
  HMODULE user32 = nullptr;
  SetAttributesFunction setAttributes = nullptr;
  UpdateFunction update = nullptr;
  bool available = false;

  LayeredFunctions() {
    user32 = LoadLibraryA("user32.dll");
    if (!user32) return;
    setAttributes =
        reinterpret_cast<SetAttributesFunction>(reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
    update = reinterpret_cast<UpdateFunction>(reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")));
    available = setAttributes && update;
  }
  ~LayeredFunctions() {
    if (user32) FreeLibrary(user32);
  }
};

LayeredFunctions layered;

}  // namespace

bool LayeredWindowsAvailable() { return layered.available; }

BOOL SetLayeredAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
  return layered.setAttributes ? layered.setAttributes(window, key, alpha, flags) : 0;
}

BOOL UpdateLayered(HWND window, HDC screen, POINT* position, SIZE* size, HDC source, POINT* sourcePosition,
                   COLORREF key, BLENDFUNCTION* blend, DWORD flags) {
  return layered.update ? layered.update(window, screen, position, size, source, sourcePosition, key, blend, flags)
                        : 0;
}

}  // namespace flib
