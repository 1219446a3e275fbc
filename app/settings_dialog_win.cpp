#include "app/settings_dialog.h"

#include "app/shell_state.h"
#include "app/startup_shortcut_win.h"
#include "framework/window/controls.h"
#include "framework/window/dialog.h"
#include "resources/resource.h"

namespace {

// Bound anew each time the dialog opens; stale while it is closed.
CCheckBox startAutoRestoreBox;
CCheckBox resolutionAutoRestoreBox;
CCheckBox resolutionAutoCaptureBox;
CCheckBox startAtLogOnBox;
CCheckBox lockBox;
CDialog* settingsDialog = nullptr;

void Bind(CCheckBox& box, HWND dialog, int id, int option) {
  box.AttachDlgItem(dialog, id);
  box.SetCheck(IsOn(option) ? BST_CHECKED : BST_UNCHECKED);
}

int Read(CCheckBox& box) { return box.GetCheck() == BST_CHECKED ? 1 : 0; }

INT_PTR OnInitDialog(HWND dialog, LPARAM lParam) {
  activeDialog = dialog;
  settingsDialog = reinterpret_cast<CDialog*>(lParam);
  Bind(startAutoRestoreBox, dialog, IDC_START_AUTORESTORE, settings.startAutoRestore);
  Bind(resolutionAutoRestoreBox, dialog, IDC_RESOLUTION_AUTORESTORE, settings.resolutionAutoRestore);
  Bind(resolutionAutoCaptureBox, dialog, IDC_RESOLUTION_AUTOCAPTURE, settings.resolutionAutoCapture);
  Bind(lockBox, dialog, IDC_LOCK, settings.lockIcons);
  // Not a setting: the box tells whether the Startup folder starts this
  // Tessaly.exe (the user may have removed the shortcut, or moved the program).
  Bind(startAtLogOnBox, dialog, IDC_START_AT_LOGON, StartsAtLogOn() ? 1 : 0);
  return 1;
}

INT_PTR OnOk() {
  settings.startAutoRestore = Read(startAutoRestoreBox);
  settings.resolutionAutoRestore = Read(resolutionAutoRestoreBox);
  settings.resolutionAutoCapture = Read(resolutionAutoCaptureBox);
  settings.lockIcons = Read(lockBox);
  // On disk before the dialog goes: a tray program is seldom quit from its
  // menu, and the options must not wait for an exit that may never come (a
  // crash, a power cut).  A save that fails leaves the file as it was; the
  // exit tries again.
  (void)settings.Save();
  (void)SetStartAtLogOn(Read(startAtLogOnBox) == 1);
  activeDialog = nullptr;
  EndDialog(settingsDialog->window, 1);
  return 1;
}

INT_PTR OnClose() {
  activeDialog = nullptr;
  EndDialog(settingsDialog->window, 2);
  return 1;
}

}  // namespace

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, lParam);
    case WM_COMMAND:
      return LOWORD(wParam) == IDOK ? OnOk() : 0;
    case WM_CLOSE:
      return OnClose();
    default:
      return 0;
  }
}
