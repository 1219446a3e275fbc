#include "framework/window/controls.h"

// BM_SETIMAGE answers with the image the button had before, null the first
// time, so success is read back from the button instead.
bool CButton::SetIcon(int iconId) {
  HANDLE icon = LoadImageA(instance, MAKEINTRESOURCEA(iconId & 0xFFFF), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR);
  if (!icon) return false;
  SendMessageA(window, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  bool taken = reinterpret_cast<HANDLE>(SendMessageA(window, BM_GETIMAGE, IMAGE_ICON, 0)) == icon;
  if (!taken) DestroyIcon(static_cast<HICON>(icon));
  return taken;
}

int CCheckBox::GetCheck() { return static_cast<int>(SendMessageA(window, BM_GETCHECK, 0, 0)); }

LRESULT CCheckBox::SetCheck(int state) { return SendMessageA(window, BM_SETCHECK, state, 0); }

bool CCheckBox::IsChecked() { return GetCheck() == BST_CHECKED; }

LRESULT CCheckBox::SetChecked(BOOL checked) { return SendMessageA(window, BM_SETCHECK, checked ? 1 : 0, 0); }

LRESULT CEdit::SetSel(int start, int end) { return SendMessageA(window, EM_SETSEL, start, end); }

LRESULT CEdit::Copy() { return SendMessageA(window, WM_COPY, 0, 0); }
