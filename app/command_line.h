// Tessaly.exe's command line, and the form in which a command travels to a
// copy that is already running (WM_COPYDATA to its main window).
//
//   Tessaly.exe /save [file]      save the layout (without a file: the
//                                 current resolution's "default" file)
//   Tessaly.exe /restore [file]   restore it
//   Tessaly.exe /undo             undo the latest restore (undo.h)
//   Tessaly.exe /lock             turn the lock on (icon_lock.h)
//   Tessaly.exe /unlock           turn it off
//   Tessaly.exe /exit             end the running copy
//   Tessaly.exe /?                show the usage
//
// Options are case-insensitive and may start with "-" as well.  No argument
// at all starts the tray program as usual.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class CommandAction { kNone, kSave, kRestore, kUndo, kExit, kLock, kUnlock, kUsage, kInvalid };

struct CommandLine {
  CommandAction action = CommandAction::kNone;
  std::string file;  // for kSave and kRestore; empty: the "default" file
};

// The process's answer to the command line.
enum : int { kExitDone = 0, kExitFailed = 1, kExitUsage = 2 };

// Parses the arguments after the program name (code page 932 bytes).
// Arguments are separated by spaces and tabs; a double quote starts or ends
// a quoted stretch, in which spaces belong to the argument, and is itself
// never part of it.  Backslashes are plain characters (a file name holds no
// quote to escape), so no byte that is looked at can be the second byte of a
// two-byte character.  kInvalid: an unknown option, a missing or empty file
// name, or an argument too many (a file name may not start with "/" or "-",
// which would be read as a second option).
CommandLine ParseCommandLine(const char* text);

// --- The command in WM_COPYDATA.  dwData names the action; lpData holds the
// file name and its terminating NUL, or nothing when no file is given.

/// The dwData of an action (kSave, kRestore, kUndo, kExit, kLock or kUnlock).
std::uint64_t CommandCode(CommandAction action);
/// The command that arrived: false when `code` is not one of this program's
/// (the message is not for us); otherwise true, with kInvalid for an unknown
/// action or data that is not one NUL-terminated name of at most 1023 bytes.
bool DecodeCommand(std::uint64_t code, const void* data, std::size_t size, CommandLine& command);

// --- The running copy's answer, the result of WM_COPYDATA.  Answers carry a
// tag, so that a window that does not know the command (its default answer
// is 0) is never taken for one that carried it out.

/// The answer that reports an exit code (kExitDone, kExitFailed, kExitUsage).
std::int64_t CommandAnswer(int exitCode);
/// The answer while a capture or restore runs: the sender asks again later.
std::int64_t BusyAnswer();
/// The exit code an answer reports; kExitFailed for an answer that is none
/// of ours.  Not for BusyAnswer().
int ExitCodeOfAnswer(std::int64_t answer);
