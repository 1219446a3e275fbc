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
// Like a shell, it watches the Desktop folder (a third thread) and tells its
// view of every file that comes, goes or is renamed there by any process
// (SHChangeNotify on the view's thread): Wine's view hears only of the
// changes made in its own process.
//
// Commands (numbers are decimal):
//   dump          reply: "count N" then "index TAB name TAB x TAB y" per icon
//   items         reply: "count N" then "index TAB name TAB parsing name TAB
//                 x TAB y" per icon, the names in UTF-8
//   move I X Y    places icon I at (X, Y), as a drag and drop on the desktop
//                 does (LVM_SETITEMPOSITION32 from the view's thread); an icon
//                 dragged with the mouse is placed the same way at its drop
//   refresh       reads the folder again (F5: IShellView::Refresh)
//   count requests  reply: how many requests other processes made of the
//                 desktop since the start: list-view messages that other
//                 threads sent the view, and calls of its interface
//   requesttimes  reply: "LATEST BURST": the tick count (GetTickCount) of
//                 the latest of those requests, and how long the burst it
//                 belongs to has lasted in ms (requests less than
//                 kBurstGapMs apart: one look of the program that asks)
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
// To the Progman window: wParam = the SHCNE_ event, lParam = FolderChange*.
const UINT kFolderChange = WM_APP + 2;

struct FolderChange {
  std::wstring path;
  std::wstring newPath;  // a rename's new name
};

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

// An icon pressed with the mouse: where, and where the icon stood.
struct Press {
  int item = -1;
  POINT at = {};
  POINT itemAt = {};
};
Press press;

// The button is up after a press on an icon: an icon dragged stands where it
// was dropped, as the shell's own desktop places it (Wine's view leaves it).
void PlaceDropped(HWND hwnd) {
  if (press.item < 0) return;
  POINT now;
  GetCursorPos(&now);
  ScreenToClient(hwnd, &now);
  if (std::abs(now.x - press.at.x) + std::abs(now.y - press.at.y) > 4) {
    POINT place = {press.itemAt.x + now.x - press.at.x, press.itemAt.y + now.y - press.at.y};
    SendMessageW(hwnd, LVM_SETITEMPOSITION32, static_cast<WPARAM>(press.item), reinterpret_cast<LPARAM>(&place));
  }
  press.item = -1;
}

LRESULT CALLBACK CountingListViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= LVM_FIRST && msg < LVM_FIRST + 0x100 && InSendMessage()) {
    ++foreignRequests;
    testsupport::NoteRequest();
    if (msg == LVM_SETITEMPOSITION || msg == LVM_SETITEMPOSITION32) ++foreignMoves;
  }
  if (msg == WM_LBUTTONDOWN) {
    LVHITTESTINFO hit = {};
    hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    press.item = static_cast<int>(CallWindowProcW(listViewProc, hwnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    press.at = hit.pt;
    if (press.item >= 0) {
      CallWindowProcW(listViewProc, hwnd, LVM_GETITEMPOSITION, static_cast<WPARAM>(press.item),
                      reinterpret_cast<LPARAM>(&press.itemAt));
    }
  }
  const LRESULT result = CallWindowProcW(listViewProc, hwnd, msg, wParam, lParam);
  // A drag runs inside the view's handling of a move of the mouse, and ends
  // with the button up.
  if (msg == WM_LBUTTONUP || (msg == WM_MOUSEMOVE && !(GetAsyncKeyState(VK_LBUTTON) & 0x8000))) PlaceDropped(hwnd);
  return result;
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
  if (verb == "requesttimes") {
    unsigned long latest = 0;
    unsigned long burst = 0;
    testsupport::RequestTimes(&latest, &burst);
    *reply = std::to_string(latest) + " " + std::to_string(burst);
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

// The Desktop folder's watch: every change made there is posted to the view's
// thread.  Ends with the process.
DWORD WINAPI WatchDesktopFolder(void*) {
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_DESKTOPDIRECTORY, FALSE)) return 0;
  HANDLE directory = CreateFileW(folder, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (directory == INVALID_HANDLE_VALUE) return 0;
  alignas(DWORD) char buffer[16384];
  DWORD size = 0;
  std::wstring renamedFrom;
  while (ReadDirectoryChangesW(directory, buffer, sizeof buffer, FALSE,
                               FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME, &size, nullptr, nullptr)) {
    for (DWORD offset = 0; size > 0;) {
      auto* entry = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(buffer + offset);
      const std::wstring path =
          std::wstring(folder) + L"\\" + std::wstring(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
      LONG event = 0;
      auto* change = new FolderChange{path, L""};
      if (entry->Action == FILE_ACTION_ADDED) event = SHCNE_CREATE;
      if (entry->Action == FILE_ACTION_REMOVED) event = SHCNE_DELETE;
      if (entry->Action == FILE_ACTION_RENAMED_OLD_NAME) renamedFrom = path;
      if (entry->Action == FILE_ACTION_RENAMED_NEW_NAME) {
        event = SHCNE_RENAMEITEM;
        change->path = renamedFrom;
        change->newPath = path;
      }
      if (event == 0 ||
          !PostMessageW(progman, kFolderChange, static_cast<WPARAM>(event), reinterpret_cast<LPARAM>(change))) {
        delete change;
      }
      if (entry->NextEntryOffset == 0) break;
      offset += entry->NextEntryOffset;
    }
  }
  CloseHandle(directory);
  return 0;
}

LRESULT CALLBACK ProgmanProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kFolderChange: {
      auto* change = reinterpret_cast<FolderChange*>(lParam);
      SHChangeNotify(static_cast<LONG>(wParam), SHCNF_PATHW | SHCNF_FLUSH, change->path.c_str(),
                     change->newPath.empty() ? nullptr : change->newPath.c_str());
      delete change;
      return 0;
    }
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
  HANDLE watch = CreateThread(nullptr, 0, WatchDesktopFolder, nullptr, 0, nullptr);
  if (watch) CloseHandle(watch);

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
