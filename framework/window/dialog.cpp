#include "framework/window/dialog.h"

CDialog::~CDialog() { ClearControls(); }

void CDialog::Prepare(int templateId, HINSTANCE instance, HWND parent, DLGPROC dialogProc, LONG_PTR userValue) {
  ClearControls();
  templateId_ = templateId;
  dialogProc_ = dialogProc;
  this->instance = instance;
  this->parent = parent;
  userValue_ = userValue;
}

INT_PTR CDialog::DoModal(int templateId, HINSTANCE instance, HWND parent, DLGPROC dialogProc) {
  return DoModal(templateId, instance, parent, dialogProc, 0);
}

INT_PTR CDialog::DoModal(int templateId, HINSTANCE instance, HWND parent, DLGPROC dialogProc, LONG_PTR userValue) {
  Prepare(templateId, instance, parent, dialogProc, userValue);
  if (!dialogProc) return -1;
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId & 0xFFFF), parent, DialogThunk,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialog::DoModalIndirect(const DLGTEMPLATE* dialogTemplate, HINSTANCE instance, HWND parent,
                                 DLGPROC dialogProc, LONG_PTR userValue) {
  Prepare(0, instance, parent, dialogProc, userValue);
  if (!dialogProc || !dialogTemplate) return -1;
  return DialogBoxIndirectParamW(instance, dialogTemplate, parent, DialogThunk, reinterpret_cast<LPARAM>(this));
}

HWND CDialog::Create(int templateId, HINSTANCE instance, HWND parent, DLGPROC dialogProc) {
  return Create(templateId, instance, parent, dialogProc, 0);
}

HWND CDialog::Create(int templateId, HINSTANCE instance, HWND parent, DLGPROC dialogProc, LONG_PTR userValue) {
  Prepare(templateId, instance, parent, dialogProc, userValue);
  if (!dialogProc) return nullptr;
  return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId & 0xFFFF), parent, DialogThunk,
                            reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDialog::DialogThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* self = reinterpret_cast<CDialog*>(lParam);
  self->window = dialog;
  SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(self->dialogProc_));
  return self->dialogProc_(dialog, WM_INITDIALOG, wParam, lParam);
}

CWindowHandle* CDialog::GetControl(int controlId) {
  std::unique_ptr<CWindowHandle>& control = controls_[controlId];
  if (!control) control = std::make_unique<CWindowHandle>(window ? GetDlgItem(window, controlId) : nullptr);
  return control.get();
}

void CDialog::ClearControls() { controls_.clear(); }
