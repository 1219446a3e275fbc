// A menu handle and the menu calls on it.
#pragma once

#include <windows.h>

// Holds a menu handle without owning it: destroying the object leaves the
// menu alone; only Destroy destroys it.  Each operation forwards to the Win32
// function of the same purpose and returns its result.
class CMenu {
 public:
  CMenu() = default;
  explicit CMenu(HMENU menu) : menu(menu) {}

  // Loads the menu resource `resourceId` of `instance`; stores and returns it
  // (null when missing).
  HMENU Load(HINSTANCE instance, int resourceId);
  // Takes the menu of `window`; stores and returns it.
  HMENU AttachWindowMenu(HWND window);
  // The submenu at `position`; it belongs to this menu.
  HMENU GetSubMenu(int position) const;
  BOOL TrackPopupMenu(UINT flags, int x, int y, int reserved, HWND owner, const RECT* rectangle) const;
  BOOL SetDefaultItem(UINT item, UINT byPosition) const;
  // Destroys the menu and forgets the handle.
  BOOL Destroy();
  // Returns the item's previous state, or -1 when there is no such item.
  int EnableItem(UINT item, UINT flags) const;
  BOOL RemoveItem(UINT position, UINT flags) const;
  BOOL DeleteItem(UINT position, UINT flags) const;
  BOOL InsertItem(UINT item, BOOL byPosition, const MENUITEMINFOA& info) const;
  BOOL SetItemInfo(UINT item, BOOL byPosition, const MENUITEMINFOA& info) const;
  BOOL SetItemInfo(UINT item, BOOL byPosition, const MENUITEMINFOW& info) const;
  // Returns the item's previous check state, or -1 when there is no such item.
  DWORD CheckItem(UINT item, UINT flags) const;

  HMENU menu = nullptr;
};
