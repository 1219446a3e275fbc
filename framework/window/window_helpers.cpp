#include "framework/window/window_helpers.h"

namespace flib {

BOOL CenterWindow(HWND reference, HWND window) {
  RECT outer, inner;
  if (!GetWindowRect(reference, &outer) || !GetWindowRect(window, &inner)) return FALSE;
  int width = inner.right - inner.left;
  int height = inner.bottom - inner.top;
  int x = outer.left + ((outer.right - outer.left) - width) / 2;
  int y = outer.top + ((outer.bottom - outer.top) - height) / 2;
  return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL SetClientSize(HWND window, int width, int height) {
  RECT outer, client;
  if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client)) return FALSE;
  int newWidth = (outer.right - outer.left) - (client.right - client.left) + width;
  int newHeight = (outer.bottom - outer.top) - (client.bottom - client.top) + height;
  return SetWindowPos(window, nullptr, 0, 0, newWidth, newHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT SetWindowFont(CWindowHandle* object, const LOGFONTA& description, BOOL redraw) {
  if (!object) return nullptr;
  HFONT font = CreateFontIndirectA(&description);
  if (!font) return nullptr;
  HFONT previous = object->font;
  object->font = font;
  SendMessageA(object->window, WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw & 0xFFFF, 0));
  if (previous && previous != font) DeleteObject(previous);
  return font;
}

void SetWindowIcons(HWND window, HICON smallIcon, HICON bigIcon) {
  if (smallIcon) SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  if (bigIcon) SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
}

void LoadWindowIcons(HWND window, HINSTANCE instance, int smallId, int bigId) {
  auto load = [instance](int id, int size) {
    return static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(id & 0xFFFF), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  };
  SetWindowIcons(window, load(smallId, 16), load(bigId ? bigId : smallId, 32));
}

}  // namespace flib
