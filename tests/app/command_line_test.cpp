#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using A = CommandAction;

struct ParseCase {
  const char* line;
  CommandAction action;
  const char* file;
};

constexpr ParseCase kParseCases[] = {
    {"", A::kNone, ""},
    {" \t ", A::kNone, ""},
    {"/save", A::kSave, ""},
    {"  -SAVE  ", A::kSave, ""},
    {"/Restore", A::kRestore, ""},
    {"-restore mine.qvd", A::kRestore, "mine.qvd"},
    {"/exit", A::kExit, ""},
    {"-EXIT", A::kExit, ""},
    {"/lock", A::kLock, ""},
    {"-UNLOCK", A::kUnlock, ""},
    {"/lock mine.qvd", A::kInvalid, ""},
    {"/?", A::kUsage, ""},
    {"-?", A::kUsage, ""},
    // Quotes keep spaces and are no part of the name; backslashes are plain.
    {"/save \"C:\\My Layouts\\a b.qvd\"", A::kSave, "C:\\My Layouts\\a b.qvd"},
    {"/save C:\\\"My Layouts\"\\ab.qvd", A::kSave, "C:\\My Layouts\\ab.qvd"},
    {"/save \"C:\\dir\\\"", A::kSave, "C:\\dir\\"},
    // A two-byte character whose second byte is a backslash (表 = 95 5C)
    // just before the closing quote.
    {"/restore \"C:\\配置 データ\\表\"", A::kRestore, "C:\\配置 データ\\表"},
    {"/restore \"C:\\ソフト\" ", A::kRestore, "C:\\ソフト"},
    // An unknown option, an argument that is no option, and an argument too many.
    {"/sav", A::kInvalid, ""},
    {"/saveas x.qvd", A::kInvalid, ""},
    {"save", A::kInvalid, ""},
    {"mine.qvd", A::kInvalid, ""},
    {"/", A::kInvalid, ""},
    {"-", A::kInvalid, ""},
    {"\"/save\"x", A::kInvalid, ""},
    {"/save a.qvd b.qvd", A::kInvalid, ""},
    {"/exit now", A::kInvalid, ""},
    {"/? /save", A::kInvalid, ""},
    // An empty name, and a second option in the file's place.
    {"/save \"\"", A::kInvalid, ""},
    {"/restore /save", A::kInvalid, ""},
    {"/save -restore", A::kInvalid, ""},
};

TEST(CommandLine, ParsesTheOptionsAndTheirFile) {
  for (const ParseCase& c : kParseCases) {
    SCOPED_TRACE(std::string("line: [") + c.line + "]");
    const CommandLine parsed = ParseCommandLine(c.line);
    EXPECT_EQ(parsed.action, c.action);
    EXPECT_EQ(parsed.file, c.file);
  }
}

struct DecodeCase {
  const char* what;
  std::uint64_t code;
  std::string data;
  bool ours;
  CommandAction action;
  const char* file;
};

TEST(CommandLine, DecodesWhatArrivesAndRefusesMalformedData) {
  const std::uint64_t save = CommandCode(A::kSave);
  const std::uint64_t restore = CommandCode(A::kRestore);
  const std::uint64_t exit = CommandCode(A::kExit);
  const DecodeCase cases[] = {
      {"save, default file", save, "", true, A::kSave, ""},
      {"restore, named file", restore, std::string("C:\\表 a.qvd\0", 12), true, A::kRestore, "C:\\表 a.qvd"},
      {"exit", exit, "", true, A::kExit, ""},
      {"another program's data", 0x12345678, "", false, A::kNone, ""},
      {"a code of ours beyond the tag's width", save | (std::uint64_t{1} << 32), "", false, A::kNone, ""},
      {"an action unknown here", CommandCode(A::kUsage), "", true, A::kInvalid, ""},
      {"no terminator", save, "C:\\a.qvd", true, A::kInvalid, ""},
      {"a NUL inside", save, std::string("C:\\a\0b.qvd\0", 11), true, A::kInvalid, ""},
      {"an empty name", save, std::string("\0", 1), true, A::kInvalid, ""},
      {"exit with a file", exit, std::string("x\0", 2), true, A::kInvalid, ""},
      {"lock", CommandCode(A::kLock), "", true, A::kLock, ""},
      {"unlock", CommandCode(A::kUnlock), "", true, A::kUnlock, ""},
      {"lock with a file", CommandCode(A::kLock), std::string("x\0", 2), true, A::kInvalid, ""},
      {"the longest name", save, std::string(1023, 'a') + '\0', true, A::kSave, nullptr},
      {"a name too long", save, std::string(1024, 'a') + '\0', true, A::kInvalid, ""},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.what);
    CommandLine command;
    ASSERT_EQ(DecodeCommand(c.code, c.data.empty() ? nullptr : c.data.data(), c.data.size(), command), c.ours);
    if (!c.ours) continue;
    EXPECT_EQ(command.action, c.action);
    EXPECT_EQ(command.file, c.file ? std::string(c.file) : c.data.substr(0, c.data.size() - 1));
  }
}

TEST(CommandLine, AnswersAreTaggedSoThatAWindowsDefaultAnswerIsAFailure) {
  for (int code : {kExitDone, kExitFailed, kExitUsage}) EXPECT_EQ(ExitCodeOfAnswer(CommandAnswer(code)), code);
  EXPECT_NE(CommandAnswer(kExitDone), 0) << "DefWindowProc answers WM_COPYDATA with 0";
  EXPECT_EQ(ExitCodeOfAnswer(0), kExitFailed);
  EXPECT_EQ(ExitCodeOfAnswer(1), kExitFailed);
  EXPECT_NE(BusyAnswer(), CommandAnswer(kExitDone));
  EXPECT_NE(BusyAnswer(), CommandAnswer(kExitFailed));
}

}  // namespace
