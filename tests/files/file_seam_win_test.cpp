// Files that another program holds open, as a virus scanner, an indexer or a
// backup does for a moment: a rewrite waits for the file a short while and
// keeps what the user set on it, and a size is read while another program
// writes the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "framework/files/file_seam.h"
#include "framework/files/file_system.h"
#include "tests/files/fault_sweep.h"
#include "tests/files/temp_folder.h"

namespace {

using testfiles::ListFolder;
using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

// Another program's handle on `path`, opened with `access` and `share`.
class Holder {
 public:
  Holder(const std::string& path, DWORD access, DWORD share)
      : handle_(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~Holder() { Release(); }
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Handle() const { return handle_; }
  void Release() {
    if (Held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

struct ShareCase {
  const char* what;
  DWORD share;  // what the holder lets others do
};

// Without delete sharing the target cannot be replaced while it is held.
const ShareCase kBlockingHolders[] = {
    {"shares nothing", 0},
    {"shares reading", FILE_SHARE_READ},
    {"shares reading and writing", FILE_SHARE_READ | FILE_SHARE_WRITE},
};

TEST(FileSeamWin, ReplaceWaitsForAHolderThatLetsGoSoon) {
  for (const ShareCase& c : kBlockingHolders) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::string path = folder / "Tessaly.ini";
    WriteBytes(path, "old");
    Holder holder(path, GENERIC_READ, c.share);
    ASSERT_TRUE(holder.Held());
    // Let go well inside the second that a replace waits for a holder: a
    // thread that runs most of a second late is no longer "soon".
    std::thread release([&] {
      Sleep(100);
      holder.Release();
    });
    const bool replaced = ReplaceFileContent(path.c_str(), "new");
    release.join();
    EXPECT_TRUE(replaced);
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::string>{"Tessaly.ini"});
  }
}

TEST(FileSeamWin, ReplaceGivesUpOnAHolderThatStaysAndLeavesTheFile) {
  TempFolder folder;
  const std::string path = folder / "Tessaly.ini";
  WriteBytes(path, "old");
  Holder holder(path, GENERIC_READ, FILE_SHARE_READ);
  ASSERT_TRUE(holder.Held());
  EXPECT_FALSE(ReplaceFileContent(path.c_str(), "new"));
  holder.Release();
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::string>{"Tessaly.ini"});
}

// What the user set on the file stays: hidden stays hidden, and a read-only
// file is not replaced at all.
TEST(FileSeamWin, ReplaceKeepsTheTargetsAttributes) {
  struct Case {
    const char* what;
    DWORD attributes;
    bool replaced;
  };
  const Case cases[] = {
      {"hidden", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, true},
      {"system", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE, true},
      {"read-only", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    const std::string path = folder / "default.1024x768.qvd";
    WriteBytes(path, "old");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), c.attributes));
    if (GetFileAttributesA(path.c_str()) != c.attributes) {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      GTEST_SKIP() << "this file system does not keep the attribute " << c.what;
    }
    EXPECT_EQ(ReplaceFileContent(path.c_str(), "new"), c.replaced);
    EXPECT_EQ(ReadBytes(path), c.replaced ? "new" : "old");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), c.attributes);
    EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::string>{"default.1024x768.qvd"});
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST(FileSeamWin, FileLengthOfAFileAnotherProgramIsWriting) {
  for (DWORD share : {FILE_SHARE_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}) {
    SCOPED_TRACE(share);
    TempFolder folder;
    const std::string path = folder / "growing.qvd";
    WriteBytes(path, "");
    Holder writer(path, GENERIC_WRITE, share);
    ASSERT_TRUE(writer.Held());
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer.Handle(), "12345", 5, &written, nullptr));
    EXPECT_EQ(GetFileLength(path.c_str()), 5u);
  }
}

}  // namespace
