#include "engine/desktop_icon_view.h"

DesktopViewHandle FindDesktopListView() { return GetDesktopIconView().FindDesktopListView(); }
