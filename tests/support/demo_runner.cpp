// demo_runner.exe: shows Tessaly doing its job, the way a user and the shell
// would see it, and checks the result.
//
//   demo_runner.exe --tessaly PATH --out FOLDER [--icons N] [--no-screenshots]
//
// Runs on a Wine virtual desktop of 1024x768.  It starts the test desktop with
// N icons (Japanese and ASCII names), ticks the automatic restore and capture
// at a resolution change in Tessaly.ini, starts Tessaly.exe, and then, only
// through Tessaly's window messages and the test desktop's icons:
//   1. Save (menu command 40001)             -> screenshot 01-saved.bmp
//   2. scrambles the icons                   -> 02-scrambled.bmp
//   3. Restore (40002)                       -> 03-restored.bmp
//   4. changes the resolution to 800x600; the shell's own arrangement for the
//      smaller screen is played by moving the icons into a compact grid
//                                            -> 04-800x600.bmp
//   5. changes it back to 1024x768; Tessaly writes the 800x600 snapshot and
//      restores the 1024x768 layout          -> 05-1024x768.bmp
//   6. opens the tray menu as a right click on the tray icon would
//                                            -> 06-tray-menu.bmp
// Each check reads the test desktop back.  The report goes to standard output
// and to FOLDER\report.txt; the exit code is 0 only when every icon was back
// at its saved place after steps 3 and 5.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/support/test_desktop_client.h"

namespace {

using testsupport::ChangeResolution;
using testsupport::DesktopIcon;
using testsupport::TestDesktop;

const UINT kSaveCommand = 40001;
const UINT kRestoreCommand = 40002;
const UINT kTrayCallback = 0x8065;
const UINT kTrayIconId = 102;

std::string outFolder;
std::string report;

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  report += line + "\n";
}

std::vector<DesktopIcon> DemoIcons(int count) {
  static const char* const names[] = {
      "ごみ箱", "PC", "ネットワーク", "ドキュメント", "ピクチャ", "ミュージック", "ビデオ", "ダウンロード",
      "表計算.xls", "メモ.txt", "readme.txt", "予定表", "Project", "写真アルバム", "請求書.pdf", "Photos",
      "会議資料", "Tools", "音声メモ", "backup", "旅行の計画", "Notes", "見積書.doc", "Games"};
  const int kNames = sizeof names / sizeof names[0];
  std::vector<DesktopIcon> icons;
  const int perColumn = 8;  // a desktop fills columns top to bottom
  for (int i = 0; i < count; ++i) {
    std::string name = names[i % kNames];
    if (i >= kNames) name += " (" + std::to_string(i / kNames + 1) + ")";
    icons.push_back({name, 40 + (i / perColumn) * 100, 8 + (i % perColumn) * 90});
  }
  return icons;
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

int CountInPlace(const std::vector<DesktopIcon>& now, const std::vector<DesktopIcon>& saved) {
  int inPlace = 0;
  for (size_t i = 0; i < now.size() && i < saved.size(); ++i) inPlace += now[i] == saved[i] ? 1 : 0;
  return inPlace;
}

// Waits until every icon stands at its saved place, or until nothing has
// moved for two seconds.  Returns the number of icons in place.
int WaitForIconsBack(TestDesktop& desktop, const std::vector<DesktopIcon>& saved, int timeoutMs) {
  std::vector<DesktopIcon> previous;
  int quietFor = 0;
  for (int waited = 0; waited < timeoutMs; waited += 100) {
    std::vector<DesktopIcon> now = desktop.Icons();
    if (CountInPlace(now, saved) == static_cast<int>(saved.size())) return static_cast<int>(saved.size());
    quietFor = now == previous ? quietFor + 100 : 0;
    if (quietFor >= 2000) break;
    previous = now;
    Sleep(100);
  }
  return CountInPlace(desktop.Icons(), saved);
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

  std::vector<DesktopIcon> saved = DemoIcons(iconCount);
  TestDesktop desktop;
  if (!desktop.Start(saved)) {
    Say("FAILED: the test desktop did not start");
    return 1;
  }
  saved = desktop.Icons();  // the places the view really gave them
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

  // 1. Save.
  std::string layout1024 = LayoutFile(1024, 768);
  PostMessageA(tessalyWindow, WM_COMMAND, kSaveCommand, 0);
  if (!WaitForFileWritten(layout1024, nullptr, 20000)) {
    Say("FAILED: Save wrote no layout file");
    ok = false;
  }
  int savedCount = GetPrivateProfileIntA("QVD-Data", "IconCount", -1, layout1024.c_str());
  Say("1. saved: " + std::to_string(savedCount) + " icons in default.1024x768.qvd");
  if (savedCount != iconCount) ok = false;
  Screenshot("01-saved", screenshots);

  // 2. Scramble: every icon to another icon's place, then a few to new places.
  std::vector<int> order(saved.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::mt19937 random(20261207);
  std::shuffle(order.begin(), order.end(), random);
  for (size_t i = 0; i < saved.size(); ++i) {
    const DesktopIcon& target = saved[order[i]];
    desktop.Move(static_cast<int>(i), target.x + (i % 3 == 0 ? 480 : 0), target.y);
  }
  std::vector<DesktopIcon> scrambled = desktop.Icons();
  Say("2. scrambled: " + std::to_string(saved.size() - CountInPlace(scrambled, saved)) + " of " +
      std::to_string(saved.size()) + " icons away from their saved place");
  Screenshot("02-scrambled", screenshots);

  // 3. Restore.
  PostMessageA(tessalyWindow, WM_COMMAND, kRestoreCommand, 0);
  int back = WaitForIconsBack(desktop, saved, 60000);
  Say("3. restored: " + std::to_string(back) + " of " + std::to_string(saved.size()) +
      " icons back at their saved place");
  if (back != static_cast<int>(saved.size())) ok = false;
  Screenshot("03-restored", screenshots);

  // 4. To 800x600: Tessaly writes the 1024x768 snapshot; the shell then
  //    arranges the icons for the smaller screen (played here).
  FILETIME before = WriteTime(layout1024);
  if (!ChangeResolution(800, 600)) {
    Say("FAILED: the resolution could not be changed to 800x600");
    ok = false;
  }
  bool snapshotWritten = WaitForFileWritten(layout1024, &before, 20000);
  Say(std::string("4. 800x600: the 1024x768 snapshot ") + (snapshotWritten ? "was written" : "was NOT written"));
  if (!snapshotWritten) ok = false;
  for (size_t i = 0; i < saved.size(); ++i) {
    desktop.Move(static_cast<int>(i), 40 + static_cast<int>(i / 6) * 76, 8 + static_cast<int>(i % 6) * 90);
  }
  Screenshot("04-800x600", screenshots);

  // 5. Back to 1024x768: Tessaly writes the 800x600 snapshot and puts the
  //    1024x768 layout back.
  std::string layout800 = LayoutFile(800, 600);
  // Tessaly lets the shell finish, then takes its snapshot of 800x600: it is
  // done once it has asked the desktop nothing for 1.5 s (30 s at most).
  testsupport::WaitForQuietDesktop(desktop, 1500, 30000);
  if (!ChangeResolution(1024, 768)) {
    Say("FAILED: the resolution could not be changed back to 1024x768");
    ok = false;
  }
  back = WaitForIconsBack(desktop, saved, 60000);
  bool wrote800 = WaitForFileWritten(layout800, nullptr, 20000);
  Say("5. 1024x768 again: " + std::to_string(back) + " of " + std::to_string(saved.size()) +
      " icons back at their saved place; the 800x600 snapshot " + (wrote800 ? "was written" : "was NOT written"));
  if (back != static_cast<int>(saved.size()) || !wrote800) ok = false;
  Screenshot("05-1024x768", screenshots);

  // 6. The tray menu, as the shell reports a right click on the tray icon.
  if (screenshots) {
    SetCursorPos(700, 520);
    PostMessageA(tessalyWindow, kTrayCallback, kTrayIconId, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    for (int waited = 0; waited < 5000 && !menu; waited += 50) {
      Sleep(50);
      menu = FindWindowA("#32768", nullptr);
    }
    Say(std::string("6. tray menu ") + (menu ? "opened" : "did NOT open"));
    Screenshot("06-tray-menu", screenshots);
    if (menu) PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(300);
  }

  PostMessageA(tessalyWindow, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
    Say("FAILED: Tessaly did not end on WM_CLOSE");
    TerminateProcess(pi.hProcess, 1);
    ok = false;
  }
  CloseHandle(pi.hProcess);
  desktop.Quit();

  ReportFiles();
  Say("time taken: " + std::to_string((GetTickCount() - start) / 1000.0).substr(0, 5) + " s");
  Say(ok ? "result: every icon back where it was saved" : "result: FAILED");
  if (FILE* f = std::fopen((outFolder + "\\report.txt").c_str(), "wb")) {
    std::fwrite(report.data(), 1, report.size(), f);
    std::fclose(f);
  }
  return ok ? 0 : 1;
}
