#include "tests/support/desktop_control.h"

#include <commctrl.h>

#include <cstdlib>

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

std::string DumpListView(HWND listView) {
  const int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
  std::string out = "count " + std::to_string(count) + "\n";
  for (int i = 0; i < count; ++i) {
    char text[4096] = {};
    LVITEMA item = {};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(listView, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
    POINT pt = {};
    SendMessageA(listView, LVM_GETITEMPOSITION, i, reinterpret_cast<LPARAM>(&pt));
    out += std::to_string(i) + "\t" + text + "\t" + std::to_string(pt.x) + "\t" + std::to_string(pt.y) + "\n";
  }
  return out;
}

std::string NextWord(std::string* rest) {
  const size_t blank = rest->find(' ');
  std::string word = rest->substr(0, blank);
  *rest = blank == std::string::npos ? std::string() : rest->substr(blank + 1);
  return word;
}

long long NextNumber(std::string* rest) { return std::strtoll(NextWord(rest).c_str(), nullptr, 0); }

RECT DesktopRectangle() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace testsupport
