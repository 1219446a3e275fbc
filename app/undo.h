// Undo of a restore.  Before every restore (the menu's, the command line's,
// at start-up and at a display change) the arrangement the desktop had is
// kept in "undo.qvd" in the settings folder, so that it survives a restart.
// An undo restores that arrangement and keeps the one it replaces in its
// place: undoing an undo brings the restored arrangement back.
#pragma once

#include "engine/desktop_icon_view.h"
#include "engine/icon_layout.h"
#include "engine/restore.h"

struct AppState;

inline constexpr const char* kUndoFileName = "undo.qvd";

// Restores `layout` (placed on the setup in force) on `view` (the program's
// desktop, or a view over it) as RestoreIconLayout does, counted as layout
// work, and with `keepUndo` keeps what the desktop had before, with the
// setup's monitors, for an undo.  RestoreIconLayout's result.
// `report`, when given, receives what the restore came to.  A desktop that
// arranges its icons itself was not moved: nothing is kept for an undo.
int RestoreKeepingUndo(AppState& app, DesktopIconView& view, IconLayout& layout, bool keepUndo = true,
                       RestoreReport* report = nullptr);

// True when an arrangement is kept to go back to.
bool CanUndo(AppState& app);

// Puts the kept arrangement back, keeping the current one for the next undo;
// while locked, holds it (icon_lock.h).  False when nothing is kept or the
// desktop could not be read.
bool UndoRestore(AppState& app);
