#include "framework/window/menu.h"

HMENU CMenu::Load(HINSTANCE instance, int resourceId) {
  menu = LoadMenuA(instance, MAKEINTRESOURCEA(resourceId & 0xFFFF));
  return menu;
}

HMENU CMenu::AttachWindowMenu(HWND window) {
  menu = GetMenu(window);
  return menu;
}

HMENU CMenu::GetSubMenu(int position) const { return ::GetSubMenu(menu, position); }

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, int reserved, HWND owner, const RECT* rectangle) const {
  return ::TrackPopupMenu(menu, flags, x, y, reserved, owner, rectangle);
}

BOOL CMenu::SetDefaultItem(UINT item, UINT byPosition) const { return SetMenuDefaultItem(menu, item, byPosition); }

// The handle is forgotten so that a second Destroy cannot destroy a menu that
// has since been given the same handle.
BOOL CMenu::Destroy() {
  if (!menu) return FALSE;
  BOOL destroyed = DestroyMenu(menu);
  menu = nullptr;
  return destroyed;
}

int CMenu::EnableItem(UINT item, UINT flags) const { return EnableMenuItem(menu, item, flags); }

BOOL CMenu::RemoveItem(UINT position, UINT flags) const { return RemoveMenu(menu, position, flags); }

BOOL CMenu::DeleteItem(UINT position, UINT flags) const { return DeleteMenu(menu, position, flags); }

BOOL CMenu::InsertItem(UINT item, BOOL byPosition, const MENUITEMINFOA& info) const {
  return InsertMenuItemA(menu, item, byPosition, &info);
}

BOOL CMenu::SetItemInfo(UINT item, BOOL byPosition, const MENUITEMINFOA& info) const {
  return SetMenuItemInfoA(menu, item, byPosition, &info);
}

BOOL CMenu::SetItemInfo(UINT item, BOOL byPosition, const MENUITEMINFOW& info) const {
  return SetMenuItemInfoW(menu, item, byPosition, &info);
}

DWORD CMenu::CheckItem(UINT item, UINT flags) const { return CheckMenuItem(menu, item, flags); }
