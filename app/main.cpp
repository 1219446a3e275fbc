// Tessaly.exe: the tray program's entry point.
#include <windows.h>

#include "app/app_state.h"
#include "app/command_line_win.h"
#include "app/desktop_folders_win.h"
#include "app/desktop_watch.h"
#include "app/language.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "app/shell_state.h"
#include "app/texts_win.h"
#include "framework/window/window.h"
#include "hook/sorrel.h"
#include "hook/sorrel_contract.h"
#include "resources/resource.h"

namespace {

// The named object of the session that only one copy can create, and how long
// a second copy waits for the first one's window to bring it forward.
constexpr const char* kOneCopyName = "Local\\Brindle-Works.Tessaly";
constexpr int kFirstWindowWaitMs = 5000;

constexpr int kExitNormal = 0;
constexpr int kExitAlreadyRunning = -1;
constexpr int kExitNoWindow = -2;

WNDCLASSEXA MainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA description = {};
  description.cbSize = sizeof description;  // 80
  description.lpfnWndProc = MainWndProc;
  description.hInstance = instance;
  description.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP));
  description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  description.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  description.lpszClassName = kMainWindowClass;
  description.hIconSm = static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  return description;
}

// Runs the message loop until WM_QUIT, waiting on the window messages and on
// the watch of the Desktop folders (a change there is a sign for the watch on
// the desktop; the messages waiting are handled after it all the same, so a
// folder that changes without pause cannot hold them up).  A wait that fails
// drops the folders' watch: waiting on would spin on the same error.
void RunMessageLoop() {
  MSG message;
  for (;;) {
    DesktopFolderWatch& folders = DesktopFolders();
    const DWORD count = folders.Count();
    const DWORD woke =
        MsgWaitForMultipleObjectsEx(count, folders.Handles(), INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke < WAIT_OBJECT_0 + count) {
      folders.Rearm(woke - WAIT_OBJECT_0);
      Look().OnFolderChange(App());
    } else if (woke == WAIT_FAILED) {
      if (count == 0) WaitMessage();
      folders.Stop();
    }
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

// The texts in the user's display language, or in the language that
// "Language" of the settings file names; for a command's usage as well, and
// fixed for the run.
void ChooseTextLanguage() {
  AppSettings read;
  read.Load();
  UseTextLanguage(ChooseLanguage(GetUserDefaultUILanguage(), read.language).resourceLanguage);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  // With arguments, the program is a command for the running copy, or runs
  // it itself and ends; without, it is the tray program.
  const CommandLine command = ParseCommandLine(commandLine);
  ChooseTextLanguage();
  if (command.action != CommandAction::kNone) return RunCommandLine(command);

  flib::CWindow window;

  // Decided at once, by a mutex held for the program's life: two copies
  // started together (a Startup shortcut and a task at log-on) would both
  // miss the other's window, which comes only after the settings and the hook.
  CreateMutexA(nullptr, TRUE, kOneCopyName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    for (int waited = 0; waited < kFirstWindowWaitMs; waited += 100) {
      if (HWND running = FindWindowA(kMainWindowClass, kMainWindowTitle)) {
        SetForegroundWindow(running);
        break;
      }
      Sleep(100);
    }
    return kExitAlreadyRunning;
  }

  PrepareSettingsFolder();
  appInstance = instance;
  settings.Load();
  Sorrel_Start();

  WNDCLASSEXA description = MainWindowClass(instance);
  // WM_CREATE runs during Create: tray icon, desktop lookup, start-up actions.
  HWND created = window.Create(0, kMainWindowTitle, WS_MINIMIZE, 0, 1, 0, 1, nullptr, nullptr, 0, &description);
  if (!created) return kExitNoWindow;  // the hook goes with the library at exit; settings are not saved
  ShowWindow(created, SW_HIDE);

  RunMessageLoop();

  Sorrel_End();
  if (window.window) {
    DestroyWindow(window.window);  // WM_DESTROY removes the tray icon
    window.window = nullptr;
  }
  settings.Save();
  mainWindow = nullptr;  // the object ends with this function
  return kExitNormal;
}
