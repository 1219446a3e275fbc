// Tessaly on an English Windows: the groups run in a prefix of the en_US.UTF-8
// locale (display language 0409, ANSI code page 1252).  E2eEnglish: what
// Tessaly shows is English (read with the wide calls, so that no code page
// stands between), and Language=ja in Tessaly.ini brings the Japanese texts
// back whole.  E2eEnglishFiles: a layout saved there with Japanese file names
// on the desktop restores every icon; E2eJapaneseReadsEnglishFiles, in a
// Japanese prefix, restores the same file on the same files.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/e2e/tessaly_driver.h"
#include "tests/support/shell_desktop_client.h"

namespace e2e {
namespace {

using testsupport::DesktopIcon;
using testsupport::ShellDesktop;
using testsupport::ShellIcon;
using testsupport::TestDesktop;

constexpr UINT kRestoreFrom = 40004;

std::wstring WideText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

std::wstring WideItemText(HWND dialog, int id) { return WideText(GetDlgItem(dialog, id)); }

class E2eEnglish : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 1252u) << "this group runs in the en_US.UTF-8 locale";
    ASSERT_TRUE(desktop.Start({{"Notes", 20, 20}, {"Mail", 120, 20}}));
    DeleteFileA(CurrentLayoutFile().c_str());
  }
  void TearDown() override {
    if (tessaly.Running()) {
      int exitCode = -99;
      EXPECT_TRUE(tessaly.Close(&exitCode));
      EXPECT_EQ(exitCode, 0);
    }
  }
  // Opens the dialog of `command`, titled `title`, checks its texts and
  // closes it with its close box.
  void ExpectDialog(UINT command, const char* title, const std::map<int, std::wstring>& texts) {
    ASSERT_TRUE(tessaly.Post(WM_COMMAND, command));
    HWND dialog = tessaly.WaitForDialog(title);
    ASSERT_NE(dialog, nullptr) << title;
    for (const auto& [id, text] : texts) EXPECT_EQ(WideItemText(dialog, id), text) << id;
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(tessaly.WaitForNoDialog(title));
  }
  // The message box that the menu's Restore shows without a layout file.
  void ExpectNoLayoutMessage(const char* caption, const std::wstring& text) {
    ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
    HWND box = tessaly.WaitForDialog(caption);
    ASSERT_NE(box, nullptr) << caption;
    EXPECT_EQ(WideItemText(box, 0xFFFF), text);
    PressOk(box);
    EXPECT_TRUE(tessaly.WaitForNoDialog(caption));
  }

  TestDesktop desktop;
  Tessaly tessaly;
};

TEST_F(E2eEnglish, SettingsAndAboutDialogsReadEnglish) {
  ASSERT_TRUE(tessaly.Start());
  ExpectDialog(kSettings, "Settings",
               {{1005, L"Restore icon positions when Tessaly &starts"},
                {1006, L"Restore icon positions when the resolution &changes"},
                {1010, L"Save icon positions &automatically when the resolution changes"},
                {1011, L"Start Tessaly when I &log on to Windows"},
                {IDOK, L"OK"}});
  ExpectDialog(kAbout, "About", {{1003, L"Pavane Ver.0.08"}, {IDOK, L"OK"}});
}

TEST_F(E2eEnglish, MessagesAndTheUsageReadEnglish) {
  ASSERT_TRUE(tessaly.Start());
  ExpectNoLayoutMessage("Error - Pavane", L"No icon positions are saved for the current resolution.");
  // The command line tells by its exit code alone, in any language.
  EXPECT_EQ(RunTessaly("/restore \"C:\\no such layout.qvd\""), 1);
  EXPECT_EQ(tessaly.FindOwnWindow("#32770", nullptr), nullptr);

  Tessaly command;
  ASSERT_TRUE(command.Start(false, "/?"));
  HWND box = command.WaitForDialog("Pavane");
  ASSERT_NE(box, nullptr);
  const std::wstring usage = WideItemText(box, 0xFFFF);
  EXPECT_EQ(usage.rfind(L"Usage: Tessaly.exe [option]", 0), 0u);
  for (const wchar_t* option : {L"/save", L"/restore", L"/undo", L"/exit", L"/?", L"Exit codes"}) {
    EXPECT_NE(usage.find(option), std::wstring::npos) << option;
  }
  PressOk(box);
  int exitCode = -99;
  ASSERT_TRUE(command.WaitExit(&exitCode));
  EXPECT_EQ(exitCode, 0);
}

// The override takes the Japanese texts, whole although code page 1252
// cannot hold them; the settings file keeps it.
TEST_F(E2eEnglish, LanguageJaInTheSettingsShowsJapaneseWhole) {
  ASSERT_TRUE(WriteSettings("[General]\r\nLanguage=ja\r\n"));
  ASSERT_TRUE(tessaly.Start());
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSettings));
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = tessaly.FindOwnWindow("#32770", nullptr)) != nullptr; }));
  EXPECT_EQ(WideText(dialog), L"\u8a2d\u5b9a");  // 設定
  EXPECT_EQ(WideItemText(dialog, 1005), L"\u8d77\u52d5\u6642\u306b\u3001\u81ea\u52d5\u3067\u30a2\u30a4\u30b3\u30f3"
                                        L"\u4f4d\u7f6e\u3092\u5fa9\u5143\u3059\u308b(&S)");
  PressOk(dialog);
  ASSERT_TRUE(WaitFor([&] { return tessaly.FindOwnWindow("#32770", nullptr) == nullptr; }));
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = tessaly.FindOwnWindow("#32770", nullptr)) != nullptr; }));
  EXPECT_EQ(WideText(box), L"\u30a8\u30e9\u30fc - Pavane");  // エラー - Pavane
  PressOk(box);
  ASSERT_TRUE(WaitFor([&] { return tessaly.FindOwnWindow("#32770", nullptr) == nullptr; }));
  int exitCode = -99;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Language"), "ja");
}

// --- Layout files between an English and a Japanese Windows.

// Japanese names (表 and ソ end in the byte of a backslash), one beyond code
// page 932 and 1252 both, and plain ones.
std::vector<std::wstring> ExchangeFileNames() {
  return {L"\u8b70\u4e8b\u9332.txt", L"\u4e88\u5b9a\u8868.doc", L"\u30bd\u30d5\u30c8", L"\u5199\u771f.txt",
          L"Caf\u00e9.txt",         L"\u5730\u56f3",         L"Notes.txt",           L"\U0001F600 smile.txt",
          L"report.txt",           L"\u540d\u7c3f\u8868"};
}

// The folder the two groups share, outside either prefix (ctest gives its
// Linux path; Wine shows it on drive Z:).
std::string ExchangeFolder() {
  const char* unixPath = std::getenv("TESSALY_E2E_EXCHANGE");
  if (!unixPath) return std::string();
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Where each icon stands, by its file's name (UTF-8); written as lines
// "x y name".
using Places = std::map<std::string, std::pair<int, int>>;

Places PlacesOf(const std::vector<ShellIcon>& items) {
  Places places;
  for (const ShellIcon& item : items) places[item.parsingName] = {item.x, item.y};
  return places;
}

std::string Describe(const Places& places) {
  std::ostringstream out;
  for (const auto& [name, at] : places) out << "\n  " << name << " @ (" << at.first << ", " << at.second << ")";
  return out.str();
}

// Moves every icon to `places`, as the user drags them.
void Arrange(ShellDesktop& desktop, const Places& places) {
  const std::vector<ShellIcon> items = desktop.Items();
  for (size_t i = 0; i < items.size(); ++i) {
    auto found = places.find(items[i].parsingName);
    if (found != places.end()) {
      ASSERT_TRUE(desktop.Move(static_cast<int>(i), found->second.first, found->second.second));
    }
  }
}

class ExchangeFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    exchange = ExchangeFolder();
    ASSERT_FALSE(exchange.empty()) << "TESSALY_E2E_EXCHANGE names the folder the groups share";
    ASSERT_TRUE(ShellDesktop::ServeShellInterface());
    ASSERT_TRUE(ChangeResolution(1024, 768));
    ASSERT_TRUE(desktop.Start(ExchangeFileNames())) << "the Desktop folder must be a folder of this prefix, and empty";
    ASSERT_GE(desktop.Items().size(), ExchangeFileNames().size());
  }
  void TearDown() override {
    if (tessaly.Running()) {
      int exitCode = -99;
      EXPECT_TRUE(tessaly.Close(&exitCode));
    }
  }
  std::string LayoutInExchange() const { return exchange + "\\english.qvd"; }
  std::string PlacesInExchange() const { return exchange + "\\english-places.txt"; }

  // Restores `file` with Restore from (the file dialog answered by the
  // command line's route, which is the same restore) and waits for `saved`.
  void RestoreAndExpect(const std::string& file, const Places& saved) {
    EXPECT_EQ(RunTessaly("/restore \"" + file + "\""), 0);
    Places now;
    EXPECT_TRUE(WaitFor([&] { return (now = PlacesOf(desktop.Items())) == saved; }))
        << "now:" << Describe(now) << "\nsaved:" << Describe(saved);
  }

  std::string exchange;
  ShellDesktop desktop;
  Tessaly tessaly;
};

using E2eEnglishFiles = ExchangeFiles;
using E2eJapaneseReadsEnglishFiles = ExchangeFiles;

TEST_F(E2eEnglishFiles, ALayoutSavedWithJapaneseNamesRestoresEveryIcon) {
  ASSERT_EQ(GetACP(), 1252u);
  // Rows from the right edge, far from the view's own arrangement.
  Places saved = PlacesOf(desktop.Items());
  int i = 0;
  for (auto& entry : saved) {
    entry.second = {1024 - 100 - 80 * (i % 10), 20 + 90 * (i / 10)};
    ++i;
  }
  ASSERT_NO_FATAL_FAILURE(Arrange(desktop, saved));
  ASSERT_EQ(PlacesOf(desktop.Items()), saved);

  ASSERT_TRUE(tessaly.Start());
  RemoveTree(exchange);
  CreateDirectoryA(exchange.c_str(), nullptr);
  EXPECT_EQ(RunTessaly("/save \"" + LayoutInExchange() + "\""), 0);
  std::ofstream places(PlacesInExchange(), std::ios::binary);
  for (const auto& [name, at] : saved) places << at.first << ' ' << at.second << ' ' << name << '\n';
  places.close();

  // Every icon on another's place, then back.
  Places scrambled;
  auto other = saved.begin();
  for (const auto& entry : saved) {
    if (++other == saved.end()) other = saved.begin();
    scrambled[entry.first] = other->second;
  }
  ASSERT_NO_FATAL_FAILURE(Arrange(desktop, scrambled));
  RestoreAndExpect(LayoutInExchange(), saved);
}

TEST_F(E2eJapaneseReadsEnglishFiles, TheLayoutSavedOnAnEnglishWindowsRestoresEveryIcon) {
  ASSERT_EQ(GetACP(), 932u);
  Places saved;
  std::ifstream places(PlacesInExchange(), std::ios::binary);
  ASSERT_TRUE(places.good()) << PlacesInExchange() << ": E2eEnglishFiles runs first";
  int x = 0, y = 0;
  std::string name;
  while (places >> x >> y && std::getline(places, name)) saved[name.substr(1)] = {x, y};
  ASSERT_EQ(saved.size(), PlacesOf(desktop.Items()).size());
  ASSERT_NE(PlacesOf(desktop.Items()), saved) << "the shell arranged the icons itself";
  RestoreAndExpect(LayoutInExchange(), saved);
}

}  // namespace
}  // namespace e2e
