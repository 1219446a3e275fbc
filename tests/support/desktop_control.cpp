#include "tests/support/desktop_control.h"

#include <cstdio>

namespace testsupport {

namespace {

const char* controlClass;
ControlCommand runCommand;
HANDLE controlReady;

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_COPYDATA) return DefWindowProcA(hwnd, msg, wParam, lParam);
  auto* data = reinterpret_cast<COPYDATASTRUCT*>(lParam);
  if (data->dwData != 1 || !data->lpData) return 0;
  std::string text(static_cast<const char*>(data->lpData), data->cbData);
  while (!text.empty() && text.back() == '\0') text.pop_back();
  size_t newline = text.find('\n');
  if (newline == std::string::npos) return 0;
  std::string replyPath = text.substr(0, newline);
  std::string reply;
  bool ok = runCommand(text.substr(newline + 1), &reply);
  if (!replyPath.empty()) {
    FILE* f = std::fopen(replyPath.c_str(), "wb");
    if (f) {
      std::fwrite(reply.data(), 1, reply.size(), f);
      std::fclose(f);
    }
  }
  return ok ? 1 : 0;
}

DWORD WINAPI ControlThread(void*) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ControlProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = controlClass;
  RegisterClassA(&wc);
  HWND control =
      CreateWindowExA(0, controlClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  SetEvent(controlReady);
  if (!control) return 1;
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return 0;
}

}  // namespace

HANDLE StartDesktopControl(const char* className, ControlCommand run) {
  controlClass = className;
  runCommand = run;
  controlReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, ControlThread, nullptr, 0, nullptr);
  WaitForSingleObject(controlReady, INFINITE);
  return thread;
}

void StopDesktopControl(HANDLE thread) {
  PostThreadMessageA(GetThreadId(thread), WM_QUIT, 0, 0);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
}

}  // namespace testsupport
