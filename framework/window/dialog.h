// Dialogs run from a template and handed over to the caller's own dialog
// procedure.
#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "framework/window/window_handle.h"

// Runs a dialog from a template resource.  The dialog thunk lets the dialog
// manager handle everything before WM_INITDIALOG; on WM_INITDIALOG it stores
// the dialog's HWND in `window`, makes the caller's procedure the dialog's own
// and passes WM_INITDIALOG on with lParam = this object.  The object can be
// run again; each run starts with an empty control cache.
class CDialog : public CWindowHandle {
 public:
  CDialog() = default;
  explicit CDialog(HWND window) : CWindowHandle(window) {}
  ~CDialog();

  // Runs the dialog modally.  Returns the value given to EndDialog, or -1 when
  // the dialog cannot be created (a missing template, no procedure).
  INT_PTR DoModal(int templateId, HINSTANCE instance, HWND parent, DLGPROC dialogProc);
  INT_PTR DoModal(int templateId, HINSTANCE instance, HWND parent, DLGPROC dialogProc, LONG_PTR userValue);
  // Runs the dialog modally from a template in memory (a resource found by
  // the caller, say in one language) as a Unicode dialog, so that its texts
  // reach the screen whole on any ANSI code page.  -1 without a template.
  INT_PTR DoModalIndirect(const DLGTEMPLATE* dialogTemplate, HINSTANCE instance, HWND parent, DLGPROC dialogProc,
                          LONG_PTR userValue = 0);
  // Creates the dialog modeless; returns it, or null.
  HWND Create(int templateId, HINSTANCE instance, HWND parent, DLGPROC dialogProc);
  HWND Create(int templateId, HINSTANCE instance, HWND parent, DLGPROC dialogProc, LONG_PTR userValue);

  // A wrapper of the dialog's control `controlId`, made on the first request
  // and kept (owned by the dialog object) until the next run or ClearControls.
  // An id without a control gives a wrapper of no window.
  CWindowHandle* GetControl(int controlId);
  // Deletes every wrapper that GetControl made (each with its font).
  void ClearControls();

  int GetTemplateId() const { return templateId_; }
  LONG_PTR GetUserValue() const { return userValue_; }

 private:
  static INT_PTR CALLBACK DialogThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void Prepare(int templateId, HINSTANCE instance, HWND parent, DLGPROC dialogProc, LONG_PTR userValue);

  int templateId_ = 0;
  DLGPROC dialogProc_ = nullptr;
  LONG_PTR userValue_ = 0;
  std::map<int, std::unique_ptr<CWindowHandle>> controls_;
};
