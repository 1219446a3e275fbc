#include "app/layout_commands.h"

#include <cstdio>
#include <filesystem>

#include "app/kept_layouts.h"
#include "app/snapshot_store.h"
#include "app/undo.h"
#include "tests/app/app_fixture.h"

namespace {

class LayoutCommands : public AppFixture {};

TEST_F(LayoutCommands, SaveWritesTheCapturedLayoutAndReplacesAnEarlierFile) {
  SaveDefaultLayout(app);
  EXPECT_TRUE(SameIcons(Stored(host.PathFor(1024, 768)), DesktopNow()));

  view.RemoveIcon(1);
  SaveDefaultLayout(app);
  EXPECT_TRUE(SameIcons(Stored(host.PathFor(1024, 768)), DesktopNow()))
      << Describe(Stored(host.PathFor(1024, 768)));
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(LayoutCommands, SaveReportsACaptureFailureAndLeavesTheFileAlone) {
  const std::string path = host.PathFor(1024, 768);
  WriteBytes(path, "[QVD-Fomat]\r\nVersion=0.01\r\n");
  view.SetPresent(false);
  SaveDefaultLayout(app);
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(host.Messages()[0].text, static_cast<unsigned>(IDS_CAPTURE_FAILED));
  EXPECT_EQ(host.Messages()[0].caption, static_cast<unsigned>(IDS_ERROR_CAPTION));
  EXPECT_EQ(ReadBytes(path), "[QVD-Fomat]\r\nVersion=0.01\r\n");
}

TEST_F(LayoutCommands, SaveReportsAFileThatCannotBeWritten) {
  // A folder in the file's place.
  std::filesystem::create_directory(testfiles::TempFolder::NativePath(host.PathFor(1024, 768)));
  SaveDefaultLayout(app);
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(host.Messages()[0].text, static_cast<unsigned>(IDS_SAVE_FAILED));
  EXPECT_EQ(host.Messages()[0].caption, static_cast<unsigned>(IDS_ERROR_CAPTION));
}

TEST_F(LayoutCommands, WithoutAnApplicationDataFolderSaveAndRestoreSayWhy) {
  host.SetAppDataKnown(false);
  SaveDefaultLayout(app);
  RestoreDefaultLayout(app);
  ASSERT_EQ(host.Messages().size(), 2u);
  EXPECT_EQ(host.Messages()[0].text, static_cast<unsigned>(IDS_SAVE_FAILED));
  EXPECT_EQ(host.Messages()[0].caption, static_cast<unsigned>(IDS_ERROR_CAPTION));
  EXPECT_EQ(host.Messages()[1].text, static_cast<unsigned>(IDS_NO_LAYOUT));
  EXPECT_EQ(host.Messages()[1].caption, static_cast<unsigned>(IDS_ERROR_CAPTION_NAMED));
  EXPECT_TRUE(view.Moves().empty());
}

TEST_F(LayoutCommands, SaveWithAutomaticSaveOnMakesTheSavedLayoutTheSnapshot) {
  settings.resolutionAutoCapture = 1;
  app.snapshots.TakeAndReport(app.Desktop());
  // The user drags an icon; the hook does not hear the shell's own moves.
  MoveIcon(2, 600, 600);
  SaveDefaultLayout(app);
  const std::string key = host.PathFor(1024, 768);
  EXPECT_EQ(app.snapshots.LatestPath(), key);
  EXPECT_TRUE(SameIcons(SnapshotOf(key), DesktopNow()));

  // A display change writes what was saved, not the older snapshot.
  const IconLayout saved = DesktopNow();
  ChangeResolution(800, 600);
  FinishDisplayChange();
  EXPECT_TRUE(SameIcons(Stored(key), saved)) << Describe(Stored(key));
}

TEST_F(LayoutCommands, SaveWithAutomaticSaveOffLeavesTheSnapshotsAlone) {
  SaveDefaultLayout(app);
  EXPECT_TRUE(app.snapshots.LatestPath().empty());
  EXPECT_TRUE(app.snapshots.Snapshots().empty());
}

TEST_F(LayoutCommands, RestorePutsTheIconsBackExchangingWithOccupants) {
  SaveDefaultLayout(app);
  const IconLayout saved = DesktopNow();
  MoveIcon(0, 100, 50);  // Notes onto Mail's place
  MoveIcon(1, 10, 10);
  MoveIcon(2, 400, 400);
  const IconLayout scrambled = DesktopNow();
  RestoreDefaultLayout(app);
  EXPECT_TRUE(SameIcons(DesktopNow(), saved)) << Describe(DesktopNow());
  EXPECT_TRUE(host.Messages().empty());
  // Once more, with nothing to move: the undo still goes back to before the
  // restore that moved the icons.
  RestoreDefaultLayout(app);
  ASSERT_TRUE(UndoRestore(app));
  EXPECT_TRUE(SameIcons(DesktopNow(), scrambled)) << Describe(DesktopNow());
}

// The shell does not keep what a restore asks: it arranges the icons itself
// (nothing is moved, nothing kept for an undo), or it puts one elsewhere.
TEST_F(LayoutCommands, RestoreTellsWhenTheShellDoesNotKeepThePlaces) {
  SaveDefaultLayout(app);
  MoveIcon(0, 400, 10);
  MoveIcon(1, 400, 90);
  view.SetArranging(Arranging::kArranges);
  RestoreDefaultLayout(app);
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(host.Messages()[0].text, static_cast<unsigned>(IDS_SHELL_ARRANGES));
  EXPECT_EQ(host.Messages()[0].caption, static_cast<unsigned>(IDS_ERROR_CAPTION_NAMED));
  EXPECT_TRUE(view.Moves().empty());
  EXPECT_FALSE(testfiles::Exists(folder / "undo.qvd"));
  EXPECT_FALSE(RestoreLayoutQuietly(app, ""));

  view.SetArranging(Arranging::kKeepsPlaces);
  bool shellMoves = false;
  view.AfterMove([&](int index) {
    if (shellMoves || index != 1) return;
    shellMoves = true;
    view.SetItemPosition(1, 700, 500);
    shellMoves = false;
  });
  RestoreDefaultLayout(app);
  ASSERT_EQ(host.Messages().size(), 2u);
  EXPECT_EQ(host.Messages()[1].text, static_cast<unsigned>(IDS_NOT_KEPT));
  EXPECT_EQ(host.Messages()[1].number, 1);
  EXPECT_EQ(view.Icons()[0].x, 10) << "the others are restored";
  MoveIcon(1, 400, 90);
  EXPECT_FALSE(RestoreLayoutQuietly(app, ""));
}

TEST_F(LayoutCommands, RestoreWithoutAFileShowsTheNoDataMessage) {
  RestoreDefaultLayout(app);
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(host.Messages()[0].text, static_cast<unsigned>(IDS_NO_LAYOUT));
  EXPECT_EQ(host.Messages()[0].caption, static_cast<unsigned>(IDS_ERROR_CAPTION_NAMED));
  EXPECT_TRUE(view.Moves().empty());
}

TEST_F(LayoutCommands, SaveAsCancelledCapturesAndShowsNothing) {
  SaveLayoutAs(app);
  EXPECT_EQ(host.FileDialogs().size(), 1u);
  EXPECT_TRUE(view.Calls().empty());
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_TRUE(testfiles::ListFolder(folder.Path()).empty());
}

TEST_F(LayoutCommands, FileDialogsOfferTheCurrentResolutionsFiles) {
  host.SetResolution(800, 600);
  SaveLayoutAs(app);
  RestoreLayoutFrom(app);
  ASSERT_EQ(host.FileDialogs().size(), 2u);
  const FileDialogRequest& saveAs = host.FileDialogs()[0];
  const FileDialogRequest& open = host.FileDialogs()[1];
  EXPECT_TRUE(saveAs.save);
  EXPECT_FALSE(open.save);
  EXPECT_FALSE(saveAs.fileMustExist) << "a Save as dialog takes new file names";
  EXPECT_TRUE(open.fileMustExist);
  for (const FileDialogRequest* r : {&saveAs, &open}) {
    EXPECT_EQ(r->defaultExtension, "800x600.qvd");
    EXPECT_EQ(r->title, "Title");
  }
  EXPECT_EQ(saveAs.filter, std::string("Layouts(*.800x600.qvd)\0*.800x600.qvd\0All(*.*)\0*.*\0\0",
                                       sizeof "Layouts(*.800x600.qvd)\0*.800x600.qvd\0All(*.*)\0*.*\0\0" - 1));
  // Restore from finds the kept versions too ("default.800x600.20261208-143005.qvd").
  const char kOpenFilter[] =
      "Layouts(*.800x600.qvd)\0*.800x600.qvd;*.800x600.\?\?\?\?\?\?\?\?-\?\?\?\?\?\?*.qvd\0All(*.*)\0*.*\0\0";
  EXPECT_EQ(open.filter, std::string(kOpenFilter, sizeof kOpenFilter - 1));
}

// The tray menu's list: the setup's file and its kept versions newest first,
// by time and icon count, then the named files used lately (the newest
// first, at most five, one entry per file, those gone from the disk left
// out), "&" doubled; a greyed entry when there is nothing.
TEST_F(LayoutCommands, TheLayoutsAtHandAreListedNewestFirst) {
  std::vector<KeptLayoutItem> items = KeptLayoutItems(app);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_FALSE(items[0].enabled);
  EXPECT_TRUE(items[0].path.empty());

  SaveDefaultLayout(app);  // 3 icons
  view.RemoveIcon(2);
  SaveDefaultLayout(app);  // 2 icons; the first kept
  for (const char* name : {"a.qvd", "b&c.qvd", "c.qvd", "d.qvd", "e.qvd", "f.qvd", "B&C.QVD"}) {
    ASSERT_TRUE(SaveLayoutQuietly(app, folder / name)) << name;
  }
  std::remove(testfiles::TempFolder::NativePath(folder / "e.qvd").c_str());
  items = KeptLayoutItems(app);
  std::vector<std::string> labels;
  for (const KeptLayoutItem& item : items) labels.push_back(item.label);
  ASSERT_EQ(items.size(), 6u) << ::testing::PrintToString(labels);
  EXPECT_EQ(items[0].path, host.PathFor(1024, 768));
  EXPECT_EQ(items[0].label.substr(0, 3), "&1 ");
  EXPECT_NE(items[0].label.find("  2 icons (current)"), std::string::npos) << items[0].label;
  EXPECT_NE(items[1].label.find("  3 icons"), std::string::npos) << items[1].label;
  EXPECT_EQ(items[1].label.find("(current)"), std::string::npos) << items[1].label;
  EXPECT_TRUE(items[2].separatorBefore);
  // B&C.QVD took the place of b&c.qvd; e.qvd is gone; a.qvd fell off the end.
  const std::vector<std::string> named = {"&3 B&&C.QVD", "&4 f.qvd", "&5 d.qvd", "&6 c.qvd"};
  for (size_t i = 0; i < named.size(); ++i) EXPECT_EQ(items[2 + i].label, named[i]);
  // A kept version restored is not a named file of the user's.
  RestoreLayoutFromFile(app, items[1].path);
  EXPECT_EQ(KeptLayoutItems(app).size(), 6u);
  EXPECT_EQ(view.Icons().size(), 2u);
}

TEST_F(LayoutCommands, FilterEndsInTwoNulsForAnyTag) {
  const std::string filter = MakeLayoutFileFilter("1280x1024.qvd", false, "Layouts", "All");
  ASSERT_GE(filter.size(), 2u);
  EXPECT_EQ(filter[filter.size() - 1], '\0');
  EXPECT_EQ(filter[filter.size() - 2], '\0');
  EXPECT_EQ(std::string(filter.c_str() + std::string(filter.c_str()).size() + 1), "*.1280x1024.qvd");
}

TEST_F(LayoutCommands, SaveAsWritesTheChosenFileAndRestoreFromReadsIt) {
  const std::string chosen = folder / "mine.1024x768.qvd";
  host.AnswerFileDialog(chosen);
  SaveLayoutAs(app);
  const IconLayout saved = DesktopNow();
  EXPECT_TRUE(SameIcons(Stored(chosen), saved));

  MoveIcon(0, 100, 50);
  MoveIcon(1, 10, 10);
  RestoreLayoutFrom(app);
  EXPECT_TRUE(SameIcons(DesktopNow(), saved)) << Describe(DesktopNow());
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(LayoutCommands, SaveAsAndRestoreFromUseTheNamedCaptionOnFailure) {
  host.AnswerFileDialog(folder / "missing.qvd");
  RestoreLayoutFrom(app);
  // Files that hold no layout: another kind of file, a layout without
  // entries.  Nothing moves.
  WriteBytes(folder / "Tessaly.ini", "[General]\r\nStart_AutoRestore=true\r\n");
  host.AnswerFileDialog(folder / "Tessaly.ini");
  RestoreLayoutFrom(app);
  ASSERT_EQ(SaveLayoutFile((folder / "empty.qvd").c_str(), IconLayout()), 1);
  host.AnswerFileDialog(folder / "empty.qvd");
  RestoreLayoutFrom(app);
  EXPECT_TRUE(view.Moves().empty());
  std::filesystem::create_directory(testfiles::TempFolder::NativePath(folder / "folder.qvd"));
  host.AnswerFileDialog(folder / "folder.qvd");
  SaveLayoutAs(app);
  view.SetPresent(false);
  SaveLayoutAs(app);
  ASSERT_EQ(host.Messages().size(), 5u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(host.Messages()[i].text, static_cast<unsigned>(IDS_NO_LAYOUT));
  EXPECT_EQ(host.Messages()[3].text, static_cast<unsigned>(IDS_SAVE_FAILED));
  EXPECT_EQ(host.Messages()[4].text, static_cast<unsigned>(IDS_CAPTURE_FAILED));
  for (const auto& m : host.Messages()) EXPECT_EQ(m.caption, static_cast<unsigned>(IDS_ERROR_CAPTION_NAMED));
}

}  // namespace

namespace {

// The command line's Save and Restore: the same outcome as the menu's, never
// a dialog or a message box, and every failure reported as false.
enum class Before { kNothing, kNoDesktop, kFolderInFilesPlace, kNoAppDataFolder, kSavedThenNoDesktop, kOtherFile };

struct QuietCase {
  const char* what;
  Before before;
  bool save;
  const char* file;  // "" for the "default" file, else a name in the scratch folder
  bool result;
};

const QuietCase kQuietCases[] = {
    {"save to the default file", Before::kNothing, true, "", true},
    {"save without a desktop", Before::kNoDesktop, true, "", false},
    {"save into a folder's place", Before::kFolderInFilesPlace, true, "", false},
    {"save without an application-data folder", Before::kNoAppDataFolder, true, "", false},
    {"restore without an application-data folder", Before::kNoAppDataFolder, false, "", false},
    {"restore a missing named file", Before::kNothing, false, "missing.qvd", false},
    {"restore a named file that holds no layout", Before::kOtherFile, false, "Tessaly.ini", false},
    {"restore without a desktop", Before::kSavedThenNoDesktop, false, "", false},
};

class QuietCommands : public AppFixture, public ::testing::WithParamInterface<QuietCase> {
 protected:
  void Arrange(Before before) {
    switch (before) {
      case Before::kNothing:
        break;
      case Before::kNoDesktop:
        view.SetPresent(false);
        break;
      case Before::kFolderInFilesPlace:
        std::filesystem::create_directory(testfiles::TempFolder::NativePath(host.PathFor(1024, 768)));
        break;
      case Before::kNoAppDataFolder:
        host.SetAppDataKnown(false);
        break;
      case Before::kSavedThenNoDesktop:
        ASSERT_TRUE(SaveLayoutQuietly(app, ""));
        view.SetPresent(false);
        break;
      case Before::kOtherFile:
        WriteBytes(folder / "Tessaly.ini", "[General]\r\nStart_AutoRestore=true\r\n");
        break;
    }
  }
};

TEST_P(QuietCommands, ReportTheOutcomeWithoutAMessage) {
  const QuietCase& c = GetParam();
  SCOPED_TRACE(c.what);
  Arrange(c.before);
  const std::string file = *c.file ? folder / c.file : "";
  view.ClearCalls();
  const bool result = c.save ? SaveLayoutQuietly(app, file) : RestoreLayoutQuietly(app, file);
  EXPECT_EQ(result, c.result);
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_TRUE(host.FileDialogs().empty());
  EXPECT_TRUE(view.Moves().empty());
  if (c.save && c.result) {
    EXPECT_TRUE(SameIcons(Stored(*c.file ? file : host.PathFor(1024, 768)), DesktopNow()));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, QuietCommands, ::testing::ValuesIn(kQuietCases));

}  // namespace
