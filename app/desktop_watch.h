// Following the desktop between the hook's reports.  The shell places icons
// on its own thread (a drag and drop) and adds the files that appear in the
// Desktop folders without the hook always hearing of it, so while
// resolutionAutoCapture or the lock (icon_lock.h) is on the desktop is looked
// at again, but only on a sign that something may have moved there:
//
//  - the user's input while a window of the desktop's process (its Progman or
//    WorkerW window, a folder window of the shell) is in the foreground; the
//    system's count of the last input and the foreground window are read
//    every kInputPollMs, which asks nothing of the shell, and after
//    kInputRestMs without input not at all until the host says that input
//    came (where it can tell);
//  - a change in the folders the desktop shows (the host watches them);
//  - whatever else the program hears of (OnSign).
//
// A look waits until the signs have stopped for kStillMs (a drag has ended,
// a copy has settled), and until the last one is kLookCostRatio times its
// cost ago.  It reads the icons' places, and their names too after a change
// of the folders or when a place has changed, and takes the snapshot again
// when the desktop differs from it.  Without a sign no call reaches the
// shell.  With the lock on, the look is the lock's: it puts back what moved.
// A look that fails is tried again a few times, then waits for the next
// sign.
#pragma once

#include <cstdint>

struct AppState;

// The main window's timers: the look after a sign, and the reading of the
// user's input.
inline constexpr unsigned kLookTimer = 2;
inline constexpr unsigned kInputPollTimer = 3;
inline constexpr unsigned kInputPollMs = 1000;
inline constexpr std::uint64_t kInputRestMs = 10000;
// While a look is due, how often it sees whether the desktop stands still.
inline constexpr unsigned kLookTickMs = 250;
// No sign for this long: the desktop stands still.
inline constexpr std::uint64_t kStillMs = 500;
// Looks are this far apart at least, and kLookCostRatio times what a look
// takes (many icons, a slow shell).
inline constexpr std::uint64_t kLookSpacingMs = 1000;
inline constexpr unsigned kLookCostRatio = 50;
// Looks that fail in a row before the watch waits for the next sign.
inline constexpr int kLookRetries = 3;

class DesktopWatch {
 public:
  /// With resolutionAutoCapture or the lock on, reads the input and has the
  /// host watch the desktop's folders; with both off, nothing runs and no
  /// look is due.
  void Follow(AppState& app);
  /// Something may have moved on the desktop: a look once it stands still.
  /// `namesToo`: icons may have come, gone or been renamed where others
  /// stood, so the look reads the names as well.
  void OnSign(AppState& app, bool namesToo);
  /// The host saw a change in one of the desktop's folders.
  void OnFolderChange(AppState& app) { OnSign(app, true); }
  /// kInputPollTimer: input since the last reading, while the desktop (or
  /// the window the user worked in at the last reading) is in the
  /// foreground, is a sign.
  void OnInputPoll(AppState& app);
  /// The host's word that input came while the reading rested.
  void OnInputArrived(AppState& app);
  /// kLookTimer: the look, when the desktop stands still.
  void OnTimer(AppState& app);

  bool Following() const { return following_; }
  bool ReadingInput() const { return following_ && !resting_; }
  bool LookDue() const { return due_; }

 private:
  // True when input came since the last reading with the desktop in front.
  bool InputOnDesktop(AppState& app);

  bool following_ = false;
  bool due_ = false;        // a sign came since the last look
  bool namesDue_ = false;   // the next look reads the names
  int retries_ = 0;         // looks in a row that failed
  std::uint64_t signAt_ = 0;       // the latest sign
  std::uint64_t lookedAt_ = 0;     // the end of the latest look
  std::uint64_t costMs_ = 0;       // what a look has taken lately (a running mean)
  bool inputRead_ = false;         // lastInput_ holds a reading
  std::uint32_t lastInput_ = 0;    // the system's count at the last reading
  bool desktopInFront_ = false;    // at the last reading
  std::uint64_t inputAt_ = 0;      // when a reading last found new input (or the reading began)
  bool resting_ = false;           // no reading until the host reports input
};
