#include "hook/sorrel.h"

#include <windows.h>

#include "engine/shell_view_window.h"
#include "hook/sorrel_contract.h"

namespace {

// Each process that loads the library has its own copy of these: the copy in
// the shell's process knows only `moduleInstance` and `targetWindow`, the copy
// in Tessaly's process only the other two.
HINSTANCE moduleInstance;
HHOOK hookHandle;
HWND lastListView;  // the desktop icon view found last
HWND targetWindow;  // Tessaly's main window, as last looked up

void RemoveHook() {
  if (hookHandle && UnhookWindowsHookEx(hookHandle)) hookHandle = nullptr;
}

// The code of the NMHDR that a WM_NOTIFY's lParam points to, or 0 when it
// cannot be read.  WM_NOTIFY is not copied between processes, so a sender in
// another process hands over an address of its own; reading through
// ReadProcessMemory fails safely where a plain read would fault the shell.
UINT ReadNotifyCode(LPARAM lParam) {
  if (!lParam) return 0;
  UINT code = 0;
  const void* source = &reinterpret_cast<const NMHDR*>(lParam)->code;
  SIZE_T read = 0;
  if (!ReadProcessMemory(GetCurrentProcess(), source, &code, sizeof code, &read) || read != sizeof code) return 0;
  return code;
}

void Report(const CWPSTRUCT& sent) {
  UINT code = sent.message == WM_NOTIFY ? ReadNotifyCode(sent.lParam) : 0;
  // The handle of a main window that has ended stays stale for as long as the
  // shell keeps the library loaded, so a dead one is looked up again: the
  // first report after Tessaly restarts reaches the new window.
  if (!targetWindow || !IsWindow(targetWindow)) targetWindow = FindWindowA(kMainWindowClass, kMainWindowTitle);
  if (targetWindow) {
    PostMessageA(targetWindow, kHookReportMessage, static_cast<WPARAM>(sent.message), static_cast<LPARAM>(code));
  }
}

// Runs in the shell's process, on the desktop icon view's thread, before each
// message sent to one of its windows.  wParam is 0 exactly when another thread
// sent the message; messages the thread sends to its own windows are not
// reported.
LRESULT CALLBACK CallWndHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == 0 && lParam) Report(*reinterpret_cast<const CWPSTRUCT*>(lParam));
  return CallNextHookEx(hookHandle, code, wParam, lParam);
}

}  // namespace

extern "C" int Sorrel_Start() {
  RemoveHook();
  HWND view = static_cast<HWND>(FindShellListView());
  if (view) lastListView = view;
  // Without a view there is no thread to hook; thread 0 would hook every
  // thread of the desktop.
  DWORD thread = lastListView ? GetWindowThreadProcessId(lastListView, nullptr) : 0;
  if (!thread) return 0;
  hookHandle = SetWindowsHookExA(WH_CALLWNDPROC, CallWndHookProc, moduleInstance, thread);
  return hookHandle ? 1 : 0;
}

extern "C" int Sorrel_End() {
  if (!hookHandle) return 1;
  if (!UnhookWindowsHookEx(hookHandle)) return 0;
  hookHandle = nullptr;
  return 1;
}

// Only the end of the process takes the hook out: threads of Tessaly come and
// go (the file dialogs start some) and must not end the reports.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
    case DLL_THREAD_ATTACH:
      moduleInstance = instance;
      break;
    case DLL_PROCESS_DETACH:
      RemoveHook();
      break;
  }
  return TRUE;
}
