#include "engine/desktop_icon_view.h"

namespace {

// Without a Windows shell there is no desktop to find: every capture and
// restore through it reports failure.
class AbsentDesktopView final : public DesktopIconView {
 public:
  DesktopViewHandle FindDesktopListView() override { return nullptr; }
  bool Open() override { return false; }
  int GetItemCount() override { return 0; }
  bool ReadItemText(int, IconEntry&) override { return false; }
  bool ReadItemPosition(int, int&, int&) override { return false; }
  void SetItemPosition(int, int, int) override {}
  void FlushMoves() override {}
  void Close() override {}
  bool IsViewPresent() override { return false; }
  bool GetViewSize(int&, int&) override { return false; }
};

}  // namespace

DesktopIconView& GetDesktopIconView() {
  static AbsentDesktopView view;
  return view;
}
