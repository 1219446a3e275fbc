// Small helpers of the framework that work on a window handle: placement,
// client size, font and icons.
#pragma once

#include <windows.h>

#include "framework/window/window_handle.h"

namespace flib {

// Moves `window`, keeping its size, so that its rectangle is centred on the
// rectangle of `reference`.
BOOL CenterWindow(HWND reference, HWND window);

// Resizes `window`, keeping its position, so that its client area becomes
// width x height.
BOOL SetClientSize(HWND window, int width, int height);

// Creates the font, gives it to the object's window with WM_SETFONT (redraw
// when `redraw` is non-zero) and keeps it in the object, which owns it from
// then on; a font the object held before is deleted once the window has the
// new one.  Returns the font, or null (and changes nothing) when it cannot be
// created.
HFONT SetWindowFont(CWindowHandle* object, const LOGFONTA& description, BOOL redraw);

// Sets the window's small and big icons; a null icon is left as it is.  The
// caller keeps the icons alive as long as the window shows them.
void SetWindowIcons(HWND window, HICON smallIcon, HICON bigIcon);

// Loads the icons from the icon resource `smallId` (16 x 16) and `bigId`
// (32 x 32; 0 takes `smallId` again) of `instance` and sets them.
void LoadWindowIcons(HWND window, HINSTANCE instance, int smallId, int bigId = 0);

}  // namespace flib
