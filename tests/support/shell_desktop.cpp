// shell_desktop.exe: the system's own shell view of the Desktop folder,
// hosted as the desktop, for the end-to-end tests on a real shell.
//
//   shell_desktop.exe
//
// It builds what a shell builds: a top-level "Progman" window titled "Program
// Manager" over the whole screen, in which the Desktop folder's own view
// (IShellFolder::CreateViewObject, IShellView::CreateViewWindow in icon mode
// with FWF_DESKTOP) makes its "SHELLDLL_DefView" and "SysListView32" windows.
// The icons are the files of the Desktop folder (and, under Wine, the
// folders shown on every desktop: "/", My Computer, Documents, the Trash),
// read by the view itself, their texts given by callback.  The view arranges
// them itself (Wine gives a desktop view LVS_AUTOARRANGE): when it reads the
// folder again and when it is resized.  On WM_DISPLAYCHANGE this program
// resizes itself and the view to the new screen, as a shell does, and so the
// view arranges its icons for the new size.
//
// A second thread owns a hidden control window of class "TessalyShellDesktop"
// (desktop_control.h).  Every request is carried out on the view's own
// thread, as the shell's own actions are, so a hook on that thread sees none
// of them as sent by another thread.
//
// It also answers the shell's interface to its desktop (shell_interface.h)
// for a test prefix that sends CLSID_ShellWindows to it.
//
// Commands (numbers are decimal):
//   dump          reply: "count N" then "index TAB name TAB x TAB y" per icon
//   items         reply: "count N" then "index TAB name TAB parsing name TAB
//                 x TAB y" per icon, the names in UTF-8
//   move I X Y    places icon I at (X, Y), as a drag and drop on the desktop
//                 does (LVM_SETITEMPOSITION32 from the view's thread)
//   refresh       reads the folder again (F5: IShellView::Refresh)
//   count requests  reply: how many requests other processes made of the
//                 desktop since the start: list-view messages that other
//                 threads sent the view, and calls of its interface
//   count foreignmoves  reply: how many of those messages moved an icon
//   count moves   reply: how many icons other processes moved, either way
//   interface MODE  how the interface answers from now on: serve, absent,
//                 otherwindow, nowindow, nopositions, autoarrange
//   quit          closes the desktop; the process ends
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/desktop_control.h"
#include "tests/support/shell_interface.h"

namespace {

using testsupport::DumpListView;
using testsupport::NextNumber;
using testsupport::NextWord;

const UINT kRequest = WM_APP + 1;  // to the Progman window: lParam = Request*

struct Request {
  std::string line;
  std::string reply;
  bool ok = false;
  HANDLE done = nullptr;
};

HWND progman;
HWND defView;
HWND listView;
IShellFolder* desktopFolder;
IShellView* shellView;
WNDPROC listViewProc;
std::atomic<long> foreignRequests{0};
std::atomic<long> foreignMoves{0};

// The browser the view lives in: it only gives the view its window.
class DesktopBrowser : public testsupport::ViewOnlyBrowser {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IShellBrowser)) {
      *out = static_cast<IShellBrowser*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // Lives as long as the process.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = progman;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView** view) override {
    *view = shellView;
    if (shellView) shellView->AddRef();
    return shellView ? S_OK : E_FAIL;
  }
};

DesktopBrowser browser;

LRESULT CALLBACK CountingListViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= LVM_FIRST && msg < LVM_FIRST + 0x100 && InSendMessage()) {
    ++foreignRequests;
    if (msg == LVM_SETITEMPOSITION || msg == LVM_SETITEMPOSITION32) ++foreignMoves;
  }
  return CallWindowProcW(listViewProc, hwnd, msg, wParam, lParam);
}

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(size > 0 ? static_cast<size_t>(size) : 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  bytes.resize(bytes.size() - 1);
  return bytes;
}

// Every icon with its whole name and its parsing name, read on this thread.
std::string DumpItems() {
  const int count = static_cast<int>(SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
  std::string reply = "count " + std::to_string(count) + "\n";
  for (int i = 0; i < count; ++i) {
    wchar_t text[1024] = {};
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.pszText = text;
    item.cchTextMax = 1024;
    SendMessageW(listView, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    std::string parsing;
    STRRET name = {};
    wchar_t* plain = nullptr;
    auto* id = reinterpret_cast<PCUITEMID_CHILD>(item.lParam);
    if (id && SUCCEEDED(desktopFolder->GetDisplayNameOf(id, SHGDN_INFOLDER | SHGDN_FORPARSING, &name)) &&
        SUCCEEDED(StrRetToStrW(&name, id, &plain))) {
      parsing = Utf8(plain);
      CoTaskMemFree(plain);
    }
    POINT place = {};
    SendMessageW(listView, LVM_GETITEMPOSITION, i, reinterpret_cast<LPARAM>(&place));
    reply += std::to_string(i) + "\t" + Utf8(text) + "\t" + parsing + "\t" + std::to_string(place.x) + "\t" +
             std::to_string(place.y) + "\n";
  }
  return reply;
}

// Runs on the view's thread.
bool RunCommand(const std::string& line, std::string* reply) {
  std::string rest = line;
  std::string verb = NextWord(&rest);
  if (verb == "dump") {
    *reply = DumpListView(listView);
    return true;
  }
  if (verb == "items") {
    *reply = DumpItems();
    return true;
  }
  if (verb == "move") {
    int i = static_cast<int>(NextNumber(&rest));
    POINT pt;
    pt.x = static_cast<LONG>(NextNumber(&rest));
    pt.y = static_cast<LONG>(NextNumber(&rest));
    return SendMessageA(listView, LVM_SETITEMPOSITION32, i, reinterpret_cast<LPARAM>(&pt)) != 0;
  }
  if (verb == "refresh") {
    return SUCCEEDED(shellView->Refresh());
  }
  if (verb == "count" && rest == "requests") {
    *reply = std::to_string(foreignRequests.load() + testsupport::InterfaceCalls());
    return true;
  }
  if (verb == "count" && rest == "foreignmoves") {
    *reply = std::to_string(foreignMoves.load());
    return true;
  }
  if (verb == "count" && rest == "moves") {
    *reply = std::to_string(foreignMoves.load() + testsupport::InterfaceMoves());
    return true;
  }
  if (verb == "interface") {
    using testsupport::InterfaceMode;
    if (rest == "serve") testsupport::SetInterfaceMode(InterfaceMode::kServe);
    else if (rest == "absent") testsupport::SetInterfaceMode(InterfaceMode::kAbsent);
    else if (rest == "otherwindow") testsupport::SetInterfaceMode(InterfaceMode::kOtherWindow);
    else if (rest == "nowindow") testsupport::SetInterfaceMode(InterfaceMode::kNoWindow);
    else if (rest == "nopositions") testsupport::SetInterfaceMode(InterfaceMode::kNoPositions);
    else if (rest == "autoarrange") testsupport::SetInterfaceMode(InterfaceMode::kAutoArrange);
    else return false;
    return true;
  }
  if (verb == "quit") {
    PostMessageA(progman, WM_CLOSE, 0, 0);
    return true;
  }
  return false;
}

LRESULT CALLBACK ProgmanProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kRequest: {
      auto* request = reinterpret_cast<Request*>(lParam);
      request->ok = RunCommand(request->line, &request->reply);
      SetEvent(request->done);
      return 0;
    }
    case WM_DISPLAYCHANGE: {  // the shell's desktop spans the monitors as they now stand
      const RECT desktop = testsupport::DesktopRectangle();
      SetWindowPos(hwnd, nullptr, desktop.left, desktop.top, desktop.right - desktop.left, desktop.bottom - desktop.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_SIZE:
      if (defView) MoveWindow(defView, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_CLOSE:
      testsupport::RevokeShellInterface();
      if (defView) {
        shellView->UIActivate(SVUIA_DEACTIVATE);
        shellView->DestroyViewWindow();
        defView = listView = nullptr;
      }
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Hands a request to the view's thread and waits for it (posted, so that a
// hook on the view's thread does not see a message sent by this thread).
bool Forward(const std::string& line, std::string* reply) {
  auto* request = new Request;
  request->line = line;
  request->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!PostMessageA(progman, kRequest, 0, reinterpret_cast<LPARAM>(request)) ||
      WaitForSingleObject(request->done, 20000) != WAIT_OBJECT_0) {
    return false;  // the request may still run: it is left to leak
  }
  bool ok = request->ok;
  *reply = request->reply;
  CloseHandle(request->done);
  delete request;
  return ok;
}

}  // namespace

int main() {
  if (FAILED(OleInitialize(nullptr))) {
    std::fprintf(stderr, "shell_desktop: OleInitialize failed\n");
    return 3;
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_DESKTOP + 1);
  wc.lpfnWndProc = ProgmanProc;
  wc.lpszClassName = "Progman";
  RegisterClassA(&wc);

  const RECT desktop = testsupport::DesktopRectangle();
  const int width = desktop.right - desktop.left;
  const int height = desktop.bottom - desktop.top;
  progman = CreateWindowExA(WS_EX_TOOLWINDOW, "Progman", "Program Manager", WS_POPUP | WS_CLIPCHILDREN, desktop.left,
                            desktop.top, width, height, nullptr, nullptr, instance, nullptr);
  HRESULT hr = progman ? SHGetDesktopFolder(&desktopFolder) : E_FAIL;
  if (SUCCEEDED(hr)) {
    hr = desktopFolder->CreateViewObject(progman, IID_IShellView, reinterpret_cast<void**>(&shellView));
  }
  if (SUCCEEDED(hr)) {
    FOLDERSETTINGS settings = {FVM_ICON, FWF_DESKTOP};
    RECT area = {0, 0, width, height};
    hr = shellView->CreateViewWindow(nullptr, &settings, &browser, &area, &defView);
  }
  if (FAILED(hr) || !defView) {
    std::fprintf(stderr, "shell_desktop: cannot create the desktop's view (0x%08lx)\n", static_cast<unsigned long>(hr));
    return 3;
  }
  shellView->UIActivate(SVUIA_ACTIVATE_NOFOCUS);
  ShowWindow(progman, SW_SHOWNOACTIVATE);
  UpdateWindow(progman);
  listView = FindWindowExA(defView, nullptr, "SysListView32", nullptr);
  if (!listView) {
    std::fprintf(stderr, "shell_desktop: the view has no list view\n");
    return 3;
  }
  listViewProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(listView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingListViewProc)));
  if (!testsupport::ServeShellInterface(progman, defView, listView, shellView, desktopFolder)) {
    std::fprintf(stderr, "shell_desktop: cannot register its shell interface\n");
    return 3;
  }

  HANDLE control = testsupport::StartDesktopControl("TessalyShellDesktop", Forward);

  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  shellView->Release();
  desktopFolder->Release();
  testsupport::StopDesktopControl(control);
  OleUninitialize();
  return 0;
}
