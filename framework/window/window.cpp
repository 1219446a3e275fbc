#include "framework/window/window.h"

#include "framework/window/critical_section.h"

namespace flib {

namespace {

// Held from just before CreateWindowExA until the caller's procedure has
// answered WM_CREATE (or CreateWindowExA has returned without one).  Shared by
// name with every process of the logon session that uses the framework.
CCriticalSection creationLock("flib::CWindow");

// The object whose Create runs; set under the creation lock.
CWindow* windowUnderConstruction = nullptr;

}  // namespace

HWND CWindow::Create(DWORD exStyle, const char* windowName, DWORD style, int x, int y, int width, int height,
                     HWND parent, HMENU menu, LONG_PTR userValue, WNDCLASSEXA* classDescription) {
  if (!classDescription || !classDescription->lpfnWndProc) return nullptr;
  instance = classDescription->hInstance;
  windowProc_ = classDescription->lpfnWndProc;
  classDescription->lpfnWndProc = CreationThunk;
  this->parent = parent;
  userValue_ = userValue;

  if (!RegisterClassExA(classDescription)) return nullptr;

  creationLock.Lock();
  windowUnderConstruction = this;
  lockReleased_ = false;
  window = CreateWindowExA(exStyle, classDescription->lpszClassName, windowName, style, x, y, width, height, parent,
                           menu, instance, nullptr);
  // Without a WM_CREATE (creation failed before it) the thunk has not given
  // the lock back.
  if (!lockReleased_) {
    lockReleased_ = true;
    creationLock.Unlock();
  }
  return window;
}

LRESULT CALLBACK CWindow::CreationThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWindow* self = windowUnderConstruction;
  // A window of the class that was not made by Create has no object.
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  if (message != WM_CREATE) return CallWindowProcA(self->windowProc_, window, message, wParam, lParam);

  self->window = window;
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->windowProc_));
  LRESULT result = CallWindowProcA(self->windowProc_, window, WM_CREATE, wParam, reinterpret_cast<LPARAM>(self));
  self->lockReleased_ = true;
  creationLock.Unlock();
  return result;
}

}  // namespace flib
