#include "app/command_line.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

// The longest file name a command carries: the program's path buffers hold
// 1024 bytes with the terminator.
constexpr std::size_t kLongestFileName = 1023;

// Tags of the codes and answers: "TS" in the high half of the low 32 bits.
constexpr std::uint64_t kCodeTag = 0x54530000;
constexpr std::int64_t kAnswerTag = 0x54530000;
constexpr std::int64_t kBusy = 0x100;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string> SplitArguments(const char* text) {
  std::vector<std::string> arguments;
  const char* p = text ? text : "";
  for (;;) {
    while (IsBlank(*p)) ++p;
    if (!*p) return arguments;
    std::string argument;
    bool quoted = false;
    for (; *p && (quoted || !IsBlank(*p)); ++p) {
      if (*p == '"') {
        quoted = !quoted;
      } else {
        argument.push_back(*p);
      }
    }
    arguments.push_back(argument);
  }
}

bool IsOptionStart(char c) { return c == '/' || c == '-'; }

// The option's name in ASCII lower case, without its "/" or "-"; empty when
// the argument is no option.
std::string OptionName(const std::string& argument) {
  if (argument.size() < 2 || !IsOptionStart(argument[0])) return "";
  std::string name = argument.substr(1);
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

CommandLine Make(CommandAction action, std::string file = "") { return {action, std::move(file)}; }

}  // namespace

CommandLine ParseCommandLine(const char* text) {
  const std::vector<std::string> arguments = SplitArguments(text);
  if (arguments.empty()) return Make(CommandAction::kNone);
  const std::string name = OptionName(arguments[0]);
  CommandAction action = CommandAction::kInvalid;
  if (name == "save") action = CommandAction::kSave;
  if (name == "restore") action = CommandAction::kRestore;
  if (name == "undo") action = CommandAction::kUndo;
  if (name == "exit") action = CommandAction::kExit;
  if (name == "lock") action = CommandAction::kLock;
  if (name == "unlock") action = CommandAction::kUnlock;
  if (name == "?") action = CommandAction::kUsage;

  const bool takesFile = action == CommandAction::kSave || action == CommandAction::kRestore;
  if (arguments.size() == 1) return Make(action);
  if (!takesFile || arguments.size() > 2) return Make(CommandAction::kInvalid);
  const std::string& file = arguments[1];
  if (file.empty() || IsOptionStart(file[0])) return Make(CommandAction::kInvalid);
  return Make(action, file);
}

std::uint64_t CommandCode(CommandAction action) {
  switch (action) {
    case CommandAction::kSave:
      return kCodeTag | 1;
    case CommandAction::kRestore:
      return kCodeTag | 2;
    case CommandAction::kExit:
      return kCodeTag | 3;
    case CommandAction::kUndo:
      return kCodeTag | 4;
    case CommandAction::kLock:
      return kCodeTag | 5;
    case CommandAction::kUnlock:
      return kCodeTag | 6;
    default:
      return kCodeTag | 0xFF;  // arrives as kInvalid
  }
}

bool DecodeCommand(std::uint64_t code, const void* data, std::size_t size, CommandLine& command) {
  if ((code & ~std::uint64_t{0xFFFF}) != kCodeTag) return false;
  command = Make(CommandAction::kInvalid);
  CommandAction action;
  if (code == CommandCode(CommandAction::kSave)) {
    action = CommandAction::kSave;
  } else if (code == CommandCode(CommandAction::kRestore)) {
    action = CommandAction::kRestore;
  } else if (code == CommandCode(CommandAction::kExit)) {
    action = CommandAction::kExit;
  } else if (code == CommandCode(CommandAction::kUndo)) {
    action = CommandAction::kUndo;
  } else if (code == CommandCode(CommandAction::kLock)) {
    action = CommandAction::kLock;
  } else if (code == CommandCode(CommandAction::kUnlock)) {
    action = CommandAction::kUnlock;
  } else {
    return true;
  }
  if (size == 0) {
    command = Make(action);
    return true;
  }
  const char* bytes = static_cast<const char*>(data);
  // One name, not empty, ending in its only NUL.
  const bool takesFile = action == CommandAction::kSave || action == CommandAction::kRestore;
  if (!bytes || size < 2 || size > kLongestFileName + 1 || !takesFile) return true;
  if (bytes[size - 1] != '\0' || std::memchr(bytes, '\0', size - 1)) return true;
  command = Make(action, std::string(bytes, size - 1));
  return true;
}

std::int64_t CommandAnswer(int exitCode) { return kAnswerTag | exitCode; }

std::int64_t BusyAnswer() { return kAnswerTag | kBusy; }

int ExitCodeOfAnswer(std::int64_t answer) {
  for (int code : {kExitDone, kExitFailed, kExitUsage}) {
    if (answer == CommandAnswer(code)) return code;
  }
  return kExitFailed;
}
