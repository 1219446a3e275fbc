// demo_runner.exe: shows Tessaly doing its job, the way a user and the shell
// would see it, and checks the result.
//
//   demo_runner.exe --tessaly PATH --out FOLDER [--icons N] [--no-screenshots]
//
// Runs on a Wine virtual desktop of 1024x768, on a real desktop: the shell
// desktop (shell_desktop.exe) hosts the system's own view of the Desktop
// folder, which holds N files of Japanese and ASCII names, some of which show
// the same name once extensions are hidden (as Windows hides them), beside
// the folders Wine shows on every desktop; the prefix sends the shell's
// interface to it, so that Tessaly reaches the icons as on today's Windows.
// It ticks the automatic restore and capture at a resolution change in
// Tessaly.ini, starts Tessaly.exe, and then, only through Tessaly's window
// messages and the desktop's icons:
//   1. arranges the icons and Saves (menu command 40001)  -> 01-saved.bmp
//   2. scrambles the icons                   -> 02-scrambled.bmp
//   3. Restore (40002)                       -> 03-restored.bmp
//   4. changes the resolution to 800x600; the view arranges its icons for
//      the smaller screen itself             -> 04-800x600.bmp
//   5. changes it back to 1024x768; Tessaly writes the 800x600 snapshot and
//      restores the 1024x768 layout          -> 05-1024x768.bmp
//   6. opens the tray menu as a right click on the tray icon would
//                                            -> 06-tray-menu.bmp (its layouts at hand open)
//   7. moves a few icons, Restores, and Undoes (40009): the moved icons are
//      back where the user had put them      -> 07-undo.bmp
//   8. ends Tessaly, sets Language=en in Tessaly.ini, starts it again and
//      opens the tray menu: the menu of an English Windows
//                                            -> 08-tray-menu-en.bmp
// Each check reads the desktop back, icon by icon (by the file each one is).
// The report goes to standard output and to FOLDER\report.txt; the exit code
// is 0 only when every check held.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/shell_desktop_client.h"

namespace {

using testsupport::ChangeResolution;

using testsupport::ShellIcon;

const UINT kSaveCommand = 40001;
const UINT kRestoreCommand = 40002;
const UINT kUndoCommand = 40009;
const UINT kTrayCallback = 0x8065;
const UINT kTrayIconId = 102;

std::string outFolder;
std::string report;

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  report += line + "\n";
}

// File names: Japanese and ASCII, with and without extensions; the pairs
// "報告書" and "readme" show one name each once extensions are hidden.
std::vector<std::wstring> DemoFiles(int count) {
  static const wchar_t* const names[] = {
      L"報告書.txt", L"報告書.doc", L"readme.txt", L"readme.md", L"表計算.xls", L"メモ.txt", L"予定表.txt",
      L"Project.txt", L"写真アルバム.jpg", L"請求書.pdf", L"Photos.txt", L"会議資料.ppt", L"Tools.txt",
      L"音声メモ.wav", L"backup.zip", L"旅行の計画.txt", L"Notes.txt", L"見積書.doc", L"Games.txt", L"地図.png"};
  const int kNames = sizeof names / sizeof names[0];
  std::vector<std::wstring> files;
  for (int i = 0; i < count; ++i) {
    std::wstring name = names[i % kNames];
    if (i >= kNames) {
      const size_t dot = name.rfind(L'.');
      name.insert(dot, L" (" + std::to_wstring(i / kNames + 1) + L")");
    }
    files.push_back(name);
  }
  return files;
}

// Where each icon stands, by the file (or shell item) it is.
using Places = std::map<std::string, std::pair<int, int>>;

Places PlacesOf(const std::vector<ShellIcon>& icons) {
  Places places;
  for (const ShellIcon& icon : icons) places[icon.parsingName] = {icon.x, icon.y};
  return places;
}

Places PlacesNow(testsupport::ShellDesktop& desktop) { return PlacesOf(desktop.Items()); }

// Places the icons as the user drags them: the view moves them itself.
void Arrange(testsupport::ShellDesktop& desktop, const Places& places) {
  const std::vector<ShellIcon> icons = desktop.Items();
  for (size_t i = 0; i < icons.size(); ++i) {
    auto found = places.find(icons[i].parsingName);
    if (found != places.end()) desktop.Move(static_cast<int>(i), found->second.first, found->second.second);
  }
}

int CountInPlace(const Places& now, const Places& wanted) {
  int inPlace = 0;
  for (const auto& [name, at] : wanted) {
    auto found = now.find(name);
    if (found != now.end() && found->second == at) ++inPlace;
  }
  return inPlace;
}

std::string AppDataFile(const char* name) {
  char folder[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::string(folder) + "\\Brindle-Works\\Tessaly\\" + name;
}

std::string LayoutFile(int width, int height) {
  return AppDataFile(("default." + std::to_string(width) + "x" + std::to_string(height) + ".qvd").c_str());
}

// Writes Tessaly.ini before Tessaly starts: the automatic restore and capture
// at a resolution change on, the start-up restore off.
bool WriteSettings() {
  std::string folder = AppDataFile("");
  std::string maker = folder.substr(0, folder.rfind('\\', folder.size() - 2));
  CreateDirectoryA(maker.c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string ini = AppDataFile("Tessaly.ini");
  return WritePrivateProfileStringA("General", "Start_AutoRestore", "false", ini.c_str()) &&
         WritePrivateProfileStringA("General", "Resolution_AutoRestore", "true", ini.c_str()) &&
         WritePrivateProfileStringA("General", "Resolution_AutoCapture", "true", ini.c_str());
}

// Saves what the screen shows as a 24-bit BMP in the output folder.
void Screenshot(const char* name, bool enabled);

// Opens the tray menu as the shell reports a right click on the tray icon,
// with its list of the layouts at hand open (access key L), takes its
// picture and closes it.
void ShowTrayMenu(HWND tessalyWindow, const std::string& step, const char* picture) {
  SetCursorPos(700, 520);
  PostMessageA(tessalyWindow, kTrayCallback, kTrayIconId, WM_RBUTTONDOWN);
  HWND menu = nullptr;
  for (int waited = 0; waited < 5000 && !menu; waited += 50) {
    Sleep(50);
    menu = FindWindowA("#32768", nullptr);
  }
  if (menu) {
    PostMessageA(menu, WM_CHAR, 'L', 0);
    Sleep(500);
  }
  Say(step + (menu ? "opened, with its layouts at hand" : "did NOT open"));
  Screenshot(picture, true);
  if (menu) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  if (menu) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  Sleep(300);
}

void Screenshot(const char* name, bool enabled) {
  if (!enabled) return;
  Sleep(300);  // let the desktop repaint after the last move
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  GdiFlush();

  DWORD stride = ((width * 3 + 3) / 4) * 4;
  DWORD imageSize = stride * height;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageSize;
  info.bmiHeader.biSizeImage = imageSize;
  std::string path = outFolder + "\\" + name + ".bmp";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f);
    std::fwrite(bits, 1, imageSize, f);
    std::fclose(f);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

HWND WaitForTessalyWindow(HANDLE process) {
  for (int waited = 0; waited < 30000; waited += 50) {
    if (HWND w = FindWindowA("CID_TESSALY", "Pavane")) return w;
    if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0) break;
  }
  return nullptr;
}

// Waits until the file exists and its last write time has stayed the same
// for half a second (Tessaly writes a layout key by key).
bool WaitForFileWritten(const std::string& path, const FILETIME* newerThan, int timeoutMs) {
  FILETIME last = {};
  int stableFor = 0;
  for (int waited = 0; waited < timeoutMs; waited += 100) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
        (!newerThan || CompareFileTime(&data.ftLastWriteTime, newerThan) > 0)) {
      if (CompareFileTime(&data.ftLastWriteTime, &last) == 0) {
        stableFor += 100;
        if (stableFor >= 500) return true;
      } else {
        last = data.ftLastWriteTime;
        stableFor = 0;
      }
    }
    Sleep(100);
  }
  return false;
}

FILETIME WriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

// Waits until every icon stands at its wanted place, or until nothing has
// moved for two seconds.  Returns the number of icons in place.
int WaitForIconsBack(testsupport::ShellDesktop& desktop, const Places& wanted, int timeoutMs) {
  Places previous;
  int quietFor = 0;
  for (int waited = 0; waited < timeoutMs; waited += 100) {
    const Places now = PlacesNow(desktop);
    if (CountInPlace(now, wanted) == static_cast<int>(wanted.size())) return static_cast<int>(wanted.size());
    quietFor = now == previous ? quietFor + 100 : 0;
    if (quietFor >= 2000) break;
    previous = now;
    Sleep(100);
  }
  return CountInPlace(PlacesNow(desktop), wanted);
}

// Waits until Tessaly has asked the desktop nothing for `quietMs`.
void WaitForQuietDesktop(testsupport::ShellDesktop& desktop, int quietMs, int timeoutMs) {
  long last = desktop.Requests();
  int quietFor = 0;
  for (int waited = 0; waited < timeoutMs && quietFor < quietMs; waited += 100) {
    Sleep(100);
    const long now = desktop.Requests();
    quietFor = now == last ? quietFor + 100 : 0;
    last = now;
  }
}

void ReportFiles() {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(AppDataFile("*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      Say("  file written: %APPDATA%\\Brindle-Works\\Tessaly\\" + std::string(found.cFileName) + " (" +
          std::to_string(found.nFileSizeLow) + " bytes)");
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

int main(int argc, char** argv) {
  std::string tessaly;
  int iconCount = 40;
  bool screenshots = true;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--tessaly" && i + 1 < argc) tessaly = argv[++i];
    else if (arg == "--out" && i + 1 < argc) outFolder = argv[++i];
    else if (arg == "--icons" && i + 1 < argc) iconCount = std::atoi(argv[++i]);
    else if (arg == "--no-screenshots") screenshots = false;
  }
  if (tessaly.empty() || outFolder.empty() || iconCount < 2) {
    std::fprintf(stderr, "usage: demo_runner --tessaly PATH --out FOLDER [--icons N] [--no-screenshots]\n");
    return 2;
  }
  CreateDirectoryA(outFolder.c_str(), nullptr);
  DWORD start = GetTickCount();
  bool ok = true;

  if (GetSystemMetrics(SM_CXSCREEN) != 1024 || GetSystemMetrics(SM_CYSCREEN) != 768) ChangeResolution(1024, 768);
  Say("screen: " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
      std::to_string(GetSystemMetrics(SM_CYSCREEN)));

  testsupport::ShellDesktop::HideExtensions();
  if (!testsupport::ShellDesktop::ServeShellInterface()) Say("warning: the shell's interface could not be served; the list view serves");
  testsupport::ShellDesktop desktop;
  if (!desktop.Start(DemoFiles(iconCount))) {
    Say("FAILED: the shell desktop did not start (its Desktop folder must be empty)");
    return 1;
  }
  // The user's arrangement: columns from the right edge, against the view's
  // own order, which fills columns from the left.
  const std::vector<ShellIcon> icons = desktop.Items();
  Places saved;
  for (size_t i = 0; i < icons.size(); ++i) {
    saved[icons[i].parsingName] = {1024 - 110 - static_cast<int>(i / 8) * 100, 8 + static_cast<int>(i % 8) * 90};
  }
  Arrange(desktop, saved);
  if (!WriteSettings()) Say("warning: Tessaly.ini could not be written");

  std::string command = "\"" + tessaly + "\"";
  STARTUPINFOA si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    Say("FAILED: Tessaly.exe did not start: " + tessaly);
    return 1;
  }
  CloseHandle(pi.hThread);
  HWND tessalyWindow = WaitForTessalyWindow(pi.hProcess);
  if (!tessalyWindow) {
    Say("FAILED: Tessaly's window did not appear");
    TerminateProcess(pi.hProcess, 1);
    return 1;
  }
  const int total = static_cast<int>(saved.size());

  // 1. Save.
  std::string layout1024 = LayoutFile(1024, 768);
  PostMessageA(tessalyWindow, WM_COMMAND, kSaveCommand, 0);
  if (!WaitForFileWritten(layout1024, nullptr, 20000)) {
    Say("FAILED: Save wrote no layout file");
    ok = false;
  }
  int savedCount = GetPrivateProfileIntA("QVD-Data", "IconCount", -1, layout1024.c_str());
  Say("1. saved: " + std::to_string(savedCount) + " icons (" + std::to_string(iconCount) +
      " files and the shell's own) in default.1024x768.qvd");
  if (savedCount != total) ok = false;
  Screenshot("01-saved", screenshots);

  // 2. Scramble: every icon to another icon's place, a third of them beyond.
  std::vector<std::string> names;
  std::vector<std::pair<int, int>> spots;
  for (const auto& [name, at] : saved) {
    names.push_back(name);
    spots.push_back(at);
  }
  std::mt19937 random(20261207);
  std::shuffle(spots.begin(), spots.end(), random);
  Places scrambled;
  for (size_t i = 0; i < names.size(); ++i) {
    scrambled[names[i]] = {spots[i].first - (i % 3 == 0 ? 480 : 0), spots[i].second};
  }
  Arrange(desktop, scrambled);
  Say("2. scrambled: " + std::to_string(total - CountInPlace(PlacesNow(desktop), saved)) + " of " +
      std::to_string(total) + " icons away from their saved place");
  Screenshot("02-scrambled", screenshots);

  // 3. Restore.
  PostMessageA(tessalyWindow, WM_COMMAND, kRestoreCommand, 0);
  int back = WaitForIconsBack(desktop, saved, 60000);
  Say("3. restored: " + std::to_string(back) + " of " + std::to_string(total) + " icons back at their saved place");
  if (back != total) ok = false;
  Screenshot("03-restored", screenshots);

  // 4. To 800x600: Tessaly writes the 1024x768 snapshot; the view arranges
  //    its icons for the smaller screen itself.
  FILETIME before = WriteTime(layout1024);
  if (!ChangeResolution(800, 600)) {
    Say("FAILED: the resolution could not be changed to 800x600");
    ok = false;
  }
  bool snapshotWritten = WaitForFileWritten(layout1024, &before, 20000);
  Say(std::string("4. 800x600: the 1024x768 snapshot ") + (snapshotWritten ? "was written" : "was NOT written"));
  if (!snapshotWritten) ok = false;
  // Tessaly lets the shell finish, then takes its snapshot of 800x600: it is
  // done once it has asked the desktop nothing for 1.5 s (30 s at most).
  WaitForQuietDesktop(desktop, 1500, 30000);
  Screenshot("04-800x600", screenshots);

  // 5. Back to 1024x768: Tessaly writes the 800x600 snapshot and puts the
  //    1024x768 layout back.
  std::string layout800 = LayoutFile(800, 600);
  if (!ChangeResolution(1024, 768)) {
    Say("FAILED: the resolution could not be changed back to 1024x768");
    ok = false;
  }
  back = WaitForIconsBack(desktop, saved, 60000);
  bool wrote800 = WaitForFileWritten(layout800, nullptr, 20000);
  Say("5. 1024x768 again: " + std::to_string(back) + " of " + std::to_string(total) +
      " icons back at their saved place; the 800x600 snapshot " + (wrote800 ? "was written" : "was NOT written"));
  if (back != total || !wrote800) ok = false;
  WaitForQuietDesktop(desktop, 1500, 30000);
  Screenshot("05-1024x768", screenshots);

  // 6. The tray menu, as the shell reports a right click on the tray icon.
  if (screenshots) ShowTrayMenu(tessalyWindow, "6. tray menu ", "06-tray-menu");

  // 7. The user moves a few icons, restores by mistake, and undoes it.
  Places moved = saved;
  int n = 0;
  for (auto& [name, at] : moved) {
    if (n++ % 4 == 0) at = {at.first - 400, at.second};
  }
  Arrange(desktop, moved);
  PostMessageA(tessalyWindow, WM_COMMAND, kRestoreCommand, 0);
  back = WaitForIconsBack(desktop, saved, 60000);
  PostMessageA(tessalyWindow, WM_COMMAND, kUndoCommand, 0);
  const int undone = WaitForIconsBack(desktop, moved, 60000);
  Say("7. undo: " + std::to_string(undone) + " of " + std::to_string(total) +
      " icons back where the user had put them before the restore (" + std::to_string(back) + " restored)");
  if (back != total || undone != total) ok = false;
  Screenshot("07-undo", screenshots);

  PostMessageA(tessalyWindow, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
    Say("FAILED: Tessaly did not end on WM_CLOSE");
    TerminateProcess(pi.hProcess, 1);
    ok = false;
  }
  CloseHandle(pi.hProcess);

  // 8. The same menu in English, as an English Windows shows it.
  if (screenshots) {
    const std::string ini = AppDataFile("Tessaly.ini");
    WritePrivateProfileStringA("General", "Language", "en", ini.c_str());
    PROCESS_INFORMATION english = {};
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &english)) {
      CloseHandle(english.hThread);
      if (HWND window = WaitForTessalyWindow(english.hProcess)) {
        ShowTrayMenu(window, "8. tray menu in English ", "08-tray-menu-en");
        PostMessageA(window, WM_CLOSE, 0, 0);
      }
      if (WaitForSingleObject(english.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(english.hProcess, 1);
      CloseHandle(english.hProcess);
    } else {
      Say("8. Tessaly did NOT start again");
    }
    WritePrivateProfileStringA("General", "Language", nullptr, ini.c_str());
  }
  const long listViewMoves = desktop.ForeignMoves();
  desktop.Quit();

  ReportFiles();
  Say("icons moved by list-view messages: " + std::to_string(listViewMoves) +
      " (through the shell's interface: none)");
  Say("time taken: " + std::to_string((GetTickCount() - start) / 1000.0).substr(0, 5) + " s");
  Say(ok ? "result: every icon back where it was saved" : "result: FAILED");
  if (FILE* f = std::fopen((outFolder + "\\report.txt").c_str(), "wb")) {
    std::fwrite(report.data(), 1, report.size(), f);
    std::fclose(f);
  }
  return ok ? 0 : 1;
}
