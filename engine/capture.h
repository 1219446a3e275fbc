// Capture: reads the name and position of every desktop icon into a layout.
#pragma once

#include "engine/desktop_icon_view.h"
#include "engine/icon_layout.h"

// Replaces `layout` with every icon of the view that could be read, sorted by
// ComparePosition; each entry's index is the icon's item index.  Items whose
// text or position cannot be read are left out.  Returns 0 when the view
// could be opened and was still there at the end (the layout may still be
// empty), -1 when it could not be opened or went away while it was read (the
// layout is then empty).
[[nodiscard]] int CaptureIconLayout(DesktopIconView& view, IconLayout& layout);

// The same, on the platform's desktop (GetDesktopIconView).
[[nodiscard]] int CaptureIconLayout(IconLayout& layout);

// The reading of CaptureIconLayout on a connection the caller has opened (and
// closes): a restore reads the desktop so before it moves icons through the
// same connection.  True when the view was there to the end; `layout` is
// then sorted, else empty.
bool ReadOpenView(DesktopIconView& view, IconLayout& layout);

// True when the view holds as many items as `captured` has entries and the
// item of each entry (by its index) still stands at the entry's place.  Reads
// the positions alone, not the names: about a third of a capture's cost, for
// telling whether anything has moved since.  False when the view cannot be
// read.
[[nodiscard]] bool StandsAsCaptured(DesktopIconView& view, const IconLayout& captured);
