#include "app/hook_report.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "tests/app/app_fixture.h"

namespace {

struct Report {
  std::uint64_t wParam;
  std::uint64_t lParam;
  bool qualifies;
};

constexpr Report kReports[] = {
    {0x100F, 0, true},                     // LVM_SETITEMPOSITION
    {0x1031, 0, true},                     // LVM_SETITEMPOSITION32
    {0x100F, 0x1234, true},                // a placement qualifies whatever lParam holds
    {0x4E, 0xFFFFFF50u, true},             // LVN_ENDLABELEDITW
    {0x4E, 0xFFFFFF96u, true},             // LVN_ENDLABELEDITA
    {0x4E, 0xFFFFFF98u, true},             // LVN_DELETEALLITEMS
    {0x4E, 0xFFFFFF99u, true},             // LVN_DELETEITEM
    {0x4E, 0xFFFFFF9Au, true},             // LVN_INSERTITEM
    {0x4E, 0xFFFFFF97u, false},            // LVN_BEGINLABELEDITA
    {0x4E, 0, false},                      // a notification whose code could not be read
    {0x4E, 0xFFFFFFFFFFFFFF9Aull, false},  // LVN_INSERTITEM sign-extended: not the library's report
    {0x4E, 0xFFFFFFFFFFFFFF50ull, false},
    {0x1000000004Eull, 0xFFFFFF9Au, false},  // wParam compared in full width too
    {0x1010, 0, false},                      // LVM_GETITEMPOSITION
    {0x1004, 0, false},                      // LVM_GETITEMCOUNT
    {0x10000100Full, 0, false},
    {0, 0, false},
    {0x9A, 0xFFFFFF9Au, false},
};

TEST(HookReport, QualifiesOnlyPlacementsAndTheFiveListViewNotifications) {
  for (const Report& r : kReports) {
    EXPECT_EQ(IsLayoutReport(r.wParam, r.lParam), r.qualifies)
        << std::hex << "wParam 0x" << r.wParam << " lParam 0x" << r.lParam;
  }
}

// A report as the hook posts it: LVM_SETITEMPOSITION; a WM_NOTIFY of
// LVN_BEGINLABELEDITW, which does not qualify.
constexpr std::uint64_t kSetItemPosition = 0x100F;
constexpr std::uint64_t kNotify = 0x4E;
constexpr std::uint64_t kBeginLabelEdit = 0xFFFFFF97u;

class HookReports : public AppFixture {};

TEST_F(HookReports, HookReportsTakeASnapshotOnlyWithTheOptionOnAndNoLayoutWorkRunning) {
  OnHookNotification(app);
  EXPECT_EQ(Captures(), 0);

  settings.resolutionAutoCapture = 1;
  app.layoutWork = 1;
  OnHookNotification(app);
  EXPECT_EQ(Captures(), 0);

  app.layoutWork = 0;
  MoveIcon(0, 500, 500);
  OnHookNotification(app);
  EXPECT_EQ(Captures(), 1);
  EXPECT_TRUE(SameIcons(SnapshotOf(host.PathFor(1024, 768)), DesktopNow()));
}

TEST_F(HookReports, ABurstOfReportsTakesOneSnapshot) {
  settings.resolutionAutoCapture = 1;
  for (int i = 0; i < 30; ++i) host.QueueReport(kSetItemPosition, 0);
  host.QueueReport(kNotify, kBeginLabelEdit);  // would be ignored anyway
  host.QueueReport(kSetItemPosition, 0);

  OnHookNotification(app);

  EXPECT_EQ(Captures(), 1);
  EXPECT_EQ(host.PendingReports(), 0u);
}

TEST_F(HookReports, SnapshotFailureMessagesDoNotPileUp) {
  settings.resolutionAutoCapture = 1;
  view.SetPresent(false);
  int opened = 0;
  size_t callsBefore = 0;
  // While the message box is open, more reports arrive and are handled; each
  // tries a snapshot, which fails again.
  host.WhileMessageOpen([&] {
    ++opened;
    callsBefore = view.Calls().size();
    for (int i = 0; i < 3; ++i) OnHookNotification(app);
    EXPECT_GT(view.Calls().size(), callsBefore) << "the nested reports tried their snapshots";
  });
  app.snapshots.TakeAndReport(app.Desktop());
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(host.Messages().size(), 1u);

  // Once it is closed, the next failure is told again.
  host.WhileMessageOpen(nullptr);
  app.snapshots.TakeAndReport(app.Desktop());
  EXPECT_EQ(host.Messages().size(), 2u);
}

}  // namespace
