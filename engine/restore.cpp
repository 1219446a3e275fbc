#include "engine/restore.h"

#include "engine/capture.h"
#include "engine/screen_size.h"

namespace {

IconLayout::iterator FindByName(IconLayout& working, const std::string& name) {
  for (auto it = working.begin(); it != working.end(); ++it) {
    if (it->name == name) return it;
  }
  return working.end();
}

IconLayout::iterator FindAt(IconLayout& working, int x, int y) {
  for (auto it = working.begin(); it != working.end(); ++it) {
    if (it->x == x && it->y == y) return it;
  }
  return working.end();
}

}  // namespace

int RestoreIconLayout(DesktopIconView& view, IconLayout& layout) {
  const ScreenSize parking = GetScreenSize();
  LayoutBusy = 1;
  view.FindDesktopListView();

  // The icons not yet matched, with the place where each now stands.
  IconLayout working;
  int result = -1;
  if (CaptureIconLayout(view, working) >= 0) {
    SortByPosition(layout);
    result = 0;
    for (const IconEntry& stored : layout) {
      auto match = FindByName(working, stored.name);
      if (match == working.end()) continue;
      auto occupant = FindAt(working, stored.x, stored.y);
      if (occupant != working.end()) {
        view.SetItemPosition(occupant->index, parking.width, parking.height);
        view.SetItemPosition(match->index, stored.x, stored.y);
        view.SetItemPosition(occupant->index, match->x, match->y);
        // The occupant now stands where the match stood.  Later entries must
        // find it there, and must not take its old place for a free one, or
        // two icons would end on one place.
        occupant->x = match->x;
        occupant->y = match->y;
      } else {
        view.SetItemPosition(match->index, stored.x, stored.y);
      }
      working.erase(match);
      // The shell ended: the moves go nowhere, and the restore did not happen.
      if (!view.IsViewPresent()) {
        result = -1;
        break;
      }
    }
  }
  LayoutBusy = 0;
  return result;
}

int RestoreIconLayout(IconLayout& layout) { return RestoreIconLayout(GetDesktopIconView(), layout); }
