#include "engine/capture.h"

bool ReadOpenView(DesktopIconView& view, IconLayout& layout) {
  layout.clear();
  // Items added while the view is read are not seen.
  const int count = view.GetItemCount();
  for (int index = 0; index < count; ++index) {
    IconEntry entry;
    entry.index = index;
    if (view.ReadItemText(index, entry) && view.ReadItemPosition(index, entry.x, entry.y)) {
      layout.push_back(std::move(entry));
    } else if (!view.IsViewPresent()) {
      break;
    }
  }
  // A shell that ended (or stopped answering) while it was read leaves a
  // layout with icons missing; saved, it would replace a whole layout with a
  // part of it.
  if (!view.IsViewPresent()) {
    layout.clear();
    return false;
  }
  SortByPosition(layout);
  return true;
}

int CaptureIconLayout(DesktopIconView& view, IconLayout& layout) {
  layout.clear();
  int result = -1;
  if (view.Open()) {
    if (ReadOpenView(view, layout)) result = 0;
    view.Close();
  }
  return result;
}

int CaptureIconLayout(IconLayout& layout) { return CaptureIconLayout(GetDesktopIconView(), layout); }

bool StandsAsCaptured(DesktopIconView& view, const IconLayout& captured) {
  bool same = false;
  if (view.Open()) {
    same = view.GetItemCount() == static_cast<int>(captured.size());
    for (size_t i = 0; same && i < captured.size(); ++i) {
      int x = 0;
      int y = 0;
      same = view.ReadItemPosition(captured[i].index, x, y) && x == captured[i].x && y == captured[i].y;
    }
    view.Close();
    same = same && view.IsViewPresent();
  }
  return same;
}
