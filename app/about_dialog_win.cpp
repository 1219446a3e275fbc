#include "app/about_dialog.h"

#include <shellapi.h>

#include "app/shell_state.h"
#include "hook/sorrel_contract.h"
#include "framework/window/controls.h"
#include "framework/window/dialog.h"
#include "resources/resource.h"
#include "tessaly_version.h"

namespace {

// Bound anew each time the dialog opens; stale while it is closed.
CStatic versionText;
CStatic makerText;
CButton homePageButton;
CButton mailButton;
CDialog* aboutDialog = nullptr;

// The button shows the address; without one it keeps the template's label and
// is disabled.
void BindAddressButton(CButton& button, HWND dialog, int id, const char* address) {
  button.AttachDlgItem(dialog, id);
  if (*address)
    SetWindowTextA(button.window, address);
  else
    EnableWindow(button.window, FALSE);
}

INT_PTR OnInitDialog(HWND dialog, LPARAM lParam) {
  aboutDialog = reinterpret_cast<CDialog*>(lParam);
  activeDialog = dialog;
  char version[1024];
  wsprintfA(version, "%s Ver.%s", kMainWindowTitle, TESSALY_VERSION_TEXT);
  versionText.AttachDlgItem(dialog, IDC_VERSION);
  SetWindowTextA(versionText.window, version);
  makerText.AttachDlgItem(dialog, IDC_MAKER_LINE);
  SetWindowTextA(makerText.window, kMakerCopyright);
  BindAddressButton(homePageButton, dialog, IDC_HOMEPAGE, kMakerHomePage);
  BindAddressButton(mailButton, dialog, IDC_MAILADDRESS, kMakerMailAddress);
  return 1;
}

INT_PTR End(INT_PTR result) {
  activeDialog = nullptr;
  EndDialog(aboutDialog->window, result);
  return 1;
}

// Opens `url` when the build gave the address it is made of.
INT_PTR Open(HWND dialog, const char* address, const char* url) {
  if (*address) ShellExecuteA(dialog, nullptr, url, nullptr, nullptr, SW_SHOWNORMAL);
  return 1;
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDOK:
      return End(1);
    case IDC_HOMEPAGE:
      return Open(dialog, kMakerHomePage, kMakerHomePage);
    case IDC_MAILADDRESS:
      return Open(dialog, kMakerMailAddress, kMakerMailUrl);
    default:
      return 0;
  }
}

}  // namespace

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, lParam);
    case WM_COMMAND:
      return OnCommand(dialog, wParam);
    case WM_CLOSE:
      return End(2);
    default:
      return 0;
  }
}
