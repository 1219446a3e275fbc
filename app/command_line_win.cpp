#include "app/command_line_win.h"

#include "app/app_state.h"
#include "app/automatic_options.h"
#include "app/texts.h"
#include "app/texts_win.h"
#include "app/layout_commands.h"
#include "app/undo.h"
#include "hook/sorrel_contract.h"
#include "app/shell_state.h"
#include "app/settings.h"
#include "resources/resource.h"

namespace {

// How long a command waits for the running copy: for its answer, and for it
// to finish a capture or restore that it is busy with, asked again every
// kBusyRetryMs.
constexpr DWORD kAnswerTimeoutMs = 120000;
constexpr DWORD kBusyRetryMs = 100;
// How long /exit waits for the running copy to end once it has agreed to.
constexpr DWORD kExitTimeoutMs = 30000;

// The running copy has a current folder of its own: a relative name is made
// absolute here, against this process's.  False when it cannot be.
bool MakeAbsolute(std::string& file) {
  if (file.empty()) return true;
  char full[1024];
  DWORD length = GetFullPathNameA(file.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) return false;
  file.assign(full, length);
  return true;
}

int RunLayoutCommand(const CommandLine& command) {
  switch (command.action) {
    case CommandAction::kSave:
      return SaveLayoutQuietly(App(), command.file) ? kExitDone : kExitFailed;
    case CommandAction::kRestore:
      return RestoreLayoutQuietly(App(), command.file) ? kExitDone : kExitFailed;
    case CommandAction::kUndo:
      return UndoRestore(App()) ? kExitDone : kExitFailed;
    case CommandAction::kLock:
    case CommandAction::kUnlock: {
      // The running copy: the option goes to Tessaly.ini at once, as the
      // Settings dialog's OK does.
      const bool held = SetLock(App(), Look(), command.action == CommandAction::kLock);
      return held && settings.Save() == 1 ? kExitDone : kExitFailed;
    }
    default:
      return kExitUsage;
  }
}

// No copy runs: the option is written for the next start, and /lock saves
// the layout that start will hold.
int LockHere(bool on) {
  settings.Load();
  settings.lockIcons = on ? 1 : 0;
  if (settings.Save() != 1) return kExitFailed;
  return !on || SaveLayoutQuietly(App(), "") ? kExitDone : kExitFailed;
}

// No copy runs: the command is carried out by this process.
int RunHere(const CommandLine& command) {
  if (command.action == CommandAction::kExit) return kExitDone;  // nothing to end
  // The "default" files live in the settings folder, which the tray program
  // prepares at start-up.
  if (command.action == CommandAction::kSave && command.file.empty()) PrepareSettingsFolder();
  if (command.action == CommandAction::kLock || command.action == CommandAction::kUnlock) {
    PrepareSettingsFolder();
    return LockHere(command.action == CommandAction::kLock);
  }
  return RunLayoutCommand(command);
}

enum class Delivery { kAnswered, kBusy, kWindowGone, kNoAnswer };

Delivery Send(HWND window, const CommandLine& command, DWORD timeoutMs, int& exitCode) {
  COPYDATASTRUCT data = {};
  data.dwData = static_cast<ULONG_PTR>(CommandCode(command.action));
  if (!command.file.empty()) {
    data.cbData = static_cast<DWORD>(command.file.size() + 1);
    data.lpData = const_cast<char*>(command.file.c_str());
  }
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, timeoutMs,
                           &answer)) {
    return IsWindow(window) ? Delivery::kNoAnswer : Delivery::kWindowGone;
  }
  if (static_cast<std::int64_t>(answer) == BusyAnswer()) return Delivery::kBusy;
  exitCode = ExitCodeOfAnswer(static_cast<std::int64_t>(answer));
  return Delivery::kAnswered;
}

// After /exit the running copy shuts down (hook, window, settings file);
// the command is done when its process has ended.
int WaitForEnd(HANDLE process) {
  if (!process) return kExitDone;  // it agreed; there is nothing to wait on
  return WaitForSingleObject(process, kExitTimeoutMs) == WAIT_OBJECT_0 ? kExitDone : kExitFailed;
}

class ProcessHandle {
 public:
  explicit ProcessHandle(HWND window) {
    DWORD processId = 0;
    if (GetWindowThreadProcessId(window, &processId)) handle = OpenProcess(SYNCHRONIZE, FALSE, processId);
  }
  ~ProcessHandle() {
    if (handle) CloseHandle(handle);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;

  HANDLE handle = nullptr;
};

}  // namespace

int RunCommandLine(const CommandLine& parsed) {
  if (parsed.action == CommandAction::kUsage) {
    const std::string name = kDisplayName;
    ShowMessage(nullptr, LoadText(IDS_USAGE), std::wstring(name.begin(), name.end()),
                MB_ICONINFORMATION | MB_SETFOREGROUND);
    return kExitDone;
  }
  if (parsed.action == CommandAction::kInvalid || parsed.action == CommandAction::kNone) return kExitUsage;
  CommandLine command = parsed;
  if (!MakeAbsolute(command.file)) return kExitFailed;

  const DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindWindowA(kMainWindowClass, kMainWindowTitle);
    if (!window) return RunHere(command);
    const DWORD waited = GetTickCount() - start;
    if (waited >= kAnswerTimeoutMs) return kExitFailed;
    // Opened before the command goes, so that /exit waits for this very process.
    ProcessHandle process(window);
    int exitCode = kExitFailed;
    switch (Send(window, command, kAnswerTimeoutMs - waited, exitCode)) {
      case Delivery::kAnswered:
        if (command.action == CommandAction::kExit && exitCode == kExitDone) return WaitForEnd(process.handle);
        return exitCode;
      case Delivery::kBusy:
        Sleep(kBusyRetryMs);
        break;
      case Delivery::kWindowGone:  // it ended meanwhile: look again
        break;
      case Delivery::kNoAnswer:
        return kExitFailed;
    }
  }
}

LRESULT OnCopyData(LPARAM lParam) {
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  CommandLine command;
  if (!data || !DecodeCommand(data->dwData, data->lpData, data->cbData, command)) return 0;
  // A capture or a restore awaits the shell's answers with sent messages,
  // during which this message can be delivered: the command must not run
  // inside that work, so the sender is told to ask again.
  if (App().layoutWork > 0) return static_cast<LRESULT>(BusyAnswer());
  if (command.action == CommandAction::kExit) {
    PostQuitMessage(0);
    return static_cast<LRESULT>(CommandAnswer(kExitDone));
  }
  return static_cast<LRESULT>(CommandAnswer(RunLayoutCommand(command)));
}
