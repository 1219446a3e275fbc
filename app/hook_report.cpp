#include "app/hook_report.h"

#include "app/app_state.h"

namespace {

constexpr std::uint64_t kSetItemPosition = 0x100F;    // LVM_SETITEMPOSITION
constexpr std::uint64_t kSetItemPosition32 = 0x1031;  // LVM_SETITEMPOSITION32
constexpr std::uint64_t kNotify = 0x4E;               // WM_NOTIFY

// List-view notification codes as the hook reports them: 32-bit, zero-extended.
constexpr std::uint64_t kLayoutNotifications[] = {
    0xFFFFFF50u,  // LVN_ENDLABELEDITW (-176)
    0xFFFFFF96u,  // LVN_ENDLABELEDITA (-106)
    0xFFFFFF98u,  // LVN_DELETEALLITEMS (-104)
    0xFFFFFF99u,  // LVN_DELETEITEM (-103)
    0xFFFFFF9Au,  // LVN_INSERTITEM (-102)
};

}  // namespace

void OnHookNotification(AppState& app) {
  // With the lock on, a report is a sign for the desktop watch instead.
  if (!IsOn(app.settings.resolutionAutoCapture) || app.lock.On() || app.layoutWork > 0) return;
  // Reports that do not qualify would be ignored anyway; they go too.
  std::uint64_t wParam = 0;
  std::uint64_t lParam = 0;
  while (app.host.TakePendingReport(wParam, lParam)) {
  }
  app.snapshots.TakeAndReport(app.Desktop());
}

bool IsLayoutReport(std::uint64_t wParam, std::uint64_t lParam) {
  if (wParam == kSetItemPosition || wParam == kSetItemPosition32) return true;
  if (wParam != kNotify) return false;
  for (std::uint64_t code : kLayoutNotifications) {
    if (lParam == code) return true;
  }
  return false;
}
