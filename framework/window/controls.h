// Wrappers of the dialog controls the program uses.  Each is bound to its
// dialog item with AttachDlgItem and sends the control's messages.
#pragma once

#include <windows.h>

#include "framework/window/window_handle.h"

// A static text; its text is set with SetWindowTextA on `window`.
class CStatic : public CControl {};

class CButton : public CControl {
 public:
  // Shows the icon resource `iconId` (16 x 16) of the wrapper's instance on
  // the button; returns whether the button took it.
  bool SetIcon(int iconId);
};

class CCheckBox : public CControl {
 public:
  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
  int GetCheck();
  LRESULT SetCheck(int state);
  // True for BST_CHECKED only, not for an indeterminate box.
  bool IsChecked();
  LRESULT SetChecked(BOOL checked);
};

class CEdit : public CControl {
 public:
  LRESULT SetSel(int start, int end);
  // Copies the selection to the clipboard.
  LRESULT Copy();
};
