// Any bytes as Tessaly.exe's command line and as the data of a WM_COPYDATA
// command: the parser answers with one of its actions, a file only where the
// action takes one and never one that could be read as an option; a command
// written back as a command line (the file quoted) parses to itself; the
// decoder takes nothing but one NUL-terminated name of at most 1023 bytes,
// and what the sender encodes arrives unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/command_line.h"

#define CHECK(condition) \
  do {                   \
    if (!(condition)) std::abort(); \
  } while (0)

namespace {

// The tag of this program's WM_COPYDATA codes.
const std::uint64_t kTag = CommandCode(CommandAction::kSave) & ~std::uint64_t{0xFFFF};

bool TakesFile(CommandAction action) { return action == CommandAction::kSave || action == CommandAction::kRestore; }

const char* OptionOf(CommandAction action) {
  switch (action) {
    case CommandAction::kSave: return "/save";
    case CommandAction::kRestore: return "/restore";
    case CommandAction::kUndo: return "/undo";
    case CommandAction::kExit: return "/exit";
    case CommandAction::kLock: return "/lock";
    case CommandAction::kUnlock: return "/unlock";
    case CommandAction::kUsage: return "/?";
    default: return "";
  }
}

void CheckCommandLine(const std::string& text) {
  const CommandLine command = ParseCommandLine(text.c_str());
  if (!command.file.empty()) {
    CHECK(TakesFile(command.action));
    CHECK(command.file[0] != '/' && command.file[0] != '-');
    CHECK(command.file.find('"') == std::string::npos);
  }
  if (command.action == CommandAction::kNone || command.action == CommandAction::kInvalid) return;
  std::string again = OptionOf(command.action);
  if (!command.file.empty()) again += " \"" + command.file + "\"";
  const CommandLine reparsed = ParseCommandLine(again.c_str());
  CHECK(reparsed.action == command.action && reparsed.file == command.file);
}

void CheckCopyData(std::uint64_t code, const std::string& data) {
  CommandLine command;
  const bool ours = DecodeCommand(code, data.empty() ? nullptr : data.data(), data.size(), command);
  CHECK(ours == ((code & ~std::uint64_t{0xFFFF}) == kTag));
  if (!ours) return;
  CHECK(command.action != CommandAction::kNone && command.action != CommandAction::kUsage);
  CHECK(command.file.size() <= 1023 && command.file.find('\0') == std::string::npos);
  if (!command.file.empty()) CHECK(TakesFile(command.action));
  if (command.action == CommandAction::kInvalid) return;
  // What a sender makes of the decoded command arrives as it was.
  const std::string sent = command.file.empty() ? std::string() : command.file + '\0';
  CommandLine arrived;
  CHECK(DecodeCommand(CommandCode(command.action), sent.empty() ? nullptr : sent.data(), sent.size(), arrived));
  CHECK(arrived.action == command.action && arrived.file == command.file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // First byte: which reader.  A command line is text up to its first NUL;
  // WM_COPYDATA takes 8 bytes of dwData (little-endian, mostly with this
  // program's tag) and the rest as its data, NULs and all.
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  if ((data[0] & 1) == 0) {
    CheckCommandLine(std::string(rest.c_str()));
    return 0;
  }
  std::uint64_t code = 0;
  const size_t codeBytes = rest.size() < 8 ? rest.size() : 8;
  for (size_t i = 0; i < codeBytes; ++i) code |= std::uint64_t{static_cast<unsigned char>(rest[i])} << (8 * i);
  if (data[0] & 2) code = (code & 0xFFFF) | kTag;
  CheckCopyData(code, rest.substr(codeBytes));
  return 0;
}
