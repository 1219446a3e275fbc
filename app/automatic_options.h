// What the automatic options do as they take effect: at start-up, and when
// the Settings dialog has ended with OK.  (The reaction to the hook's
// reports is in hook_report.h, the display change in display_change.h, the
// watch on the desktop between them in desktop_watch.h.)
#pragma once

struct AppState;
class DesktopWatch;

// The last step of start-up: remembers the resolution in force, restores its
// layout when startAutoRestore is on, then takes the first snapshot and
// starts following the desktop when resolutionAutoCapture is on; with the
// lock on, puts the held layout back and follows the desktop.
void OnStartupActions(AppState& app, DesktopWatch& watch);

// After the Settings dialog ended with OK: with resolutionAutoCapture on, a
// snapshot at once and the desktop followed; with it off, not.  The lock
// follows its option (icon_lock.h).
void OnSettingsApplied(AppState& app, DesktopWatch& watch);

// The tray menu's item and the command line's /lock and /unlock: turns the
// lock on or off (the caller saves the settings).  False when the lock came
// on but the desktop could not be saved.
bool SetLock(AppState& app, DesktopWatch& watch, bool on);
