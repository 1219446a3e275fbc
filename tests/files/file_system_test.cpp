#include "framework/files/file_system.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "tests/files/temp_folder.h"

namespace {

using testfiles::Exists;
using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

// 表 and ソ end in the byte 0x5C.
const char kHyo[] = "表";
const char kSo[] = "ソフト";

void MakeFolder(const std::string& path) { ASSERT_EQ(CreateDirectoryTree(path.c_str()), 1) << path; }

// The root of the drive that holds `path`, in the program's form ("C:\" on
// Windows, "\" elsewhere).
std::string RootOf(const std::string& path) { return path.size() > 1 && path[1] == ':' ? path.substr(0, 3) : "\\"; }

TEST(FileSystem, PathKindTellsFilesFromFolders) {
  TempFolder folder;
  WriteBytes(folder / "file.txt", "x");
  WriteBytes(folder / (std::string("保存 ") + kHyo), "x");
  MakeFolder(folder / "sub");
  EXPECT_EQ(GetPathKind((folder / "file.txt").c_str()), kPathFile);
  EXPECT_EQ(GetPathKind((folder / (std::string("保存 ") + kHyo)).c_str()), kPathFile) << "its last byte is no separator";
  EXPECT_EQ(GetPathKind((folder / (std::string("保存 ") + kHyo + "\\")).c_str()), kPathFile);
  EXPECT_EQ(GetPathKind((folder / "sub").c_str()), kPathFolder);
  EXPECT_EQ(GetPathKind((folder / "sub\\").c_str()), kPathFolder);
  EXPECT_EQ(GetPathKind((folder / "missing").c_str()), kPathAbsent);
  EXPECT_EQ(GetPathKind((folder / "missing\\x").c_str()), kPathAbsent);
  EXPECT_EQ(GetPathKind(""), kPathFolder) << "the current folder";
}

TEST(FileSystem, PathKindOfDriveRoots) {
  TempFolder folder;
  std::string root = RootOf(folder.Path());
  EXPECT_EQ(GetPathKind(root.c_str()), kPathFolder) << root;
  if (root.size() == 3) {
    std::string bare = root.substr(0, 2);
    EXPECT_EQ(GetPathKind(bare.c_str()), kPathFolder) << bare;
    std::string lower = root;
    lower[0] = static_cast<char>(lower[0] | 0x20);
    EXPECT_EQ(GetPathKind(lower.c_str()), kPathFolder) << lower;
  }
  // No system here has a drive Q.
  EXPECT_EQ(GetPathKind("Q:"), kPathAbsent);
  EXPECT_EQ(GetPathKind("Q:\\"), kPathAbsent);
}

TEST(FileSystem, PathKindOfRelativeNames) {
  TempFolder folder;
  WriteBytes(folder / "here.txt", "x");
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(TempFolder::NativePath(folder.Path()));
  EXPECT_EQ(GetPathKind("here.txt"), kPathFile);
  EXPECT_EQ(GetPathKind("nothere.txt"), kPathAbsent);
  std::filesystem::current_path(previous);
}

// False where the system cannot store Japanese file names at all (Wine
// without a Japanese Unix locale answers "not found" for any such name).
bool StoresJapaneseNames(const TempFolder& folder) {
  std::string probe = folder / "あ";
  return CreateDirectoryTree(probe.c_str()) == 1 && GetPathKind(probe.c_str()) == kPathFolder;
}

TEST(FileSystem, TwoByteCharactersEndingIn5CStayWhole) {
  TempFolder folder;
  if (!StoresJapaneseNames(folder)) GTEST_SKIP() << "this system cannot store Japanese file names";
  std::string deep = folder / (std::string(kHyo) + "\\" + kSo + "\\x");
  MakeFolder(deep);
  EXPECT_EQ(GetPathKind(deep.c_str()), kPathFolder);
  WriteBytes(deep + "\\a.txt", "a");
  WriteBytes(folder / (std::string(kHyo) + "\\b.txt"), "b");
  EXPECT_EQ(CountFiles((folder / kHyo).c_str(), 1), 2);
  EXPECT_EQ(CountFiles((folder / kHyo).c_str(), 0), 1);
  // The closing backslash is looked for at a character start too: a path
  // that ends in 表 names 表, whose last byte is no separator.
  EXPECT_EQ(GetPathKind((folder / kHyo).c_str()), kPathFolder);
  char part[1024];
  std::string file = folder / (std::string(kHyo) + "\\" + kSo);
  EXPECT_EQ(GetDirectoryPart(file.c_str(), part, sizeof part), static_cast<int>((folder / kHyo).size()));
  EXPECT_EQ(std::string(part), folder / kHyo);
  int error = 7;
  EXPECT_EQ(DeletePath((folder / (std::string(kHyo) + "\\" + kSo)).c_str(), 1, &error), 3);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(CountFiles((folder / kHyo).c_str(), 1), 1);
  EXPECT_EQ(DeletePath((folder / kHyo).c_str(), 1, &error), 2);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(GetPathKind((folder / kHyo).c_str()), kPathAbsent);
}

TEST(FileSystem, CreateDirectoryTreeCreatesTheWholeChain) {
  TempFolder folder;
  EXPECT_EQ(CreateDirectoryTree((folder / "a\\b\\c").c_str()), 1);
  EXPECT_EQ(GetPathKind((folder / "a\\b\\c").c_str()), kPathFolder);
  EXPECT_EQ(CreateDirectoryTree((folder / "a\\b\\c").c_str()), 1) << "existing chain";
  EXPECT_EQ(CreateDirectoryTree((folder / "d\\e\\").c_str()), 1) << "closing backslash";
  EXPECT_EQ(GetPathKind((folder / "d\\e").c_str()), kPathFolder);
}

TEST(FileSystem, CreateDirectoryTreeStopsAtAFile) {
  TempFolder folder;
  MakeFolder(folder / "a");
  WriteBytes(folder / "a\\file", "x");
  EXPECT_EQ(CreateDirectoryTree((folder / "a\\file\\c\\d").c_str()), 0);
  EXPECT_EQ(GetPathKind((folder / "a\\file").c_str()), kPathFile);
  EXPECT_EQ(ReadBytes(folder / "a\\file"), "x");
}

TEST(FileSystem, CreateDirectoryTreeRefusesServerWithoutShareAndOverlongPaths) {
  EXPECT_EQ(CreateDirectoryTree("\\\\server"), 0);
  TempFolder folder;
  std::string longPath = folder.Path();
  while (longPath.size() < 1100) longPath += "\\abcdefghij";
  EXPECT_EQ(CreateDirectoryTree(longPath.c_str()), 0);
  EXPECT_FALSE(Exists(folder / "abcdefghij")) << "a cut path would create other folders";
}

TEST(FileSystem, DeleteDirectoryTreeCountsFilesAndFolders) {
  TempFolder folder;
  std::string tree = folder / "tree";
  MakeFolder(tree + "\\sub");
  WriteBytes(tree + "\\1.txt", "1");
  WriteBytes(tree + "\\2.txt", "2");
  WriteBytes(tree + "\\sub\\3.txt", "3");
  int error = 0;
  EXPECT_EQ(DeleteDirectoryTree(tree.c_str(), &error), 5);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(GetPathKind(tree.c_str()), kPathAbsent);
  EXPECT_EQ(DeleteDirectoryTree(tree.c_str(), &error), 0);
  EXPECT_EQ(error, 1) << "a missing folder cannot be removed";
}

TEST(FileSystem, FolderLinksAreRemovedNotEnteredAndNotCounted) {
  TempFolder folder;
  std::string precious = folder / "precious";
  MakeFolder(precious);
  WriteBytes(precious + "\\keep.txt", "keep");
  std::string tree = folder / "tree";
  MakeFolder(tree);
  WriteBytes(tree + "\\1.txt", "1");
  std::error_code failed;
  std::filesystem::create_directory_symlink(TempFolder::NativePath(precious), TempFolder::NativePath(tree + "\\link"),
                                            failed);
  if (failed) GTEST_SKIP() << "no folder links here: " << failed.message();
  std::filesystem::create_directory_symlink(TempFolder::NativePath(tree), TempFolder::NativePath(tree + "\\loop"),
                                            failed);
  ASSERT_FALSE(failed);
  EXPECT_EQ(CountFiles(tree.c_str(), 1), 1);
  int error = 0;
  EXPECT_EQ(DeleteDirectoryTree(tree.c_str(), &error), 4);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(GetPathKind(tree.c_str()), kPathAbsent);
  EXPECT_EQ(ReadBytes(precious + "\\keep.txt"), "keep");
}

TEST(FileSystem, DeletePathResults) {
  TempFolder folder;
  int error = 7;
  EXPECT_EQ(DeletePath((folder / "missing").c_str(), 0, &error), 0);
  EXPECT_EQ(error, 0);

  WriteBytes(folder / "f.txt", "x");
  EXPECT_EQ(DeletePath((folder / "f.txt").c_str(), 0, &error), 1);
  EXPECT_FALSE(Exists(folder / "f.txt"));

  MakeFolder(folder / "full");
  WriteBytes(folder / "full\\x.txt", "x");
  EXPECT_EQ(DeletePath((folder / "full").c_str(), 0, &error), 0);
  EXPECT_EQ(error, 1);
  EXPECT_EQ(DeletePath((folder / "full\\").c_str(), 1, &error), 2);
  EXPECT_EQ(error, 0);

  MakeFolder(folder / "empty");
  EXPECT_EQ(DeletePath((folder / "empty").c_str(), 0, &error), 1);
  EXPECT_EQ(error, 0);
}

TEST(FileSystem, OverlongPathsAreRefusedNotOverrun) {
  TempFolder folder;
  // Folders nested until their path passes 272 bytes.
  std::string deep = folder.Path();
  std::string justBelow;
  while (deep.size() < 300) {
    deep += "\\abcdefghijklmnopqrstuvwxyz";
    if (deep.size() < 272) justBelow = deep;
  }
  CreateDirectoryTree(deep.c_str());
  if (GetPathKind(deep.c_str()) != kPathFolder) GTEST_SKIP() << "the system's path limit keeps folders this deep from being made";
  WriteBytes(justBelow + "\\near.txt", "n");
  WriteBytes(deep + "\\far.txt", "f");
  EXPECT_EQ(CountFiles(justBelow.c_str(), 1), 1) << "the subfolder past 272 bytes is skipped";
  EXPECT_EQ(CountFiles(deep.c_str(), 1), 0);
  int error = 0;
  EXPECT_EQ(DeletePath(deep.c_str(), 1, &error), 0);
  EXPECT_EQ(error, 1);
  EXPECT_EQ(ReadBytes(deep + "\\far.txt"), "f");
}

TEST(FileSystem, CopyFileToPathCreatesTheTargetFolder) {
  TempFolder folder;
  WriteBytes(folder / "src.txt", "content");
  std::string target = folder / "x\\y\\z\\copy.txt";
  EXPECT_NE(CopyFileToPath((folder / "src.txt").c_str(), target.c_str(), 0), 0);
  EXPECT_EQ(ReadBytes(target), "content");
  EXPECT_EQ(CopyFileToPath((folder / "src.txt").c_str(), target.c_str(), 1), 0) << "fail if exists";
  WriteBytes(folder / "src.txt", "newer");
  EXPECT_NE(CopyFileToPath((folder / "src.txt").c_str(), target.c_str(), 0), 0);
  EXPECT_EQ(ReadBytes(target), "newer");
}

TEST(FileSystem, CopyFileToPathRefusesTargetsWithoutAFolder) {
  TempFolder folder;
  WriteBytes(folder / "src.txt", "content");
  WriteBytes(folder / "blocker", "b");
  EXPECT_EQ(CopyFileToPath((folder / "src.txt").c_str(), (folder / "blocker\\copy.txt").c_str(), 0), 0);
  EXPECT_EQ(CopyFileToPath((folder / "src.txt").c_str(), "copy.txt", 0), 0);
  EXPECT_EQ(CopyFileToPath((folder / "missing.txt").c_str(), (folder / "copy.txt").c_str(), 0), 0);
  // A folder part of 512 bytes or more does not fit: no copy, no folders.
  std::string longTarget = folder.Path();
  while (longTarget.size() < 600) longTarget += "\\0123456789";
  EXPECT_EQ(CopyFileToPath((folder / "src.txt").c_str(), (longTarget + "\\copy.txt").c_str(), 0), 0);
  EXPECT_FALSE(Exists(folder / "0123456789"));
}

TEST(FileSystem, FileLengthAndCounts) {
  TempFolder folder;
  WriteBytes(folder / "five.txt", "12345");
  WriteBytes(folder / "empty.txt", "");
  MakeFolder(folder / "sub\\subsub");
  WriteBytes(folder / "sub\\a", "a");
  WriteBytes(folder / "sub\\subsub\\b", "b");
  EXPECT_EQ(GetFileLength((folder / "five.txt").c_str()), 5u);
  EXPECT_EQ(GetFileLength((folder / "empty.txt").c_str()), 0u);
  EXPECT_EQ(GetFileLength((folder / "missing").c_str()), 0u);
  EXPECT_EQ(GetFileLength((folder / "sub").c_str()), 0u);
  EXPECT_EQ(CountFiles(folder.Path().c_str(), 0), 2);
  EXPECT_EQ(CountFiles(folder.Path().c_str(), 1), 4);
  EXPECT_EQ(CountFiles((folder.Path() + "\\").c_str(), 1), 4);
  EXPECT_EQ(CountFiles((folder / "missing").c_str(), 1), 0);
}

TEST(FileSystem, DirectoryPartIsEverythingBeforeTheLastSeparator) {
  struct Case {
    const char* path;
    int length;
    const char* part;
  };
  const Case cases[] = {
      {"C:\\Tools\\app.exe", 8, "C:\\Tools"}, {"C:\\app.exe", 2, "C:"},   {"app.exe", 0, nullptr},
      {"\\app.exe", 0, nullptr},              {"a\\表", 1, "a"},          {"表\\x", 2, "表"},
      {"x\\表", 1, "x"},                      {"a\\b\\", 3, "a\\b"},
  };
  for (const Case& c : cases) {
    char buffer[64] = "untouched";
    EXPECT_EQ(GetDirectoryPart(c.path, buffer, sizeof buffer), c.length) << c.path;
    EXPECT_STREQ(buffer, c.part != nullptr ? c.part : "untouched") << c.path;
  }
  char small[8] = "small";
  EXPECT_EQ(GetDirectoryPart("C:\\Tools\\app.exe", small, 8), 0);
  EXPECT_STREQ(small, "small");
}

}  // namespace
