// Tessaly.exe's command line on Windows: a command goes to the copy that is
// already running, which carries it out quietly and answers with the result;
// when none runs, this process carries it out itself, without tray icon or
// hook, and ends.
#pragma once

#include <windows.h>

#include "app/command_line.h"

// Carries out a parsed command line (anything but kNone) and returns the
// process's exit code: /? shows the usage in a message box; an invalid line
// gives kExitUsage at once.
int RunCommandLine(const CommandLine& command);

// WM_COPYDATA of the main window: a command from another Tessaly.exe, carried
// out as the menu would, without message boxes.  Answers with CommandAnswer,
// with BusyAnswer while a capture or restore runs, and with 0 for data that
// is no command of ours.
LRESULT OnCopyData(LPARAM lParam);
