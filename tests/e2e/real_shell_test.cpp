// Tessaly on the system's own shell view of the Desktop folder
// (shell_desktop.exe): real files, item texts given by callback, and a view
// that arranges its icons itself when it reads the folder again or is
// resized.  Runs on a Wine virtual desktop of 1024x768, each group both ways
// Tessaly reaches a desktop: through the shell's interface (the prefix sends
// CLSID_ShellWindows to the shell desktop, as Windows sends it to Explorer;
// group e2e_RealShell) and through the list view (Wine's explorer answers
// with a view without a window; e2e_RealShellListView).
#include <gtest/gtest.h>
#include <windows.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <utility>

#include "app/desktop_watch.h"
#include "app/display_change.h"
#include "tests/e2e/tessaly_driver.h"
#include "tests/support/shell_desktop_client.h"

namespace e2e {
namespace {

using testsupport::DesktopIcon;
using testsupport::ShellDesktop;

// 40 files, half of them with Japanese names (表 and ソ end in the byte of a
// backslash), with and without an extension.
std::vector<std::string> FileNames() {
  static const char* const kWords[] = {"議事録", "予定表", "見積書", "ソフト", "写真",
                                       "請求書", "名簿",   "地図",   "報告書", "メモ"};
  static const char* const kExtensions[] = {".txt", ".doc", ""};
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d", i);
    std::string stem = i % 2 == 0 ? std::string(kWords[i / 2 % 10]) + number : std::string("file") + number;
    names.push_back(stem + kExtensions[i % 3]);
  }
  return names;
}

// Where each icon stands, by name (the names on this desktop are unique).
using Places = std::map<std::string, std::pair<int, int>>;

Places PlacesOf(const std::vector<DesktopIcon>& icons) {
  Places places;
  for (const DesktopIcon& icon : icons) places[icon.name] = {icon.x, icon.y};
  return places;
}

std::vector<DesktopIcon> IconsOf(const Places& places) {
  std::vector<DesktopIcon> icons;
  for (const auto& [name, at] : places) icons.push_back({name, at.first, at.second});
  return icons;
}

// The icons in columns that fill from the right edge of a screen `width`
// wide, `perColumn` a column: far from the view's own arrangement, which
// fills columns from the left.
Places RightGrid(const std::vector<DesktopIcon>& icons, int width, int perColumn, int stepX, int stepY) {
  Places places;
  for (size_t i = 0; i < icons.size(); ++i) {
    int column = static_cast<int>(i) / perColumn;
    int row = static_cast<int>(i) % perColumn;
    places[icons[i].name] = {width - 100 - column * stepX, 20 + row * stepY};
  }
  return places;
}

// The names of `expected` that stand elsewhere in `actual`, or not at all.
std::vector<std::string> OutOfPlace(const Places& actual, const Places& expected) {
  std::vector<std::string> names;
  for (const auto& [name, at] : expected) {
    auto found = actual.find(name);
    if (found == actual.end() || found->second != at) names.push_back(name);
  }
  return names;
}

std::string Describe(const std::vector<std::string>& names, const Places& actual, const Places& expected) {
  std::ostringstream out;
  out << names.size() << " of " << expected.size() << " out of place:";
  for (const std::string& name : names) {
    auto found = actual.find(name);
    out << "\n  " << name << " wanted (" << expected.at(name).first << ", " << expected.at(name).second << ") is ";
    if (found == actual.end()) {
      out << "missing";
    } else {
      out << "at (" << found->second.first << ", " << found->second.second << ")";
    }
  }
  return out.str();
}

// The file's last write time, 0 when it does not exist.
unsigned long long LastWrite(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

// Waits until nothing from another process has asked the desktop's view
// anything for `quietMs`: by default a tick of the display change's timer,
// on every one of which Tessaly asks while it follows a change, and the
// margin of a busy machine.  (A look that the desktop watch owes comes
// later: WaitForLooksDone.)
void WaitForQuietView(ShellDesktop& desktop, int quietMs = static_cast<int>(kDisplayChangeTickMs + kLookMarginMs),
                      int timeoutMs = 60000) {
  long last = desktop.Requests();
  int quietFor = 0;
  for (int waited = 0; waited < timeoutMs && quietFor < quietMs; waited += 100) {
    Sleep(100);
    long now = desktop.Requests();
    quietFor = now == last ? quietFor + 100 : 0;
    last = now;
  }
}

// After a change of the display setup, Tessaly is done with the desktop when
// the icons stand where they should and have stayed there while the change
// watches whether the shell moves them again (kQuietMs, at its ticks), or
// when they have not moved for longer than the change waits for the shell to
// come to rest (kSettleBoundMs, at its next tick); each with kLookMarginMs
// for a busy machine.  The whole wait is at most kChangeLimitMs (kMaxRestores
// settle bounds, and more).
constexpr int kRestingMs = static_cast<int>(kQuietMs + 2 * kDisplayChangeTickMs + kLookMarginMs);
constexpr int kUnsettledMs = static_cast<int>(kSettleBoundMs + kDisplayChangeTickMs + kLookMarginMs);
constexpr int kChangeLimitMs = 60000;

// Waits so after a resolution change, for the icons at `expected`.  Gives
// where they stand then, and when they last moved (ms after the start of
// the wait).
Places WaitForSettledDesktop(ShellDesktop& desktop, const Places& expected, int* lastMovedMs) {
  Places last = PlacesOf(desktop.Icons());
  *lastMovedMs = 0;
  for (int waited = 0; waited < kChangeLimitMs; waited += 200) {
    const int stableFor = waited - *lastMovedMs;
    if ((last == expected && stableFor >= kRestingMs) || stableFor >= kUnsettledMs) break;
    Sleep(200);
    Places now = PlacesOf(desktop.Icons());
    if (now != last) *lastMovedMs = waited + 200;
    last = now;
  }
  return last;
}

enum class Way { kInterface, kListView };

class E2eRealShell : public ::testing::TestWithParam<Way> {
 protected:
  void SetUp() override {
    if (GetParam() == Way::kInterface) ASSERT_TRUE(ShellDesktop::ServeShellInterface());
    ASSERT_TRUE(ChangeResolution(1024, 768));
    ASSERT_TRUE(desktop.Start(FileNames())) << "the Desktop folder must be a folder of this prefix, and empty";
    icons = desktop.Icons();
    // The files, and the folders that the shell shows on every desktop.
    ASSERT_GT(icons.size(), 40u) << testsupport::ToString(icons);
    ASSERT_EQ(PlacesOf(icons).size(), icons.size()) << "names are unique";
  }
  void TearDown() override {
    if (GetParam() == Way::kInterface && interfaceMoves) {
      EXPECT_EQ(desktop.ForeignMoves(), 0) << "through the shell's interface, no icon is moved by a list-view message";
    }
    if (tessaly.Running()) {
      int exitCode = -99;
      EXPECT_TRUE(tessaly.Close(&exitCode));
      EXPECT_EQ(exitCode, 0);
    }
    ChangeResolution(1024, 768);
  }

  // Places every icon where `places` says, as the user drags icons: the view
  // moves them on its own thread, unheard by the hook.
  void Arrange(const Places& places) {
    std::vector<DesktopIcon> now = desktop.Icons();
    for (size_t i = 0; i < now.size(); ++i) {
      auto found = places.find(now[i].name);
      if (found == places.end()) continue;
      ASSERT_TRUE(desktop.Move(static_cast<int>(i), found->second.first, found->second.second));
    }
    ASSERT_EQ(OutOfPlace(PlacesOf(desktop.Icons()), places), std::vector<std::string>());
  }

  // Saves from the menu; what the capture cost, as the desktop saw it,
  // bounds what a look costs (lookCostMs).
  void Save() {
    const std::string file = CurrentLayoutFile();
    DeleteFileA(file.c_str());
    ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
    ASSERT_TRUE(WaitForFileSettled(file));
    ShellDesktop::RequestTiming timing;
    ASSERT_TRUE(desktop.RequestTimes(&timing));
    // A quarter more, for Tessaly's own work around its calls.
    lookCostMs = std::max<DWORD>(lookCostMs, timing.latestBurst * 5 / 4 + 20);
  }

  // The latest moment Tessaly looks after a sign at `signAt` (LookDeadline),
  // the look before having ended no later than the desktop's latest request
  // as `timing` (read before the sign) gives it.
  DWORD NextLookBy(const ShellDesktop::RequestTiming& timing, DWORD signAt) const {
    return LookDeadline(signAt, timing.latest, lookCostMs);
  }

  // Waits until nothing has asked the desktop anything for as long as a look
  // that was due before the latest request can still take to come
  // (NextLookBy): the desktop watch is done.  At most 60 s.
  void WaitForLooksDone() {
    long last = desktop.Requests();
    for (int waited = 0; waited < 60000; waited += 100) {
      ShellDesktop::RequestTiming timing;
      if (!desktop.RequestTimes(&timing)) return;
      const long now = desktop.Requests();
      if (now == last && static_cast<LONG>(GetTickCount() - NextLookBy(timing, timing.latest)) >= 0) return;
      last = now;
      Sleep(100);
    }
  }

  // Restores from the menu and waits until every icon stands at `saved`.
  void RestoreAndExpect(const Places& saved) {
    ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
    Places now;
    EXPECT_TRUE(WaitFor([&] { return (now = PlacesOf(desktop.Icons())) == saved; }))
        << Describe(OutOfPlace(now, saved), now, saved);
  }

  ShellDesktop desktop;
  Tessaly tessaly;
  std::vector<DesktopIcon> icons;
  // Tessaly moves icons through the shell's interface alone.
  bool interfaceMoves = true;
  // What a look costs at most (ms), once a Save has measured it.
  DWORD lookCostMs = 0;
};

TEST_P(E2eRealShell, RestorePutsEveryIconBackAfterAScrambleAndAfterF5) {
  const Places saved = RightGrid(icons, 1024, 9, 90, 80);
  ASSERT_NO_FATAL_FAILURE(Arrange(saved));
  ASSERT_TRUE(tessaly.Start());
  ASSERT_NO_FATAL_FAILURE(Save());
  EXPECT_EQ(PlacesOf(ReadLayout(CurrentLayoutFile())), saved) << "names as the view gives them by callback";

  // Every icon on another icon's saved place.
  Places scrambled;
  std::vector<DesktopIcon> order = IconsOf(saved);
  for (size_t i = 0; i < order.size(); ++i) {
    const DesktopIcon& other = order[(i + 7) % order.size()];
    scrambled[order[i].name] = {other.x, other.y};
  }
  ASSERT_NO_FATAL_FAILURE(Arrange(scrambled));
  RestoreAndExpect(saved);

  // F5: the view reads the folder again and arranges every icon itself.
  ASSERT_TRUE(desktop.Refresh());
  ASSERT_NE(PlacesOf(desktop.Icons()), saved);
  RestoreAndExpect(saved);
}

// With both automatic options on, each resolution keeps the user's layout:
// after every arrival the icons stand where that resolution's file has them,
// and the file written for the resolution left still holds the user's layout,
// not the arrangement the shell made for the new size.
TEST_P(E2eRealShell, BothAutomaticOptionsKeepEachResolutionsLayoutOverFiveRoundTrips) {
  const Places layout1024 = RightGrid(icons, 1024, 9, 90, 80);
  const Places layout800 = RightGrid(icons, 800, 8, 80, 70);
  ASSERT_NO_FATAL_FAILURE(Arrange(layout1024));
  ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoCapture=true\r\nResolution_AutoRestore=true\r\n"));
  ASSERT_TRUE(WriteLayout(LayoutFile(800, 600), IconsOf(layout800)));
  ASSERT_TRUE(tessaly.Start());
  ASSERT_NO_FATAL_FAILURE(Save());
  WaitForQuietView(desktop);

  struct Screen {
    int width, height;
    const Places* layout;
  };
  const Screen screens[] = {{800, 600, &layout800}, {1024, 768, &layout1024}};
  std::ostringstream summary;
  for (int trip = 1; trip <= 5; ++trip) {
    for (int s = 0; s < 2; ++s) {
      const Screen& to = screens[s];
      const Screen& from = screens[1 - s];
      SCOPED_TRACE("round trip " + std::to_string(trip) + ", at " + std::to_string(to.width) + "x" +
                   std::to_string(to.height));
      const std::string left = LayoutFile(from.width, from.height);
      const unsigned long long written = LastWrite(left);
      ASSERT_TRUE(ChangeResolution(to.width, to.height));
      int lastMovedMs = 0;
      const Places now = WaitForSettledDesktop(desktop, *to.layout, &lastMovedMs);
      const bool rewritten = WaitFor([&] { return LastWrite(left) != written; }) && WaitForFileSettled(left);
      const Places stored = PlacesOf(ReadLayout(left));
      const std::vector<std::string> onDesktop = OutOfPlace(now, *to.layout);
      const std::vector<std::string> inFile = OutOfPlace(stored, *from.layout);
      summary << "trip " << trip << " " << to.width << "x" << to.height << ": " << onDesktop.size()
              << " icons out of place, " << inFile.size() << " entries of the " << from.width << "x" << from.height
              << " file out of place; icons last moved " << lastMovedMs << " ms after the change\n";
      EXPECT_TRUE(onDesktop.empty()) << "desktop: " << Describe(onDesktop, now, *to.layout);
      EXPECT_TRUE(rewritten) << "the change writes the file of the resolution left";
      EXPECT_TRUE(inFile.empty()) << left << ": " << Describe(inFile, stored, *from.layout);
      // Tessaly is done with this change (it took its snapshot of the new
      // resolution) before the next one comes, as with a user.
      WaitForQuietView(desktop);
    }
  }
  std::printf("%s", summary.str().c_str());
}

// The pointer, as the user moves it: absolute, over the 1024x768 screen.
void Pointer(int x, int y, DWORD buttons = 0) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = (x * 65536 + 512) / 1024;
  input.mi.dy = (y * 65536 + 384) / 768;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &input, sizeof input);
}

// Drags the icon that stands at `from` (its place, as the view gives it) with
// the mouse so that it stands at `to`; returns when the button is up.
void DragWithTheMouse(std::pair<int, int> from, std::pair<int, int> to) {
  // A point on the icon's picture, above its label.
  const int dx = 37;
  const int dy = 18;
  Pointer(from.first + dx, from.second + dy);
  Sleep(200);
  Pointer(from.first + dx, from.second + dy, MOUSEEVENTF_LEFTDOWN);
  Sleep(200);
  for (int step = 1; step <= 10; ++step) {
    Pointer(from.first + dx + (to.first - from.first) * step / 10,
            from.second + dy + (to.second - from.second) * step / 10);
    Sleep(60);
  }
  Pointer(to.first + dx, to.second + dy, MOUSEEVENTF_LEFTUP);
}

// With the automatic save on, Tessaly follows the desktop by what happens to
// it: nobody at the desktop, nothing asks the shell anything; a file copied
// to the Desktop folder, and a drag with the mouse (which the view carries
// out on its own thread, unheard by the hook), are each looked at as soon as
// its rule allows (NextLookBy), and the next change writes the desktop as
// the user left it.
TEST_P(E2eRealShell, TheSnapshotFollowsTheFolderAndTheMouseAndAtRestTheShellIsLeftAlone) {
  const Places saved = RightGrid(icons, 1024, 9, 90, 80);
  ASSERT_NO_FATAL_FAILURE(Arrange(saved));
  ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoCapture=true\r\n"));
  ASSERT_TRUE(tessaly.Start());
  ASSERT_NO_FATAL_FAILURE(Save());
  WaitForLooksDone();

  const int restSeconds = GetParam() == Way::kInterface ? 60 : 20;
  const long atRest = desktop.Requests();
  Sleep(restSeconds * 1000);
  EXPECT_EQ(desktop.Requests(), atRest) << "requests of the shell in " << restSeconds << " s at rest";

  // A file arrives in the Desktop folder; the view shows it where it finds room.
  // (Nothing but Tessaly asks the desktop anything from outside: a request is
  // its look.)
  const std::string added = "追加メモ.txt";
  struct FileOnTheDesktop {
    std::string path;
    ~FileOnTheDesktop() { DeleteFileA(path.c_str()); }  // the next test's desktop starts on an empty folder
  } addedFile{ShellDesktop::DesktopFolder() + "\\" + added};
  const long beforeFile = desktop.Requests();
  ShellDesktop::RequestTiming timing;
  ASSERT_TRUE(desktop.RequestTimes(&timing));
  HANDLE file =
      CreateFileA(addedFile.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  // The change of the folder is the sign.
  const DWORD fileBy = NextLookBy(timing, GetTickCount());
  EXPECT_TRUE(WaitUntil([&] { return desktop.Requests() > beforeFile; }, fileBy))
      << "Tessaly looks at the desktop once it stood still after the file (look cost at most " << lookCostMs
      << " ms)";
  ASSERT_TRUE(WaitFor([&] { return PlacesOf(desktop.Icons()).count(added) == 1; })) << "the view shows the file";
  WaitForLooksDone();

  // A drag with the mouse.
  Places expected = PlacesOf(desktop.Icons());
  const std::string dragged = icons[5].name;
  const long beforeDrag = desktop.Requests();
  ASSERT_TRUE(desktop.RequestTimes(&timing));
  DragWithTheMouse(expected.at(dragged), {500, 400});
  // The input of the release is read, a sign, at the next reading at the
  // latest.
  const DWORD dragBy = NextLookBy(timing, GetTickCount() + kInputPollMs);
  Places now;
  ASSERT_TRUE(WaitFor([&] { return (now = PlacesOf(desktop.Icons())) != expected; })) << "the view moves the icon";
  expected = now;
  EXPECT_NE(expected.at(dragged), saved.at(dragged));
  EXPECT_TRUE(WaitUntil([&] { return desktop.Requests() > beforeDrag; }, dragBy))
      << "Tessaly looks at the desktop once it stood still after the button's release (look cost at most "
      << lookCostMs << " ms)";
  WaitForLooksDone();

  const std::string layout = LayoutFile(1024, 768);
  const unsigned long long written = LastWrite(layout);
  ASSERT_TRUE(ChangeResolution(800, 600));
  ASSERT_TRUE(WaitFor([&] { return LastWrite(layout) != written; })) << "the change writes the 1024x768 file";
  ASSERT_TRUE(WaitForFileSettled(layout));
  const Places stored = PlacesOf(ReadLayout(layout));
  const std::vector<std::string> inFile = OutOfPlace(stored, expected);
  EXPECT_TRUE(inFile.empty()) << Describe(inFile, stored, expected);
}

// Both automatic options on.  The shell crashes, and the new one arranges the
// icons itself; the desktop comes back from sleep, and a remote session
// connects, the shell having moved icons meanwhile (on its own thread, unheard
// by the hook): each time the icons go back where the user had them.
TEST_P(E2eRealShell, ANewShellAResumeAndASessionConnectPutTheIconsBack) {
  const Places saved = RightGrid(icons, 1024, 9, 90, 80);
  ASSERT_NO_FATAL_FAILURE(Arrange(saved));
  ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoCapture=true\r\nResolution_AutoRestore=true\r\n"));
  ASSERT_TRUE(tessaly.Start());
  WaitForQuietView(desktop);

  ASSERT_TRUE(desktop.Restart());
  ASSERT_NE(PlacesOf(desktop.Icons()), saved) << "the new shell arranges the icons itself";
  // Wine's COM keeps the class of the desktop that was killed registered
  // (CoCreateInstance answers RPC_S_SERVER_UNAVAILABLE, in any process), so
  // the new desktop is reached through its list view.
  interfaceMoves = false;
  ASSERT_TRUE(tessaly.AnnounceNewTaskbar());
  Places now;
  // The new shell is waited for up to kShellSettleBoundMs; 10 s more for a
  // busy machine.
  constexpr int kShellBackMs = static_cast<int>(kShellSettleBoundMs) + 10000;
  EXPECT_TRUE(WaitFor([&] { return (now = PlacesOf(desktop.Icons())) == saved; }, kShellBackMs))
      << "after the new shell: " << Describe(OutOfPlace(now, saved), now, saved);
  WaitForQuietView(desktop);

  struct Return {
    const char* what;
    UINT message;
    WPARAM event;
  } returns[] = {{"resume", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
                 {"remote connect", WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT}};
  for (const Return& r : returns) {
    SCOPED_TRACE(r.what);
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(desktop.Move(i, 400 + 20 * i, 300 + 10 * i));
    ASSERT_TRUE(tessaly.Post(r.message, r.event));
    EXPECT_TRUE(WaitFor([&] { return (now = PlacesOf(desktop.Icons())) == saved; }, kShellBackMs))
        << Describe(OutOfPlace(now, saved), now, saved);
    WaitForQuietView(desktop);
  }
}

// Where each icon stands, by parsing name (unique on a desktop).
Places ItemPlaces(const std::vector<testsupport::ShellIcon>& items) {
  Places places;
  for (const testsupport::ShellIcon& item : items) places[item.parsingName] = {item.x, item.y};
  return places;
}

std::string Utf8(const std::wstring& text) {
  std::string bytes(text.size() * 4, '\0');
  bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                       bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
  return bytes;
}

// Icons that read alike: extensions hidden (two "report", two "予算"), and
// names that code page 932 cannot hold ("€ budget" and "₩ budget" both read
// "? budget", the emoji "?? smile", Korean names of one length "??", "Café"
// reads "Cafe"); and six icons of names of their own.
std::vector<std::wstring> LookAlikeFiles() {
  return {L"report.txt",   L"report.ini",    L"予算.txt",      L"予算.xls",   L"€ budget.txt", L"₩ budget.txt",
          L"😀 smile.txt", L"😁 smile.txt", L"가나.txt",      L"다라.txt",   L"Café.txt",     L"Cafe.txt",
          L"議事録.txt",   L"notes.txt",     L"写真.jpg",      L"memo.doc",   L"地図.txt",     L"plan.txt"};
}

// Save, scramble, Restore on a desktop of look-alike icons: through the
// shell's interface each icon comes back to its own place (the parsing name
// tells them apart); through the list view, every icon whose whole name is
// its own does (the two "report" and the two "予算" show the same text and
// pair in position order).  A second Restore of the unchanged desktop moves
// nothing.
TEST_P(E2eRealShell, LookAlikeIconsComeBackToTheirOwnPlaces) {
  desktop.Quit();
  ASSERT_TRUE(ShellDesktop::HideExtensions());
  ASSERT_TRUE(desktop.Start(LookAlikeFiles()));
  const std::vector<testsupport::ShellIcon> items = desktop.Items();
  std::map<std::string, int> shown;
  for (const testsupport::ShellIcon& item : items) ++shown[item.name];
  ASSERT_EQ(shown["report"], 2) << "extensions are hidden";

  // Places against the view's order, by parsing name.
  Places saved;
  for (size_t i = 0; i < items.size(); ++i) {
    saved[items[i].parsingName] = {1024 - 100 - static_cast<int>(i / 8) * 90, 20 + static_cast<int>(i % 8) * 80};
  }
  const auto arrange = [&](const Places& places) {
    const std::vector<testsupport::ShellIcon> now = desktop.Items();
    for (size_t i = 0; i < now.size(); ++i) {
      const auto& at = places.at(now[i].parsingName);
      ASSERT_TRUE(desktop.Move(static_cast<int>(i), at.first, at.second));
    }
    ASSERT_EQ(ItemPlaces(desktop.Items()), places);
  };
  ASSERT_NO_FATAL_FAILURE(arrange(saved));
  ASSERT_TRUE(tessaly.Start());
  ASSERT_NO_FATAL_FAILURE(Save());

  // Each look-alike changes places with its twin, the hardest case for a
  // pairing by name; the other icons move on by one place.
  Places scrambled = saved;
  const std::vector<std::wstring> files = LookAlikeFiles();
  for (size_t pair = 0; pair + 1 < 12; pair += 2) {
    const std::string first = Utf8(files[pair]);
    const std::string second = Utf8(files[pair + 1]);
    std::swap(scrambled.at(first), scrambled.at(second));
  }
  std::vector<std::string> others;
  for (const auto& [name, at] : saved) {
    if (std::find_if(files.begin(), files.begin() + 12, [&](const std::wstring& f) { return Utf8(f) == name; }) ==
        files.begin() + 12) {
      others.push_back(name);
    }
  }
  for (size_t i = 0; i < others.size(); ++i) scrambled[others[i]] = saved.at(others[(i + 1) % others.size()]);
  ASSERT_NO_FATAL_FAILURE(arrange(scrambled));

  // What must come back: every icon, or through the list view those whose
  // text no other icon shows.
  Places expected;
  for (const testsupport::ShellIcon& item : items) {
    if (GetParam() == Way::kInterface || shown[item.name] == 1) expected[item.parsingName] = saved[item.parsingName];
  }
  const auto outOfPlace = [&] { return OutOfPlace(ItemPlaces(desktop.Items()), expected); };
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
  EXPECT_TRUE(WaitFor([&] { return outOfPlace().empty(); }))
      << Describe(outOfPlace(), ItemPlaces(desktop.Items()), expected);
  WaitForQuietView(desktop);

  const long moved = desktop.Moves();
  const Places before = ItemPlaces(desktop.Items());
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
  const long asked = desktop.Requests();
  WaitFor([&] { return desktop.Requests() > asked; }, 10000);
  WaitForQuietView(desktop);
  EXPECT_EQ(desktop.Moves(), moved) << "a restore of the unchanged desktop moves nothing";
  EXPECT_EQ(ItemPlaces(desktop.Items()), before);
}

// Auto arrange on, as the shell's interface tells it: a restore moves nothing
// and says why; the command line answers 1.
class E2eRealShellAutoArrange : public E2eRealShell {};

TEST_P(E2eRealShellAutoArrange, IsToldAndNothingMoves) {
  const Places saved = RightGrid(icons, 1024, 9, 90, 80);
  ASSERT_NO_FATAL_FAILURE(Arrange(saved));
  ASSERT_TRUE(tessaly.Start());
  ASSERT_NO_FATAL_FAILURE(Save());
  ASSERT_TRUE(desktop.Move(3, 500, 400));
  ASSERT_TRUE(desktop.SetInterface("autoarrange"));
  const long moved = desktop.Moves();
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
  HWND box = tessaly.WaitForDialog("エラー - Pavane");
  ASSERT_NE(box, nullptr);
  EXPECT_NE(MessageBoxText(box).find("アイコンの自動整列"), std::string::npos) << MessageBoxText(box);
  PressOk(box);
  Tessaly command;
  ASSERT_TRUE(command.Start(false, "/restore"));
  int exitCode = -99;
  ASSERT_TRUE(command.WaitExit(&exitCode, 60000));
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(desktop.Moves(), moved) << "no icon was moved";
  ASSERT_TRUE(desktop.SetInterface("serve"));
}

INSTANTIATE_TEST_SUITE_P(Interface, E2eRealShellAutoArrange, ::testing::Values(Way::kInterface));
INSTANTIATE_TEST_SUITE_P(Interface, E2eRealShell, ::testing::Values(Way::kInterface));
INSTANTIATE_TEST_SUITE_P(ListView, E2eRealShell, ::testing::Values(Way::kListView));

// The lock on, through the shell's interface.  A put-back comes once the
// desktop has stood still (500 ms), at the next look tick (250 ms), at least
// a look's spacing (1 s, or 50 times what a look costs) after the last look:
// each test waits for the icons themselves, with the generous limit of
// WaitFor (20 s), or, where nothing may happen, for kNothingHappensMs.
class E2eRealShellLock : public E2eRealShell {
 protected:
  // A look would come within the quiet time, the look tick and the spacing
  // (kLookSpacingMs; the looks of this desktop cost far less than a fiftieth
  // of it), and 2.5 s of margin: a check that nothing happens, which a busy
  // machine can only make weaker.
  static constexpr int kNothingHappensMs = static_cast<int>(kStillMs + kLookTickMs + kLookSpacingMs) + 2500;

  // Runs Tessaly.exe with `arguments` as a command for the running copy.
  static int Command(const std::string& arguments) {
    Tessaly command;
    if (!command.Start(false, arguments)) return -98;
    int exitCode = -99;
    return command.WaitExit(&exitCode, 60000) ? exitCode : -97;
  }
  // Waits until every icon of `expected` stands there.
  void ExpectIconsAt(const Places& expected) {
    Places now;
    EXPECT_TRUE(WaitFor([&] { return OutOfPlace(now = PlacesOf(desktop.Icons()), expected).empty(); }))
        << Describe(OutOfPlace(now, expected), now, expected);
  }
  // Drags the icon with the mouse, and waits until the view has moved it.
  void Drag(const std::string& name, std::pair<int, int> to) {
    const Places before = PlacesOf(desktop.Icons());
    DragWithTheMouse(before.at(name), to);
    ASSERT_TRUE(WaitFor([&] { return PlacesOf(desktop.Icons()).at(name) != before.at(name); }))
        << "the view moves " << name;
  }
  static void MakeFile(const std::string& name) {
    HANDLE file = CreateFileA((ShellDesktop::DesktopFolder() + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
    CloseHandle(file);
  }
  // The user's click on an empty place of the desktop: a sign for the watch
  // where the mouse cannot drag (a Wine virtual desktop after a change of
  // resolution).
  static void ClickOnTheDesktop() {
    Pointer(300, 600);
    Pointer(300, 600, MOUSEEVENTF_LEFTDOWN);
    Sleep(50);
    Pointer(300, 600, MOUSEEVENTF_LEFTUP);
  }
};

// /lock holds the layout: a drag with the mouse, the view's own arrangement
// (F5), a file arriving (the view shows it where it finds room; Wine's view
// arranges the others anew, and the lock puts them back), a file deleted and
// made again: each time every icon ends where the user put it, and the new
// file where it appeared.  /unlock, and a drag stays; /lock again, and
// Tessaly restarted still holds.
TEST_P(E2eRealShellLock, HoldsTheIconsWhereTheUserPutThem) {
  Places saved = RightGrid(icons, 1024, 9, 90, 80);
  ASSERT_NO_FATAL_FAILURE(Arrange(saved));
  ASSERT_TRUE(tessaly.Start());
  const std::string file = CurrentLayoutFile();
  ASSERT_EQ(Command("/lock"), 0);
  ASSERT_TRUE(WaitForFileSettled(file));
  EXPECT_EQ(PlacesOf(ReadLayout(file)), saved);
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Lock_Icons"), "true");
  const std::string dragged = icons[5].name;
  {
    SCOPED_TRACE("a drag with the mouse");
    ASSERT_NO_FATAL_FAILURE(Drag(dragged, {500, 400}));
    ExpectIconsAt(saved);
  }
  {
    SCOPED_TRACE("the view arranges every icon itself");
    ASSERT_TRUE(desktop.Refresh());
    // The user's F5 is input with the desktop in front; the test desktop's
    // refresh comes without, and a click stands for it.
    ClickOnTheDesktop();
    ExpectIconsAt(saved);
  }
  const std::string added = "追加メモ.txt";
  struct FilesOnTheDesktop {
    std::vector<std::string> paths;
    ~FilesOnTheDesktop() {  // the next test's desktop starts on an empty folder
      for (const std::string& path : paths) DeleteFileA(path.c_str());
    }
  } addedFiles{{ShellDesktop::DesktopFolder() + "\\" + added}};
  {
    SCOPED_TRACE("a file arrives, and is dragged");
    ASSERT_NO_FATAL_FAILURE(MakeFile(added));
    ASSERT_TRUE(WaitFor([&] { return PlacesOf(desktop.Icons()).count(added) == 1; })) << "the view shows the file";
    ExpectIconsAt(saved);
    EXPECT_TRUE(WaitFor([&] { return PlacesOf(ReadLayout(file)).count(added) == 1; })) << "the file holds it";
    WaitForQuietView(desktop);
    saved[added] = PlacesOf(desktop.Icons()).at(added);
    EXPECT_EQ(PlacesOf(ReadLayout(file)), saved);
    ASSERT_NO_FATAL_FAILURE(Drag(added, {500, 400}));
    ExpectIconsAt(saved);
  }
  {
    SCOPED_TRACE("a file deleted and made again");
    const std::string again = FileNames()[3];
    ASSERT_EQ(saved.count(again), 1u) << again;
    ASSERT_TRUE(DeleteFileA((ShellDesktop::DesktopFolder() + "\\" + again).c_str()));
    ASSERT_TRUE(WaitFor([&] { return PlacesOf(desktop.Icons()).count(again) == 0; })) << "the view drops it";
    WaitForQuietView(desktop);
    ASSERT_NO_FATAL_FAILURE(MakeFile(again));
    ExpectIconsAt(saved);
  }
  WaitForQuietView(desktop);
  {
    SCOPED_TRACE("/unlock: a drag stays");
    ASSERT_EQ(Command("/unlock"), 0);
    EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Lock_Icons"), "false");
    ASSERT_NO_FATAL_FAILURE(Drag(dragged, {500, 400}));
    const Places moved = PlacesOf(desktop.Icons());
    const long asked = desktop.Requests();
    Sleep(kNothingHappensMs);
    EXPECT_EQ(PlacesOf(desktop.Icons()), moved);
    EXPECT_EQ(desktop.Requests(), asked) << "the lock off, nothing asks the shell";
    saved = moved;
  }
  {
    SCOPED_TRACE("/lock, and Tessaly restarted: still locked, holding");
    ASSERT_EQ(Command("/lock"), 0);
    int exitCode = -99;
    ASSERT_TRUE(tessaly.Close(&exitCode));
    ASSERT_TRUE(tessaly.Start());
    WaitForQuietView(desktop);
    ASSERT_NO_FATAL_FAILURE(Drag(dragged, {300, 200}));
    ExpectIconsAt(saved);
  }
}

// A change of resolution and back with the lock on, the automatic options
// off: each resolution's layout comes back and is held.
TEST_P(E2eRealShellLock, EachResolutionsLayoutIsHeld) {
  const Places layout1024 = RightGrid(icons, 1024, 9, 90, 80);
  const Places layout800 = RightGrid(icons, 800, 8, 80, 70);
  ASSERT_NO_FATAL_FAILURE(Arrange(layout1024));
  ASSERT_TRUE(WriteLayout(LayoutFile(1024, 768), IconsOf(layout1024)));  // held since an earlier run
  ASSERT_TRUE(WriteLayout(LayoutFile(800, 600), IconsOf(layout800)));
  ASSERT_TRUE(WriteSettings("[General]\r\nLock_Icons=true\r\n"));
  ASSERT_TRUE(tessaly.Start());
  WaitForQuietView(desktop);

  ASSERT_TRUE(ChangeResolution(800, 600));
  int lastMovedMs = 0;
  Places now = WaitForSettledDesktop(desktop, layout800, &lastMovedMs);
  EXPECT_EQ(OutOfPlace(now, layout800), std::vector<std::string>()) << Describe(OutOfPlace(now, layout800), now, layout800);
  WaitForQuietView(desktop);
  // The mouse does not drag on a Wine virtual desktop after a change of
  // resolution: the view moves the icon on its own thread, and a click on
  // the desktop is the sign.
  ASSERT_TRUE(desktop.Move(3, 300, 300));
  ClickOnTheDesktop();
  ExpectIconsAt(layout800);
  WaitForQuietView(desktop);

  ASSERT_TRUE(ChangeResolution(1024, 768));
  now = WaitForSettledDesktop(desktop, layout1024, &lastMovedMs);
  EXPECT_EQ(OutOfPlace(now, layout1024), std::vector<std::string>()) << Describe(OutOfPlace(now, layout1024), now, layout1024);
  EXPECT_EQ(PlacesOf(ReadLayout(LayoutFile(800, 600))), layout800) << "the 800x600 layout stays in its file";
  EXPECT_EQ(PlacesOf(ReadLayout(LayoutFile(1024, 768))), layout1024) << "the 1024x768 layout stays in its file";
}

// Auto arrange on, as the shell's interface tells it: the lock moves nothing
// and asks no more once it has looked; Auto arrange off again, the next sign
// puts the icon back.
TEST_P(E2eRealShellLock, UnderAutoArrangeNothingMovesAndNothingLoops) {
  const Places saved = RightGrid(icons, 1024, 9, 90, 80);
  ASSERT_NO_FATAL_FAILURE(Arrange(saved));
  ASSERT_TRUE(WriteLayout(LayoutFile(1024, 768), IconsOf(saved)));
  ASSERT_TRUE(WriteSettings("[General]\r\nLock_Icons=true\r\n"));
  ASSERT_TRUE(tessaly.Start());
  WaitForQuietView(desktop);
  ASSERT_TRUE(desktop.Move(3, 500, 400));
  ASSERT_TRUE(desktop.SetInterface("autoarrange"));
  const long moved = desktop.Moves();
  const long asked = desktop.Requests();
  ClickOnTheDesktop();
  EXPECT_TRUE(WaitFor([&] { return desktop.Requests() > asked; })) << "Tessaly looks";
  WaitForQuietView(desktop);
  const long looked = desktop.Requests();
  Sleep(kNothingHappensMs);
  EXPECT_EQ(desktop.Requests(), looked) << "no loop";
  EXPECT_EQ(desktop.Moves(), moved) << "no icon was moved";
  ASSERT_TRUE(desktop.SetInterface("serve"));
  ClickOnTheDesktop();
  ExpectIconsAt(saved);
}

INSTANTIATE_TEST_SUITE_P(Interface, E2eRealShellLock, ::testing::Values(Way::kInterface));

// The shell's interface answers, but not for the desktop Tessaly looks at, or
// not with what Tessaly needs: Tessaly goes through the list view, and a
// Restore puts a moved icon back.
class E2eRealShellFallback : public E2eRealShell {};

TEST_P(E2eRealShellFallback, AnInterfaceThatDoesNotServeTheDesktopLeavesItToTheListView) {
  interfaceMoves = false;
  const Places saved = RightGrid(icons, 1024, 9, 90, 80);
  ASSERT_NO_FATAL_FAILURE(Arrange(saved));
  for (const char* mode : {"otherwindow", "nowindow", "nopositions", "absent"}) {
    SCOPED_TRACE(mode);
    ASSERT_TRUE(desktop.SetInterface(mode));
    // A new Tessaly asks the shell afresh.
    ASSERT_TRUE(tessaly.Start());
    ASSERT_NO_FATAL_FAILURE(Save());
    ASSERT_TRUE(desktop.Move(3, 500, 400));
    const long moved = desktop.ForeignMoves();
    RestoreAndExpect(saved);
    EXPECT_GT(desktop.ForeignMoves(), moved) << "the list view moved the icon back";
    int exitCode = -99;
    ASSERT_TRUE(tessaly.Close(&exitCode));
  }
}

INSTANTIATE_TEST_SUITE_P(Interface, E2eRealShellFallback, ::testing::Values(Way::kInterface));

// Two monitors on the X server of this group (a primary of 1024 x 768 and a
// monitor of 800 x 600 right of it, top-aligned), the shell desktop spanning
// both, both automatic options on.  Through detaching, attaching and
// rearranging the second monitor, each icon stays on its own monitor at its
// place on it; no restore leaves an icon where no monitor shows it.
class E2eMonitors : public ::testing::Test {
 protected:
  static constexpr int kPrimaryWidth = 1024;
  static constexpr int kPrimaryHeight = 768;

  void SetUp() override {
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "this group runs on an X server of two monitors";
    ASSERT_TRUE(ShellDesktop::ServeShellInterface());
    std::vector<std::string> files;
    for (int i = 0; i < 10; ++i) files.push_back("file" + std::to_string(i) + ".txt");
    ASSERT_TRUE(desktop.Start(files)) << "the Desktop folder must be a folder of this prefix, and empty";
    // Half the icons on each monitor.
    const std::vector<DesktopIcon> icons = desktop.Icons();
    for (size_t i = 0; i < icons.size(); ++i) {
      const int n = static_cast<int>(i / 2);
      const bool second = i % 2 == 1;
      saved[icons[i].name] = {(second ? kPrimaryWidth + 100 : 120) + n % 3 * 100, 40 + n / 3 * 90};
      onSecond[icons[i].name] = second;
    }
    for (size_t i = 0; i < icons.size(); ++i) {
      const auto& at = saved.at(icons[i].name);
      ASSERT_TRUE(desktop.Move(static_cast<int>(i), at.first, at.second));
    }
    ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoCapture=true\r\nResolution_AutoRestore=true\r\n"));
    ASSERT_TRUE(tessaly.Start());
    ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
    ASSERT_TRUE(WaitForFileSettled(savedFile = CurrentLayoutFile()));
    WaitForQuietView(desktop);
  }
  void TearDown() override {
    if (tessaly.Running()) {
      int exitCode = -99;
      EXPECT_TRUE(tessaly.Close(&exitCode));
    }
    PlaceSecondMonitor(kPrimaryWidth, 0, 800, 600);
  }

  // Moves the second monitor (a width of 0 detaches it), as Display
  // Settings do.
  static bool PlaceSecondMonitor(int left, int top, int width, int height) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPosition = {left, top};
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    return ChangeDisplaySettingsExA("\\\\.\\DISPLAY2", &mode, nullptr, CDS_UPDATEREGISTRY | CDS_NORESET, nullptr) ==
               DISP_CHANGE_SUCCESSFUL &&
           ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL;
  }

  // The saved icons of the primary where they were, and those of the second
  // monitor shifted by (dx, dy) with it (with `second` false, left out).
  Places Expected(bool second, int dx = 0, int dy = 0) const {
    Places expected;
    for (const auto& [name, at] : saved) {
      if (!onSecond.at(name)) {
        expected[name] = at;
      } else if (second) {
        expected[name] = {at.first + dx, at.second + dy};
      }
    }
    return expected;
  }

  // Waits until Tessaly is done with the change (kRestingMs, kUnsettledMs),
  // the icons at `expected`.
  void ExpectAfterChange(const Places& expected) {
    Places last = PlacesOf(desktop.Icons());
    int lastMoved = 0;
    for (int waited = 0; waited < kChangeLimitMs; waited += 200) {
      const int stableFor = waited - lastMoved;
      if ((OutOfPlace(last, expected).empty() && stableFor >= kRestingMs) || stableFor >= kUnsettledMs) break;
      Sleep(200);
      const Places now = PlacesOf(desktop.Icons());
      if (now != last) lastMoved = waited + 200;
      last = now;
    }
    const std::vector<std::string> wrong = OutOfPlace(last, expected);
    EXPECT_TRUE(wrong.empty()) << Describe(wrong, last, expected);
    ExpectEveryIconOnAMonitor(last);
    WaitForQuietView(desktop);
  }

  static void ExpectEveryIconOnAMonitor(const Places& places) {
    for (const auto& [name, at] : places) {
      const POINT point = {at.first + GetSystemMetrics(SM_XVIRTUALSCREEN),
                           at.second + GetSystemMetrics(SM_YVIRTUALSCREEN)};
      EXPECT_NE(MonitorFromPoint(point, MONITOR_DEFAULTTONULL), nullptr)
          << name << " at (" << at.first << ", " << at.second << ") is on no monitor";
    }
  }

  ShellDesktop desktop;
  Tessaly tessaly;
  Places saved;
  std::map<std::string, bool> onSecond;
  std::string savedFile;
};

TEST_F(E2eMonitors, EveryIconStaysOnItsMonitorThroughUndockingDockingAndRearranging) {
  ASSERT_TRUE(ProfileValue(savedFile, "QVD-Monitors", "MonitorCount") == "2") << savedFile;

  {
    SCOPED_TRACE("second monitor detached: the primary's icons stay in place");
    ASSERT_TRUE(PlaceSecondMonitor(0, 0, 0, 0));
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    ExpectAfterChange(Expected(false));
  }
  {
    SCOPED_TRACE("attached again: every icon back");
    ASSERT_TRUE(PlaceSecondMonitor(kPrimaryWidth, 0, 800, 600));
    ExpectAfterChange(Expected(true));
    EXPECT_EQ(CurrentLayoutFile(), savedFile);
  }
  {
    SCOPED_TRACE("moved below the primary: its icons go with it");
    ASSERT_TRUE(PlaceSecondMonitor(0, kPrimaryHeight, 800, 600));
    ExpectAfterChange(Expected(true, -kPrimaryWidth, kPrimaryHeight));
  }
  {
    SCOPED_TRACE("right again, bottom-aligned: the same whole size, another setup");
    ASSERT_TRUE(PlaceSecondMonitor(kPrimaryWidth, kPrimaryHeight - 600, 800, 600));
    ExpectAfterChange(Expected(true, 0, kPrimaryHeight - 600));
    EXPECT_NE(CurrentLayoutFile(), savedFile);
  }
  {
    SCOPED_TRACE("top-aligned again: its own file, untouched by the others");
    ASSERT_TRUE(PlaceSecondMonitor(kPrimaryWidth, 0, 800, 600));
    ExpectAfterChange(Expected(true));
  }
}

// A file of the two monitors, of an earlier version (points alone), restored
// with the second monitor detached: the icons it places off the primary stay
// where the shell has them.
TEST_F(E2eMonitors, ARestoreOfALargerSetupsFileLeavesNoIconOutsideTheMonitors) {
  ASSERT_TRUE(PlaceSecondMonitor(0, 0, 0, 0));
  ExpectAfterChange(Expected(false));
  const std::string earlier = SettingsFolder() + "\\earlier.qvd";
  ASSERT_TRUE(WriteLayout(earlier, IconsOf(saved)));
  desktop.Refresh();  // the shell arranges the icons anew
  Tessaly command;
  ASSERT_TRUE(command.Start(false, "/restore \"" + earlier + "\""));
  int exitCode = -99;
  ASSERT_TRUE(command.WaitExit(&exitCode, 60000));
  EXPECT_EQ(exitCode, 0);
  ExpectAfterChange(Expected(false));
}

}  // namespace
}  // namespace e2e
