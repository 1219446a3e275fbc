// test_desktop.exe: plays the shell's desktop for the Windows tests.
//
//   test_desktop.exe --icons FILE [--host progman|workerw]
//
// It builds what Tessaly looks for: a top-level "Progman" window titled
// "Program Manager", its child "SHELLDLL_DefView" and that one's child
// "SysListView32" in icon view, filled with the icons listed in FILE (one icon
// a line: name TAB x TAB y, names in code page 932).  Icons are placed once
// the view is shown, since the list view may re-arrange icons placed while it
// is being built.  With "--host workerw" the "SHELLDLL_DefView" is the child
// of a top-level "WorkerW" window instead, between two empty ones, and
// Progman holds nothing, as the shell arranges its desktop for a wallpaper
// slideshow.
//
// A second thread owns a hidden control window of class "TessalyTestDesktop"
// (desktop_control.h) and runs the commands from there, so that a window hook
// on the desktop's thread sees the messages as sent by another thread.
//
// Commands (numbers are decimal, names may hold any byte but TAB and line ends):
//   dump                  reply: "count N" then "index TAB name TAB x TAB y" per icon
//   move I X Y            LVM_SETITEMPOSITION32 of icon I to (X, Y)
//   add X Y NAME          inserts an icon at the end, placed at (X, Y)
//   remove I              deletes icon I
//   rename I NAME         sets icon I's text
//   notify CODE           WM_NOTIFY with a real NMHDR of this process, code CODE
//   sendto WIN MSG W L    SendMessage(WIN, MSG, W, L) from the second thread,
//                         WIN being progman, defview or view
//   mainsend MSG W L      the desktop's own thread sends MSG to its view
//   count NAME            reply: how many requests of NAME the view answered
//                         (getitemcount, getitemtext, getitemposition,
//                          setitemposition)
//   resetcounts           sets every count to 0
//   fault NAME on|off     makes the view misbehave for every client:
//                         unterminated - LVM_GETITEMTEXTA fills the whole
//                                        buffer it is given with 'X', no NUL
//                         charcount    - LVM_GETITEMTEXTA answers the number of
//                                        characters copied, a double-byte one
//                                        counted once, not the number of bytes
//                         nocount      - LVM_GETITEMTEXTA copies the text and
//                                        answers 0
//                         noposition   - LVM_GETITEMPOSITION fails, writes nothing
//   displace I X Y        from now on the view puts icon I at (X, Y) right
//                         after anyone moves it (I = -1 ends it)
//   arrange on|off        the view takes the style of Auto arrange and lays
//                         its icons out again after every move
//   quitafter KIND N      the desktop closes itself (the shell going away)
//                         as soon as its view has answered N more requests of
//                         KIND (getitemtext, setitemposition)
// (Text requests are counted and made to misbehave alike in their ANSI and
// UTF-16 forms.)
//   failread KIND I       from now on the view answers 0, and does nothing,
//                         for requests of KIND (text or position) about item
//                         I; I = -1 ends it
//   removeafter N         when the view has answered N text requests, it
//                         deletes its last item before answering the next one
//                         (an icon vanishing while a capture runs)
//   protection            reply: "ITEM TEXT POSITION", the page protection of
//                         the memory that the last text and position requests
//                         pointed into (0 when none came yet)
//   title TEXT            sets the "Progman" window's title (another title
//                         hides the desktop from the lookup)
//   view                  reply: the list view's window handle, in decimal
//   quit                  closes the desktop; the process ends
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/support/desktop_control.h"

namespace {

using testsupport::DumpListView;
using testsupport::NextNumber;
using testsupport::NextWord;

const UINT kMainSend = WM_APP + 1;  // to the Progman window: wParam = message, lParam = MainSendArgs*

struct MainSendArgs {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result;
};

struct InitialIcon {
  std::string name;
  int x;
  int y;
};

HWND progman;
HWND defView;
HWND listView;
WNDPROC listViewProc;

std::atomic<long> countGetItemCount{0};
std::atomic<long> countGetItemText{0};
std::atomic<long> countGetItemPosition{0};
std::atomic<long> countSetItemPosition{0};
// Set while the control thread runs a command, so that the test's own
// requests are not counted as requests of the program under test.
std::atomic<bool> internalRequest{false};
std::atomic<long> failTextItem{-1};
std::atomic<long> failPositionItem{-1};
std::atomic<long> removeAfterText{-1};
std::atomic<unsigned long> itemProtection{0};
std::atomic<unsigned long> textProtection{0};
std::atomic<unsigned long> positionProtection{0};

unsigned long ProtectionOf(const void* address) {
  MEMORY_BASIC_INFORMATION info = {};
  if (!address || !VirtualQuery(address, &info, sizeof info)) return 0;
  return info.Protect;
}

std::atomic<bool> faultUnterminated{false};
std::atomic<bool> faultCharCount{false};
std::atomic<bool> faultNoCount{false};
std::atomic<bool> faultNoPosition{false};
// The shell moving icons on its own after another process moved them: one
// icon put elsewhere, or every icon arranged again (Auto arrange).
std::atomic<long> displacedItem{-1};
std::atomic<long> displacedX{0};
std::atomic<long> displacedY{0};
std::atomic<bool> arrangesItself{false};
// Requests of this kind left before the desktop quits; -1 never.
std::atomic<UINT> quitAfterMessage{0};
std::atomic<long> quitAfterLeft{-1};

// Set by the request after which the desktop goes away.
bool quitNow = false;

void CountTowardsQuit(UINT msg) {
  if (msg != quitAfterMessage || quitAfterLeft < 0) return;
  if (--quitAfterLeft == 0) quitNow = true;
}

LRESULT AnswerListViewRequest(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (internalRequest) return CallWindowProcA(listViewProc, hwnd, msg, wParam, lParam);
  switch (msg) {
    case LVM_GETITEMCOUNT: ++countGetItemCount; break;
    case LVM_GETITEMTEXTA:
    case LVM_GETITEMTEXTW: {
      if (countGetItemText == removeAfterText) {
        removeAfterText = -1;
        LRESULT count = CallWindowProcA(listViewProc, hwnd, LVM_GETITEMCOUNT, 0, 0);
        CallWindowProcA(listViewProc, hwnd, LVM_DELETEITEM, count - 1, 0);
      }
      ++countGetItemText;
      CountTowardsQuit(LVM_GETITEMTEXTA);
      itemProtection = ProtectionOf(reinterpret_cast<void*>(lParam));
      if (lParam && itemProtection) {
        textProtection = ProtectionOf(reinterpret_cast<LVITEMA*>(lParam)->pszText);
      }
      if (static_cast<long>(wParam) == failTextItem) return 0;
      // LVITEMA and LVITEMW differ only in the type of pszText.
      auto* item = reinterpret_cast<LVITEMA*>(lParam);
      const bool wide = msg == LVM_GETITEMTEXTW;
      if (faultUnterminated && item && item->pszText && item->cchTextMax > 0) {
        if (wide) {
          std::wmemset(reinterpret_cast<wchar_t*>(item->pszText), L'X', item->cchTextMax);
        } else {
          std::memset(item->pszText, 'X', item->cchTextMax);
        }
        return item->cchTextMax;
      }
      if ((faultCharCount || faultNoCount) && item && item->pszText) {
        CallWindowProcA(listViewProc, hwnd, msg, wParam, lParam);
        if (faultNoCount) return 0;
        LRESULT characters = 0;
        if (wide) return static_cast<LRESULT>(std::wcslen(reinterpret_cast<wchar_t*>(item->pszText)));
        for (const char* p = item->pszText; *p; p = CharNextA(p)) ++characters;
        return characters;
      }
      break;
    }
    case LVM_GETITEMPOSITION:
      ++countGetItemPosition;
      positionProtection = ProtectionOf(reinterpret_cast<void*>(lParam));
      if (static_cast<long>(wParam) == failPositionItem) return 0;
      if (faultNoPosition) return FALSE;
      break;
    case LVM_SETITEMPOSITION:
    case LVM_SETITEMPOSITION32: {
      ++countSetItemPosition;
      CountTowardsQuit(LVM_SETITEMPOSITION);
      const LRESULT moved = CallWindowProcA(listViewProc, hwnd, msg, wParam, lParam);
      if (static_cast<long>(wParam) == displacedItem) {
        POINT elsewhere = {displacedX, displacedY};
        CallWindowProcA(listViewProc, hwnd, LVM_SETITEMPOSITION32, wParam, reinterpret_cast<LPARAM>(&elsewhere));
      }
      if (arrangesItself) CallWindowProcA(listViewProc, hwnd, LVM_ARRANGE, LVA_DEFAULT, 0);
      return moved;
    }
  }
  return CallWindowProcA(listViewProc, hwnd, msg, wParam, lParam);
}

// The desktop goes away as soon as it has answered the request it was told
// to quit after, before any other request reaches it: the request after it
// finds no view, whichever thread asks.
LRESULT CALLBACK CountingListViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT answer = AnswerListViewRequest(hwnd, msg, wParam, lParam);
  if (quitNow) {
    quitNow = false;
    DestroyWindow(progman);
  }
  return answer;
}

LRESULT CALLBACK ProgmanProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kMainSend: {
      auto* args = reinterpret_cast<MainSendArgs*>(lParam);
      args->result = SendMessageA(listView, args->message, args->wParam, args->lParam);
      return 1;
    }
    case WM_SIZE:
      if (defView) MoveWindow(defView, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_DISPLAYCHANGE: {  // the shell's desktop spans the monitors as they now stand
      const RECT desktop = testsupport::DesktopRectangle();
      SetWindowPos(hwnd, nullptr, desktop.left, desktop.top, desktop.right - desktop.left, desktop.bottom - desktop.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A "WorkerW" window keeps its child, the view, as large as itself.
LRESULT CALLBACK WorkerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SIZE && defView && GetParent(defView) == hwnd) {
    MoveWindow(defView, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK DefViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SIZE && listView) {
    MoveWindow(listView, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool ReadIcons(const char* path, std::vector<InitialIcon>* icons) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  char line[4096];
  while (std::fgets(line, sizeof line, f)) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (text.empty()) continue;
    size_t t1 = text.find('\t');
    size_t t2 = t1 == std::string::npos ? t1 : text.find('\t', t1 + 1);
    if (t2 == std::string::npos) continue;
    icons->push_back({text.substr(0, t1), std::atoi(text.c_str() + t1 + 1), std::atoi(text.c_str() + t2 + 1)});
  }
  std::fclose(f);
  return true;
}

int InsertIcon(int index, const std::string& name) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = index;
  item.pszText = const_cast<char*>(name.c_str());
  item.iImage = 0;
  return static_cast<int>(SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool PlaceIcon(int index, int x, int y) {
  POINT pt = {x, y};
  return SendMessageA(listView, LVM_SETITEMPOSITION32, index, reinterpret_cast<LPARAM>(&pt)) != 0;
}

bool RunCommand(const std::string& line, std::string* reply) {
  std::string rest = line;
  std::string verb = NextWord(&rest);
  if (verb == "dump") {
    *reply = DumpListView(listView);
    return true;
  }
  if (verb == "move") {
    int i = static_cast<int>(NextNumber(&rest));
    int x = static_cast<int>(NextNumber(&rest));
    int y = static_cast<int>(NextNumber(&rest));
    return PlaceIcon(i, x, y);
  }
  if (verb == "add") {
    int x = static_cast<int>(NextNumber(&rest));
    int y = static_cast<int>(NextNumber(&rest));
    int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
    int index = InsertIcon(count, rest);
    if (index < 0) return false;
    *reply = std::to_string(index);
    return PlaceIcon(index, x, y);
  }
  if (verb == "remove") {
    return SendMessageA(listView, LVM_DELETEITEM, static_cast<WPARAM>(NextNumber(&rest)), 0) != 0;
  }
  if (verb == "rename") {
    int i = static_cast<int>(NextNumber(&rest));
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = const_cast<char*>(rest.c_str());
    return SendMessageA(listView, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item)) != 0;
  }
  if (verb == "sendto") {
    std::string name = NextWord(&rest);
    HWND target = name == "progman" ? progman : name == "defview" ? defView : name == "view" ? listView : nullptr;
    if (!target) return false;
    UINT msg = static_cast<UINT>(NextNumber(&rest));
    WPARAM w = static_cast<WPARAM>(NextNumber(&rest));
    LPARAM l = static_cast<LPARAM>(NextNumber(&rest));
    *reply = std::to_string(SendMessageA(target, msg, w, l));
    return true;
  }
  if (verb == "notify") {
    NMHDR header = {};
    header.hwndFrom = listView;
    header.idFrom = 1;
    header.code = static_cast<UINT>(NextNumber(&rest));
    *reply = std::to_string(SendMessageA(listView, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header)));
    return true;
  }
  if (verb == "mainsend") {
    MainSendArgs args = {};
    args.message = static_cast<UINT>(NextNumber(&rest));
    args.wParam = static_cast<WPARAM>(NextNumber(&rest));
    args.lParam = static_cast<LPARAM>(NextNumber(&rest));
    SendMessageA(progman, kMainSend, 0, reinterpret_cast<LPARAM>(&args));
    *reply = std::to_string(args.result);
    return true;
  }
  if (verb == "count") {
    std::string name = NextWord(&rest);
    long value = -1;
    if (name == "getitemcount") value = countGetItemCount;
    if (name == "getitemtext") value = countGetItemText;
    if (name == "getitemposition") value = countGetItemPosition;
    if (name == "setitemposition") value = countSetItemPosition;
    if (value < 0) return false;
    *reply = std::to_string(value);
    return true;
  }
  if (verb == "resetcounts") {
    countGetItemCount = countGetItemText = countGetItemPosition = countSetItemPosition = 0;
    return true;
  }
  if (verb == "failread") {
    std::string kind = NextWord(&rest);
    long index = static_cast<long>(NextNumber(&rest));
    if (kind == "text") failTextItem = index;
    else if (kind == "position") failPositionItem = index;
    else return false;
    return true;
  }
  if (verb == "removeafter") {
    removeAfterText = static_cast<long>(NextNumber(&rest));
    return true;
  }
  if (verb == "protection") {
    *reply = std::to_string(itemProtection) + " " + std::to_string(textProtection) + " " +
             std::to_string(positionProtection);
    return true;
  }
  if (verb == "fault") {
    std::string name = NextWord(&rest);
    bool on = rest == "on";
    if (name == "unterminated") faultUnterminated = on;
    else if (name == "charcount") faultCharCount = on;
    else if (name == "nocount") faultNoCount = on;
    else if (name == "noposition") faultNoPosition = on;
    else return false;
    return true;
  }
  if (verb == "displace") {
    displacedItem = static_cast<long>(NextNumber(&rest));
    displacedX = static_cast<long>(NextNumber(&rest));
    displacedY = static_cast<long>(NextNumber(&rest));
    return true;
  }
  if (verb == "arrange") {
    const bool on = rest == "on";
    arrangesItself = on;
    const LONG_PTR style = GetWindowLongPtrA(listView, GWL_STYLE);
    SetWindowLongPtrA(listView, GWL_STYLE, on ? style | LVS_AUTOARRANGE : style & ~LONG_PTR{LVS_AUTOARRANGE});
    return true;
  }
  if (verb == "quitafter") {
    std::string kind = NextWord(&rest);
    long n = static_cast<long>(NextNumber(&rest));
    if (kind == "getitemtext") quitAfterMessage = LVM_GETITEMTEXTA;
    else if (kind == "setitemposition") quitAfterMessage = LVM_SETITEMPOSITION;
    else return false;
    quitAfterLeft = n;
    return n > 0;
  }
  if (verb == "view") {
    *reply = std::to_string(reinterpret_cast<UINT_PTR>(listView));
    return true;
  }
  if (verb == "title") {
    return SetWindowTextA(progman, rest.c_str()) != 0;
  }
  if (verb == "quit") {
    SendMessageA(progman, WM_CLOSE, 0, 0);
    return true;
  }
  return false;
}

// Reading the counts sends nothing to the view: the program under test may
// be answered meanwhile, and those requests must still be counted.
bool RunControlCommand(const std::string& line, std::string* reply) {
  bool readsCounts = line.rfind("count ", 0) == 0 || line == "resetcounts";
  if (!readsCounts) internalRequest = true;
  bool ok = RunCommand(line, reply);
  internalRequest = false;
  return ok;
}

void PumpPending() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* iconFile = nullptr;
  bool underWorker = false;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--icons") == 0) iconFile = argv[i + 1];
    if (std::strcmp(argv[i], "--host") == 0) underWorker = std::strcmp(argv[i + 1], "workerw") == 0;
  }
  std::vector<InitialIcon> icons;
  if (iconFile && !ReadIcons(iconFile, &icons)) {
    std::fprintf(stderr, "test_desktop: cannot read %s\n", iconFile);
    return 2;
  }

  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  HINSTANCE instance = GetModuleHandleA(nullptr);

  WNDCLASSA wc = {};
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_DESKTOP + 1);
  wc.lpfnWndProc = ProgmanProc;
  wc.lpszClassName = "Progman";
  RegisterClassA(&wc);
  wc.lpfnWndProc = DefViewProc;
  wc.lpszClassName = "SHELLDLL_DefView";
  RegisterClassA(&wc);
  wc.lpfnWndProc = WorkerProc;
  wc.lpszClassName = "WorkerW";
  RegisterClassA(&wc);

  const RECT desktop = testsupport::DesktopRectangle();
  const int width = desktop.right - desktop.left;
  const int height = desktop.bottom - desktop.top;
  progman = CreateWindowExA(WS_EX_TOOLWINDOW, "Progman", "Program Manager", WS_POPUP | WS_CLIPCHILDREN, desktop.left,
                            desktop.top, width, height, nullptr, nullptr, instance, nullptr);
  // The lookup meets the top-level windows newest first: an empty "WorkerW"
  // before the one that holds the view, and another after it.
  auto createWorker = [&] {
    return CreateWindowExA(WS_EX_TOOLWINDOW, "WorkerW", "", WS_POPUP | WS_CLIPCHILDREN, desktop.left, desktop.top,
                           width, height, nullptr, nullptr, instance, nullptr);
  };
  HWND host = progman;
  if (underWorker) {
    createWorker();
    host = createWorker();
  }
  defView = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width,
                            height, host, nullptr, instance, nullptr);
  if (underWorker) createWorker();
  listView = CreateWindowExA(0, WC_LISTVIEWA, "FolderView",
                             WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_SHAREIMAGELISTS, 0, 0, width, height,
                             defView, reinterpret_cast<HMENU>(1), instance, nullptr);
  if (!progman || !defView || !listView) {
    std::fprintf(stderr, "test_desktop: cannot create the desktop windows\n");
    return 3;
  }
  HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 1);
  ImageList_AddIcon(images, LoadIcon(nullptr, IDI_APPLICATION));
  SendMessageA(listView, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));

  for (size_t i = 0; i < icons.size(); ++i) InsertIcon(static_cast<int>(i), icons[i].name);
  ShowWindow(progman, SW_SHOWNOACTIVATE);
  UpdateWindow(progman);
  if (host != progman) {
    ShowWindow(host, SW_SHOWNOACTIVATE);
    UpdateWindow(host);
  }
  PumpPending();
  for (size_t i = 0; i < icons.size(); ++i) PlaceIcon(static_cast<int>(i), icons[i].x, icons[i].y);
  PumpPending();

  listViewProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(listView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingListViewProc)));

  HANDLE control = testsupport::StartDesktopControl("TessalyTestDesktop", RunControlCommand);

  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  testsupport::StopDesktopControl(control);
  ImageList_Destroy(images);
  return 0;
}
