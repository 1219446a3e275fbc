// The lock: while it is on, the icons stay where the user put them.  The
// layout it holds is the one of the display setup in force, kept in that
// setup's "default" file:
//
//  1. turning the lock on saves the desktop to the setup's file as Save does
//     (the history keeps the file it replaces), and holds it; at start-up
//     with the lock on, the setup's file (else the nearest kept setup's,
//     default_layout.h) is held and put back;
//  2. after each sign the desktop watch follows (desktop_watch.h), once the
//     desktop stands still, a look reads the desktop and puts back every
//     held icon that is away from its held place, moving only those (no
//     undo entry, no history);
//  3. then the held layout takes in what the desktop shows (TakeIn): an icon
//     it does not hold is held where it stands; an entry whose icon is gone
//     keeps its place for the icon's return, unless another icon stands
//     there (so an icon renamed in place keeps its place under its new
//     name); a held layout that changed is written to the setup's file,
//     without history;
//  4. a desktop that arranges its icons itself (Auto arrange) holds nothing:
//     kShellArranges, told once, and each later look asks again; where the
//     same icons are away again (also at once, as the put-back reads them
//     back: the watch then looks again) after kMaxPutBacks put-backs in a row within
//     kFightMs, the lock stops holding (kResting, told once) and goes on at
//     the first look kRestMs later.
//
// A Save, a restore or an undo while locked holds what it leaves on the
// desktop; a display change holds the new setup's layout once it is over
// (display_change.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/display_setup.h"
#include "engine/icon_layout.h"

struct AppState;

enum class LockState {
  kOff,
  kHolding,
  kShellArranges,  // the shell arranges the icons itself: nothing is held
  kResting,        // the shell moved the same icons back again and again
};

// Put-backs of the same icons in a row within kFightMs, before the lock rests
// for kRestMs.
inline constexpr int kMaxPutBacks = 3;
inline constexpr std::uint64_t kFightMs = 60000;
inline constexpr std::uint64_t kRestMs = 60000;

// Takes what `look` (the desktop as a capture read it) shows into `held`:
// icons `held` lacks are added at their places; entries whose icon `look`
// lacks are dropped where an icon of `look` stands on their place, else kept.
// Icons are matched by parsing name, else by whole name (icons of one name
// in position order).  True when `held` changed.
bool TakeIn(IconLayout& held, const IconLayout& look);

// The held icons of `look` that stand elsewhere than `held` has them, each
// named by its parsing name or whole name, in sorted order.
std::vector<std::string> AwayFromHeld(const IconLayout& held, const IconLayout& look);

// The tray menu item's text in `state` (IDS_... of resources/resource.h).
unsigned LockMenuText(LockState state);

class IconLock {
 public:
  /// Follows the option lockIcons.  Turning on holds the desktop, saved to
  /// the setup's file with history; with `starting`, the setup's file is
  /// held instead where one serves it, and put back.  False when the lock
  /// came on but nothing could be saved or read (the next look holds the
  /// desktop as it stands then).
  bool Follow(AppState& app, bool starting);
  /// Captures the desktop, writes it to the setup's file keeping history,
  /// and holds it (turning on; a restore or undo while locked).  False when
  /// the desktop could not be read or the file not written.
  bool HoldDesktop(AppState& app);
  /// Holds `layout` (the setup in force's, already in its file).
  void Hold(AppState& app, IconLayout layout);
  /// One look (step 2 and 3).  `namesToo`: icons may have come or gone, so
  /// the look reads the desktop whole even when no place changed.  False
  /// when the desktop could not be read.
  bool Look(AppState& app, bool namesToo);
  /// True when the latest look found icons the shell did not keep where
  /// they were put back: the watch looks again once the desktop stands still.
  bool LookAgain() const { return lookAgain_; }
  /// What the latest look took to tell whether anything moved (the places
  /// alone where it could, else the whole desktop), before any put-back:
  /// the watch spaces its looks by it (a put-back is work the signs asked
  /// for, and must not hold the next one back).
  std::uint64_t ReadMs() const { return readMs_; }
  /// Writes the held layout to the setup's file where it has none yet (a
  /// setup seen for the first time, served by another's file).
  void KeepInFile();

  bool On() const { return state_ != LockState::kOff; }
  LockState State() const { return state_; }
  const IconLayout& Held() const { return held_; }

 private:
  void Enter(AppState& app, LockState state);
  // True when putting `away` back now would be one put-back too many.
  bool Fights(const std::vector<std::string>& away, std::uint64_t now);
  void Write();

  LockState state_ = LockState::kOff;
  IconLayout held_;
  std::string heldPath_;   // the setup's "default" file; empty: none can be formed
  DisplaySetup heldSetup_;
  IconLayout lastLook_;    // the desktop after the latest look; empty: look again whole
  std::vector<std::string> lastAway_;  // what the latest put-back moved
  int putBacks_ = 0;                   // put-backs of lastAway_ in a row
  std::uint64_t firstPutBackAt_ = 0;
  std::uint64_t restingSince_ = 0;
  bool lookAgain_ = false;
  std::uint64_t readMs_ = 0;
  bool historyOwed_ = false;  // the next write keeps the file it replaces
};
