#include "app/hook_report.h"

#include <gtest/gtest.h>

#include <cstdint>

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

}  // namespace
