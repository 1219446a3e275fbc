#include "app/tray_menu.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/about_dialog.h"
#include "app/app_state.h"
#include "app/automatic_options.h"
#include "app/desktop_watch.h"
#include "app/kept_layouts.h"
#include "app/layout_commands.h"
#include "app/shell_state.h"
#include "app/settings_dialog.h"
#include "app/texts_win.h"
#include "app/undo.h"
#include "framework/window/dialog.h"
#include "framework/window/menu.h"
#include "resources/resource.h"

namespace {

bool IsClick(LPARAM mouseMessage) {
  return mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_LBUTTONDBLCLK || mouseMessage == WM_RBUTTONDOWN ||
         mouseMessage == WM_RBUTTONDBLCLK;
}

// Each dialog in the language of the texts.
INT_PTR RunDialog(flib::CWindow* window, int templateId, DLGPROC procedure) {
  CDialog dialog;
  return dialog.DoModalIndirect(FindLanguageDialog(templateId), MainWindowInstance(), window->window, procedure);
}

// The layouts the menu showed last, by their ID_KEPT_FIRST + number: the
// command of a choice arrives after the menu has closed.
std::vector<KeptLayoutItem> shownLayouts;

// Puts the layouts at hand into the submenu that holds ID_KEPT_MORE, before
// it, with a separator between.
void FillKeptLayouts(const CMenu& popup) {
  shownLayouts = KeptLayoutItems(App());
  HMENU submenu = nullptr;
  for (int i = 0; i < GetMenuItemCount(popup.menu) && !submenu; ++i) {
    HMENU candidate = popup.GetSubMenu(i);
    if (candidate && GetMenuItemID(candidate, 0) == ID_KEPT_MORE) submenu = candidate;
  }
  if (!submenu) return;
  const CMenu kept(submenu);
  UINT at = 0;
  const auto insert = [&kept, &at](UINT type, UINT state, UINT id, const char* text) {
    MENUITEMINFOA info = {sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | (text ? MIIM_STRING : 0u);
    info.fType = type;
    info.fState = state;
    info.wID = id;
    info.dwTypeData = const_cast<char*>(text);
    kept.InsertItem(at++, TRUE, info);
  };
  for (size_t i = 0; i < shownLayouts.size() && ID_KEPT_FIRST + i <= ID_KEPT_LAST; ++i) {
    const KeptLayoutItem& item = shownLayouts[i];
    if (item.separatorBefore) insert(MFT_SEPARATOR, 0, 0, nullptr);
    insert(MFT_STRING, item.enabled ? MFS_ENABLED : MFS_GRAYED, static_cast<UINT>(ID_KEPT_FIRST + i),
           item.label.c_str());
  }
  insert(MFT_SEPARATOR, 0, 0, nullptr);
}

LRESULT OnKeptLayout(UINT id) {
  const size_t number = id - ID_KEPT_FIRST;
  if (number < shownLayouts.size() && !shownLayouts[number].path.empty()) {
    RestoreLayoutFromFile(App(), shownLayouts[number].path);
  }
  return 0;
}

LRESULT OnSettings(flib::CWindow* window) {
  // The template holds an up-down control, whose class comctl32 registers.
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&classes);
  if (RunDialog(window, IDD_SETTINGS, SettingsDlgProc) == 1) OnSettingsApplied(App(), Look());
  return 0;
}

// The item turns the lock on or off; the option goes to Tessaly.ini at once,
// as the Settings dialog's OK does.
LRESULT OnLock() {
  (void)SetLock(App(), Look(), !App().lock.On());
  (void)settings.Save();
  return 0;
}

}  // namespace

LRESULT OnTrayNotify(flib::CWindow* window, WPARAM wParam, LPARAM lParam) {
  if (wParam != static_cast<WPARAM>(kTrayIconId) || !IsClick(lParam)) return 0;
  if (activeDialog) {
    SetForegroundWindow(activeDialog);
    return 0;
  }
  if (lParam == WM_RBUTTONDOWN) {
    POINT point = {};
    GetCursorPos(&point);
    ShowTrayMenu(window, point);
  }
  return 0;
}

void ShowTrayMenu(flib::CWindow* window, POINT point) {
  CMenu menu(LoadLanguageMenu(IDR_TRAYMENU));
  CMenu popup(menu.GetSubMenu(0));
  // Greyed while there is no restore to undo.
  if (!CanUndo(App())) popup.EnableItem(ID_UNDO, MF_BYCOMMAND | MF_GRAYED);
  // Checked while the lock is on; its text says when it holds nothing.
  std::wstring lockText = LoadText(LockMenuText(App().lock.State()));
  MENUITEMINFOW lock = {sizeof lock};
  lock.fMask = MIIM_STATE | MIIM_STRING;
  lock.fState = App().lock.On() ? MFS_CHECKED : MFS_UNCHECKED;
  lock.dwTypeData = &lockText[0];
  popup.SetItemInfo(ID_LOCK, FALSE, lock);
  FillKeptLayouts(popup);
  SetForegroundWindow(window->window);
  popup.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, 0, window->window, nullptr);
  menu.Destroy();
}

LRESULT OnCommand(flib::CWindow* window, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case ID_SAVE:
      return SaveDefaultLayout(App());
    case ID_RESTORE:
      return RestoreDefaultLayout(App());
    case ID_SAVE_AS:
      return SaveLayoutAs(App());
    case ID_RESTORE_FROM:
      return RestoreLayoutFrom(App());
    case ID_KEPT_MORE:
      return RestoreLayoutFrom(App(), KeptLayoutsFolder(App()));
    case ID_UNDO:
      // A failure is not told: the item is greyed when there is nothing to
      // undo, and a restore that finds no desktop is silent too.
      (void)UndoRestore(App());
      return 0;
    case ID_LOCK:
      return OnLock();
    case ID_SETTINGS:
      return OnSettings(window);
    case ID_ABOUT:
      RunDialog(window, IDD_ABOUT, AboutDlgProc);
      return 0;
    case ID_EXIT:
      PostQuitMessage(0);
      return 0;
    default:  // ID_CLOSE_MENU and anything else
      if (LOWORD(wParam) >= ID_KEPT_FIRST && LOWORD(wParam) <= ID_KEPT_LAST) return OnKeptLayout(LOWORD(wParam));
      return 0;
  }
}
