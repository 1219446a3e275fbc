#include "framework/files/text_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/files/strings.h"
#include "tests/files/temp_folder.h"

namespace {

using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

std::vector<std::string> ReadLines(const std::string& path, int size) {
  std::vector<std::string> lines;
  CTextFile file;
  if (file.Open(path.c_str(), "r") == nullptr) return lines;
  std::vector<char> buffer(static_cast<size_t>(size));
  while (file.GetLine(buffer.data(), size) != nullptr) lines.emplace_back(buffer.data());
  file.Close();
  return lines;
}

using Lines = std::vector<std::string>;

TEST(TextFile, TextModeReadsCrLfAsLf) {
  TempFolder folder;
  std::string path = folder / "t.txt";
  WriteBytes(path, "one\r\ntwo\nthree\rfour\r\r\nlast\r");
  EXPECT_EQ(ReadLines(path, 2048), (Lines{"one\n", "two\n", "three\rfour\r\n", "last\r"}));
}

TEST(TextFile, LongLineArrivesInPieces) {
  TempFolder folder;
  std::string path = folder / "long.txt";
  std::string line(3000, 'a');
  WriteBytes(path, line + "\r\nnext\r\n");
  Lines lines = ReadLines(path, 2048);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], std::string(2047, 'a'));
  EXPECT_EQ(lines[1], std::string(953, 'a') + "\n");
  EXPECT_EQ(lines[2], "next\n");
}

TEST(TextFile, CrLfAtTheBufferEdgeStaysOneLineEnd) {
  // 2046 bytes, then CR LF: the line end fits as one LF in the 2047 bytes.
  TempFolder folder;
  std::string path = folder / "edge.txt";
  WriteBytes(path, std::string(2046, 'b') + "\r\nz");
  EXPECT_EQ(ReadLines(path, 2048), (Lines{std::string(2046, 'b') + "\n", "z"}));
}

TEST(TextFile, ChopNewlineOfReadLines) {
  TempFolder folder;
  std::string path = folder / "chop.txt";
  WriteBytes(path, "first\r\nlast");
  Lines lines = ReadLines(path, 64);
  ASSERT_EQ(lines.size(), 2u);
  std::vector<char> first(lines[0].begin(), lines[0].end()), last(lines[1].begin(), lines[1].end());
  first.push_back('\0');
  last.push_back('\0');
  EXPECT_EQ(ChopNewline(first.data()), 1);
  EXPECT_STREQ(first.data(), "first");
  EXPECT_EQ(ChopNewline(last.data()), 0);
  EXPECT_STREQ(last.data(), "last");
}

TEST(TextFile, TextModeWritesLfAsCrLf) {
  TempFolder folder;
  std::string path = folder / "w.txt";
  CTextFile file;
  ASSERT_NE(file.Open(path.c_str(), "w"), nullptr);
  EXPECT_GE(file.PutString("a\nb"), 0);
  EXPECT_EQ(file.Printf("[%s]%d\n", "表", 7), 6);
  const char raw[] = "x\ny";
  EXPECT_EQ(file.Write(raw, 1, 3), 3u);
  EXPECT_EQ(file.Close(), 0);
  EXPECT_EQ(ReadBytes(path), "a\r\nb[表]7\r\nx\r\ny");
}

TEST(TextFile, BinaryModeKeepsBytes) {
  TempFolder folder;
  std::string path = folder / "b.bin";
  CTextFile file;
  ASSERT_NE(file.Open(path.c_str(), "wb"), nullptr);
  EXPECT_EQ(file.Write("a\nb\r\n", 1, 5), 5u);
  file.Close();
  EXPECT_EQ(ReadBytes(path), "a\nb\r\n");
  ASSERT_NE(file.Open(path.c_str(), "rb"), nullptr);
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, 1, sizeof buffer), 5u);
  EXPECT_EQ(std::string(buffer), "a\nb\r\n");
  file.Close();
}

TEST(TextFile, ReadSeekTellAndRewindInTextMode) {
  TempFolder folder;
  std::string path = folder / "r.txt";
  WriteBytes(path, "ab\r\ncd\r\n");
  CTextFile file;
  ASSERT_NE(file.Open(path.c_str(), "r"), nullptr);
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, 1, sizeof buffer), 6u);
  EXPECT_EQ(std::string(buffer), "ab\ncd\n");
  file.Rewind();
  EXPECT_EQ(file.Tell(), 0);
  char line[16];
  ASSERT_NE(file.GetLine(line, sizeof line), nullptr);
  EXPECT_STREQ(line, "ab\n");
  EXPECT_EQ(file.Seek(0, SEEK_SET), 0);
  ASSERT_NE(file.GetLine(line, sizeof line), nullptr);
  EXPECT_STREQ(line, "ab\n");
  EXPECT_EQ(file.Tell(), 4) << "positions count the bytes on disk";
  file.Close();
}

TEST(TextFile, WithoutStreamEveryOperationReportsIt) {
  CTextFile file;
  char buffer[8] = "old";
  EXPECT_EQ(file.GetHandle(), nullptr);
  EXPECT_EQ(file.Close(), -1);
  EXPECT_EQ(file.GetLine(buffer, sizeof buffer), nullptr);
  EXPECT_EQ(file.PutString("x"), -1);
  EXPECT_EQ(file.Printf("%d", 1), 0);
  EXPECT_EQ(file.Seek(0, SEEK_SET), -1);
  EXPECT_EQ(file.Tell(), -1);
  EXPECT_EQ(file.Write("x", 1, 1), 0u);
  EXPECT_EQ(file.Read(buffer, 1, 1), 0u);
  file.Rewind();
  EXPECT_STREQ(buffer, "old");
}

TEST(TextFile, OpenFailsForMissingFileAndSecondCloseIsHarmless) {
  TempFolder folder;
  CTextFile file;
  EXPECT_EQ(file.Open((folder / "missing.txt").c_str(), "r"), nullptr);
  EXPECT_EQ(file.GetHandle(), nullptr);
  ASSERT_NE(file.Open((folder / "x.txt").c_str(), "w"), nullptr);
  EXPECT_EQ(file.Close(), 0);
  EXPECT_EQ(file.Close(), -1);
}

TEST(TextFile, OpenAllowsOtherReadersAndWriters) {
  TempFolder folder;
  std::string path = folder / "shared.txt";
  CTextFile writer, reader;
  ASSERT_NE(writer.Open(path.c_str(), "w"), nullptr);
  writer.PutString("line\n");
  std::fflush(writer.GetHandle());
  ASSERT_NE(reader.Open(path.c_str(), "r"), nullptr);
  char line[16];
  ASSERT_NE(reader.GetLine(line, sizeof line), nullptr);
  EXPECT_STREQ(line, "line\n");
  reader.Close();
  writer.Close();
}

TEST(TextFile, AttachUsesTheGivenStream) {
  TempFolder folder;
  std::string path = folder / "a.bin";
  WriteBytes(path, "x\ny\n");
  CTextFile file;
  FILE* stream = std::fopen(testfiles::TempFolder::NativePath(path).c_str(), "rb");
  ASSERT_NE(stream, nullptr);
  file.Attach(stream);
  EXPECT_EQ(file.GetHandle(), stream);
  char line[8];
  ASSERT_NE(file.GetLine(line, sizeof line), nullptr);
  EXPECT_STREQ(line, "x\n");
  EXPECT_EQ(file.Close(), 0);
}

TEST(TextFileW, WideLinesAndLineEnds) {
  TempFolder folder;
  std::string path = folder / "wide.txt";
  std::wstring wpath(path.begin(), path.end());
  CTextFileW file;
  ASSERT_NE(file.Open(wpath.c_str(), L"w"), nullptr);
  EXPECT_GE(file.PutString(L"alpha\n"), 0);
  EXPECT_GT(file.Printf(L"%d-%d\n", 1, 2), 0);
  EXPECT_EQ(file.Close(), 0);
  EXPECT_EQ(ReadBytes(path), "alpha\r\n1-2\r\n");

  ASSERT_NE(file.Open(wpath.c_str(), L"r"), nullptr);
  wchar_t line[4];
  std::vector<std::wstring> lines;
  while (file.GetLine(line, 4) != nullptr) lines.emplace_back(line);
  file.Close();
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"alp", L"ha\n", L"1-2", L"\n"}));

  CTextFileW none;
  EXPECT_EQ(none.Close(), -1);
  EXPECT_EQ(none.GetLine(line, 4), nullptr);
  EXPECT_EQ(none.PutString(L"x"), -1);
  EXPECT_EQ(none.Printf(L"x"), 0);
}

}  // namespace

namespace {

TEST(TextFile, ControlZEndsTextModeReads) {
  TempFolder folder;
  std::string path = folder / "z.txt";
  WriteBytes(path, "ab\r\nc\x1A" "d\r\ne\r\n");
  EXPECT_EQ(ReadLines(path, 64), (Lines{"ab\n", "c"}));
  CTextFile file;
  ASSERT_NE(file.Open(path.c_str(), "rb"), nullptr);
  char bytes[32] = {};
  EXPECT_EQ(file.Read(bytes, 1, sizeof bytes), 12u) << "binary mode reads it all";
  file.Close();
}

}  // namespace
