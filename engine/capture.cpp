#include "engine/capture.h"

int LayoutBusy = 0;

int CaptureIconLayout(DesktopIconView& view, IconLayout& layout) {
  LayoutBusy = 1;
  layout.clear();
  int result = -1;
  if (view.Open()) {
    // Items added while the capture runs are not seen.
    const int count = view.GetItemCount();
    for (int index = 0; index < count; ++index) {
      IconEntry entry;
      entry.index = index;
      if (!view.ReadItemText(index, entry.name)) continue;
      if (!view.ReadItemPosition(index, entry.x, entry.y)) continue;
      layout.push_back(std::move(entry));
    }
    view.Close();
    SortByPosition(layout);
    result = 0;
  }
  LayoutBusy = 0;
  return result;
}

int CaptureIconLayout(IconLayout& layout) { return CaptureIconLayout(GetDesktopIconView(), layout); }
