// The list-view wrapper: the message each operation sends, a real control of
// this process, and the desktop icon view of another process.
#include "framework/window/list_view.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/test_desktop_client.h"

namespace {

// One message as the recording window received it.  For the records that
// travel by address, the fields a wrapper fills are copied as they arrived.
struct Sent {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  UINT state = 0;
  UINT stateMask = 0;
  int subItem = 0;
  int textMax = 0;
  const void* text = nullptr;
};

std::vector<Sent> received;
const LRESULT kExtendedStyle = LVS_EX_GRIDLINES;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg < LVM_FIRST || msg >= LVM_FIRST + 0x100) return DefWindowProcA(hwnd, msg, wParam, lParam);
  Sent sent = {msg, wParam, lParam};
  if (msg == LVM_SETITEMSTATE || msg == LVM_GETITEMTEXTA) {
    const auto* item = reinterpret_cast<const LVITEMA*>(lParam);
    sent.state = item->state;
    sent.stateMask = item->stateMask;
    sent.subItem = item->iSubItem;
    sent.textMax = item->cchTextMax;
    sent.text = item->pszText;
  }
  received.push_back(sent);
  if (msg == LVM_GETEXTENDEDLISTVIEWSTYLE) return kExtendedStyle;
  if (msg == LVM_GETITEMCOUNT) return 7;
  return 1;
}

// A window of this process that answers list-view messages by recording them.
class Recorder {
 public:
  Recorder() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TessalyRecordingView";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                              nullptr);
    received.clear();
  }
  ~Recorder() { DestroyWindow(window_); }
  HWND window() const { return window_; }

 private:
  HWND window_;
};

LPARAM Address(const void* p) { return reinterpret_cast<LPARAM>(p); }

int CALLBACK CompareNothing(LPARAM, LPARAM, LPARAM) { return 0; }

TEST(ListView, EachOperationSendsItsMessage) {
  Recorder recorder;
  CListView view;
  view.Attach(nullptr, recorder.window());

  LVCOLUMNA column = {};
  column.iSubItem = 3;
  LVITEMA item = {};
  LVFINDINFOA find = {};
  POINT point = {};
  auto image = reinterpret_cast<HIMAGELIST>(static_cast<INT_PTR>(0x1234));

  EXPECT_EQ(view.AddExtendedStyle(LVS_EX_FULLROWSELECT), 1u);
  view.DeleteColumn(2);
  view.InsertColumn(column);
  view.InsertItem(item);
  view.DeleteAllItems();
  view.GetItem(&item);
  view.SetItem(item);
  view.SortItems(CompareNothing, 42);
  view.FindItem(-1, find);
  view.GetNextItem(5, 0x10002);
  view.GetColumnWidth(1);
  view.DeleteItem(4);
  view.SetImageList(image, LVSIL_SMALL);
  view.Scroll(-10, 20);
  EXPECT_EQ(view.GetItemCount(), 7);
  view.GetItemPosition(6, &point);
  view.SetItemPosition(6, 300, 200);

  const std::vector<Sent> expected = {
      {LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0},
      {LVM_SETEXTENDEDLISTVIEWSTYLE, 0, kExtendedStyle | LVS_EX_FULLROWSELECT},
      {LVM_DELETECOLUMN, 2, 0},
      {LVM_INSERTCOLUMNA, 3, Address(&column)},
      {LVM_INSERTITEMA, 0, Address(&item)},
      {LVM_DELETEALLITEMS, 0, 0},
      {LVM_GETITEMA, 0, Address(&item)},
      {LVM_SETITEMA, 0, Address(&item)},
      {LVM_SORTITEMS, 42, Address(reinterpret_cast<const void*>(&CompareNothing))},
      {LVM_FINDITEMA, static_cast<WPARAM>(-1), Address(&find)},
      {LVM_GETNEXTITEM, 5, 2},  // only the low 16 bits of the flags travel
      {LVM_GETCOLUMNWIDTH, 1, 0},
      {LVM_DELETEITEM, 4, 0},
      {LVM_SETIMAGELIST, LVSIL_SMALL, 0x1234},
      {LVM_SCROLL, static_cast<WPARAM>(-10), 20},
      {LVM_GETITEMCOUNT, 0, 0},
      {LVM_GETITEMPOSITION, 6, Address(&point)},
      {LVM_SETITEMPOSITION, 6, MAKELPARAM(300, 200)},
  };
  ASSERT_EQ(received.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(received[i].message, expected[i].message) << "message " << i;
    EXPECT_EQ(received[i].wParam, expected[i].wParam) << "message " << i;
    EXPECT_EQ(received[i].lParam, expected[i].lParam) << "message " << i;
  }
}

TEST(ListView, SetItemPositionSendsTheLow16BitsOfEachCoordinate) {
  struct Case {
    int x, y;
    LPARAM lParam;
  };
  constexpr Case cases[] = {
      {-1, 5, 0x0005FFFF},          {0, 0, 0},
      {32767, -32768, 0x80007FFF},  // zero-extended: no sign reaches the upper half
      {-32768, -1, 0xFFFF8000},     {70000, 3, 0x00031170},
  };
  Recorder recorder;
  CListView view;
  view.Attach(nullptr, recorder.window());
  for (const Case& c : cases) {
    received.clear();
    view.SetItemPosition(9, c.x, c.y);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].wParam, 9u);
    EXPECT_EQ(received[0].lParam, c.lParam) << "x " << c.x << ", y " << c.y;
  }
}

TEST(ListView, SelectAndDeselectChangeOnlyTheSelectedState) {
  Recorder recorder;
  CListView view;
  view.Attach(nullptr, recorder.window());
  EXPECT_TRUE(view.Select(3));
  EXPECT_TRUE(view.Deselect(4));
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].message, static_cast<UINT>(LVM_SETITEMSTATE));
  EXPECT_EQ(received[0].wParam, 3u);
  EXPECT_EQ(received[0].state, static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(received[0].stateMask, static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(received[1].wParam, 4u);
  EXPECT_EQ(received[1].state, 0u);
  EXPECT_EQ(received[1].stateMask, static_cast<UINT>(LVIS_SELECTED));
}

TEST(ListView, GetItemTextHandsTheBufferAndItsSize) {
  Recorder recorder;
  CListView view;
  view.Attach(nullptr, recorder.window());
  std::vector<char> small(40), huge(100000);
  view.GetItemText(2, 1, small.data(), static_cast<int>(small.size()));
  view.GetItemText(2, 0, huge.data(), static_cast<int>(huge.size()));
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].wParam, 2u);
  EXPECT_EQ(received[0].subItem, 1);
  EXPECT_EQ(received[0].text, small.data());
  EXPECT_EQ(received[0].textMax, 40);
  // The control is never told of more room than the buffer has, and a buffer
  // of 64 KiB or more is not taken for an empty one.
  EXPECT_EQ(received[1].textMax, 0xFFFF);

  // No room at all: nothing is sent and nothing written.
  received.clear();
  char none = 'x';
  EXPECT_EQ(view.GetItemText(0, 0, &none, 0), 0);
  EXPECT_EQ(none, 'x');
  EXPECT_TRUE(received.empty());
}

// A real list view of this process, made by the wrapper.
class RealListView : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(view_.Create(0, WS_CHILD | LVS_REPORT, 0, 0, 400, 300, "list", parent_), nullptr);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.cx = 120;
    column.pszText = const_cast<char*>("名前");
    ASSERT_EQ(view_.InsertColumn(column), 0);
    column.iSubItem = 1;
    column.cx = 60;
    column.pszText = const_cast<char*>("種類");
    ASSERT_EQ(view_.InsertColumn(column), 1);
  }
  void TearDown() override { DestroyWindow(parent_); }

  int Add(const char* name, const char* kind) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = view_.GetItemCount();
    item.pszText = const_cast<char*>(name);
    item.lParam = item.iItem;
    int index = view_.InsertItem(item);
    LVITEMA sub = {};
    sub.mask = LVIF_TEXT;
    sub.iItem = index;
    sub.iSubItem = 1;
    sub.pszText = const_cast<char*>(kind);
    view_.SetItem(sub);
    return index;
  }
  std::string Text(int item, int subItem = 0) {
    char buffer[256];
    view_.GetItemText(item, subItem, buffer, sizeof buffer);
    return buffer;
  }

  HWND parent_ = nullptr;
  CListView view_;
};

TEST_F(RealListView, CreateMakesAVisibleChildOfTheParent) {
  EXPECT_EQ(view_.parent, parent_);
  EXPECT_EQ(GetParent(view_.window), parent_);
  EXPECT_TRUE(GetWindowLongPtrA(view_.window, GWL_STYLE) & WS_VISIBLE);
  char cls[64] = {};
  GetClassNameA(view_.window, cls, sizeof cls);
  EXPECT_STREQ(cls, "SysListView32");
  EXPECT_EQ(view_.GetColumnWidth(0), 120);
  EXPECT_EQ(view_.GetColumnWidth(1), 60);
  EXPECT_TRUE(view_.DeleteColumn(1));
  EXPECT_EQ(view_.GetColumnWidth(1), 0);
}

TEST_F(RealListView, ItemsAreInsertedReadFoundAndDeleted) {
  Add("ごみ箱", "system");
  Add("readme.txt", "text");
  Add("表計算.xls", "sheet");
  EXPECT_EQ(view_.GetItemCount(), 3);
  EXPECT_EQ(Text(0), "ごみ箱");
  EXPECT_EQ(Text(2, 1), "sheet");

  // A short buffer gets the text cut and terminated.
  char shortBuffer[5];
  std::memset(shortBuffer, 'x', sizeof shortBuffer);
  EXPECT_EQ(view_.GetItemText(1, 0, shortBuffer, sizeof shortBuffer), 4);
  EXPECT_EQ(std::string(shortBuffer), "read");

  LVFINDINFOA find = {};
  find.flags = LVFI_STRING;
  find.psz = "表計算.xls";
  EXPECT_EQ(view_.FindItem(-1, find), 2);
  find.psz = "missing";
  EXPECT_EQ(view_.FindItem(-1, find), -1);

  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = 1;
  ASSERT_TRUE(view_.GetItem(&item));
  EXPECT_EQ(item.lParam, 1);

  EXPECT_TRUE(view_.DeleteItem(0));
  EXPECT_EQ(Text(0), "readme.txt");
  EXPECT_TRUE(view_.DeleteAllItems());
  EXPECT_EQ(view_.GetItemCount(), 0);
}

int CALLBACK DescendingByParam(LPARAM a, LPARAM b, LPARAM sortValue) {
  EXPECT_EQ(sortValue, 77);
  return static_cast<int>(b - a);
}

TEST_F(RealListView, SortItemsPassesTheSortValueToTheCompareFunction) {
  Add("a", "");
  Add("b", "");
  Add("c", "");
  EXPECT_TRUE(view_.SortItems(DescendingByParam, 77));
  EXPECT_EQ(Text(0), "c");
  EXPECT_EQ(Text(2), "a");
}

TEST_F(RealListView, SelectionIsSetClearedAndFound) {
  Add("a", "");
  Add("b", "");
  Add("c", "");
  view_.Select(1);
  view_.Select(2);
  EXPECT_EQ(view_.GetNextItem(-1, LVNI_SELECTED), 1);
  EXPECT_EQ(view_.GetNextItem(1, LVNI_SELECTED), 2);
  view_.Deselect(1);
  EXPECT_EQ(view_.GetNextItem(-1, LVNI_SELECTED), 2);
  EXPECT_EQ(SendMessageA(view_.window, LVM_GETITEMSTATE, 2, LVIS_SELECTED), LVIS_SELECTED);
}

TEST_F(RealListView, AddExtendedStyleKeepsTheBitsAlreadySet) {
  view_.AddExtendedStyle(LVS_EX_GRIDLINES);
  EXPECT_EQ(view_.AddExtendedStyle(LVS_EX_FULLROWSELECT) & LVS_EX_GRIDLINES, static_cast<DWORD>(LVS_EX_GRIDLINES));
  DWORD style = static_cast<DWORD>(SendMessageA(view_.window, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_EQ(style & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
            static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
}

TEST(ListViewOfAnotherProcess, IsCountedReadAndMovedThroughTheWrapper) {
  testsupport::TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"ごみ箱", 20, 20}, {"memo.txt", 120, 20}}));
  HWND found = testsupport::TestDesktop::FindView();
  ASSERT_NE(found, nullptr);

  CListView view;
  EXPECT_NE(view.Attach(GetParent(found), found), nullptr);
  EXPECT_EQ(view.GetItemCount(), 2);

  // Positions arrive in a block of the desktop's process.
  DWORD pid = 0;
  GetWindowThreadProcessId(found, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, pid);
  ASSERT_NE(process, nullptr);
  void* block = VirtualAllocEx(process, nullptr, sizeof(POINT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_NE(block, nullptr);
  view.SetItemPosition(1, 300, 200);
  view.GetItemPosition(1, static_cast<POINT*>(block));
  POINT point = {};
  ReadProcessMemory(process, block, &point, sizeof point, nullptr);
  VirtualFreeEx(process, block, 0, MEM_RELEASE);
  CloseHandle(process);
  EXPECT_EQ(point.x, 300);
  EXPECT_EQ(point.y, 200);
  EXPECT_EQ(desktop.Icons()[1], (testsupport::DesktopIcon{"memo.txt", 300, 200}));
  EXPECT_EQ(desktop.Count("setitemposition"), 1);
}

}  // namespace
