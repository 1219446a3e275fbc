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
      if (view.ReadItemText(index, entry.name) && view.ReadItemPosition(index, entry.x, entry.y)) {
        layout.push_back(std::move(entry));
      } else if (!view.IsViewPresent()) {
        break;
      }
    }
    view.Close();
    // A shell that ended while it was read leaves a layout with icons
    // missing; saved, it would replace a whole layout with a part of it.
    if (view.IsViewPresent()) {
      SortByPosition(layout);
      result = 0;
    } else {
      layout.clear();
    }
  }
  LayoutBusy = 0;
  return result;
}

int CaptureIconLayout(IconLayout& layout) { return CaptureIconLayout(GetDesktopIconView(), layout); }
