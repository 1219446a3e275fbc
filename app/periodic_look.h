// The periodic look at the desktop.  The shell places icons on its own thread
// (a drag and drop) without the hook hearing of it, so while
// resolutionAutoCapture is on the desktop is looked at every few seconds, when
// no layout work runs and the snapshot store is not frozen by a display
// change, and the snapshot is taken again when an icon's name or place
// differs from it.  A look that fails is silent.
#pragma once

#include <cstdint>

struct AppState;

// The main window's timer of the look.
inline constexpr unsigned kLookTimer = 2;
// The look runs this often at least; a look that takes long (many icons, a
// slow shell) is spaced further apart, kLookCostRatio times its own duration.
inline constexpr unsigned kLookIntervalMs = 2000;
inline constexpr unsigned kLookCostRatio = 50;
// A look reads the icons' places alone, and their names too only every so
// many looks (or when a place has changed): names change seldom, and reading
// them costs twice what the places cost.
inline constexpr unsigned kLookNamesEvery = 5;

class PeriodicLook {
 public:
  /// Runs the look's timer while resolutionAutoCapture is on, and stops it
  /// when it is off.
  void Follow(AppState& app);
  /// kLookTimer: one look.
  void OnTimer(AppState& app);
  /// The period of the look's timer while it runs, else 0.
  unsigned IntervalMs() const { return intervalMs_; }

 private:
  void SetInterval(AppState& app, unsigned intervalMs);

  unsigned intervalMs_ = 0;
  unsigned looksWithoutNames_ = 0;  // looks since the last that read the names
  std::uint64_t costMs_ = 0;        // what a look has taken lately (a running mean)
};
