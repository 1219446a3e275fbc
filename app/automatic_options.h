// What the automatic options do as they take effect: at start-up, and when
// the Settings dialog has ended with OK.  (The reaction to the hook's
// reports is in hook_report.h, the display change in display_change.h, the
// periodic look in periodic_look.h.)
#pragma once

struct AppState;
class PeriodicLook;

// The last step of start-up: remembers the resolution in force, restores its
// layout when startAutoRestore is on, then takes the first snapshot and
// starts the periodic look when resolutionAutoCapture is on.
void OnStartupActions(AppState& app, PeriodicLook& look);

// After the Settings dialog ended with OK: with resolutionAutoCapture on, a
// snapshot at once and the periodic look; with it off, no look.
void OnSettingsApplied(AppState& app, PeriodicLook& look);
