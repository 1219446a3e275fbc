#include "app/icon_lock.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "app/app_state.h"
#include "app/default_layout.h"
#include "engine/capture.h"
#include "engine/layout_file.h"
#include "engine/layout_history.h"
#include "engine/restore.h"
#include "framework/files/file_system.h"
#include "resources/resource.h"

namespace {

std::string NameKey(const IconEntry& entry) { return entry.name + '\0' + entry.unicodeName; }

std::string Identity(const IconEntry& entry) {
  return entry.parsingName.empty() ? "n:" + NameKey(entry) : "p:" + entry.parsingName;
}

// For each entry of `look`, the entry of `held` that is the same icon, or -1.
// By parsing name first; then by whole name, where one of the two lacks a
// parsing name, the first entry not taken in position order.
std::vector<int> Match(const IconLayout& held, const IconLayout& look) {
  std::vector<int> matched(look.size(), -1);
  std::vector<bool> taken(held.size(), false);
  std::map<std::string, std::vector<int>> byParsing;
  std::map<std::string, std::vector<int>> byName;
  std::vector<int> order(held.size());
  for (size_t i = 0; i < held.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(),
                   [&held](int a, int b) { return ComparePosition(held[a], held[b]); });
  for (int i : order) {
    if (!held[i].parsingName.empty()) byParsing[held[i].parsingName].push_back(i);
    byName[NameKey(held[i])].push_back(i);
  }
  const auto takeFirst = [&taken](std::vector<int>& candidates, const auto& fits) {
    for (int candidate : candidates) {
      if (!taken[candidate] && fits(candidate)) {
        taken[candidate] = true;
        return candidate;
      }
    }
    return -1;
  };
  for (size_t i = 0; i < look.size(); ++i) {
    if (look[i].parsingName.empty()) continue;
    const auto found = byParsing.find(look[i].parsingName);
    if (found != byParsing.end()) matched[i] = takeFirst(found->second, [](int) { return true; });
  }
  for (size_t i = 0; i < look.size(); ++i) {
    if (matched[i] >= 0) continue;
    const auto found = byName.find(NameKey(look[i]));
    if (found == byName.end()) continue;
    const bool lookKnowsIt = !look[i].parsingName.empty();
    matched[i] = takeFirst(found->second, [&](int candidate) {
      return !lookKnowsIt || held[candidate].parsingName.empty();
    });
  }
  return matched;
}

int Capture(AppState& app, IconLayout& layout) {
  LayoutWork work(app.layoutWork);
  return CaptureIconLayout(app.view, layout);
}

}  // namespace

bool TakeIn(IconLayout& held, const IconLayout& look) {
  const std::vector<int> matched = Match(held, look);
  std::vector<bool> present(held.size(), false);
  bool changed = false;
  IconLayout adopted;
  for (size_t i = 0; i < look.size(); ++i) {
    if (matched[i] >= 0) {
      present[matched[i]] = true;
      // An entry of an older file learns the parsing name that tells the icon apart.
      IconEntry& entry = held[matched[i]];
      if (entry.parsingName.empty() && !look[i].parsingName.empty()) {
        entry.parsingName = look[i].parsingName;
        changed = true;
      }
    } else {
      adopted.push_back(look[i]);
    }
  }
  std::set<std::pair<int, int>> places;
  for (const IconEntry& entry : look) places.insert({entry.x, entry.y});
  IconLayout kept;
  kept.reserve(held.size() + adopted.size());
  for (size_t i = 0; i < held.size(); ++i) {
    if (!present[i] && places.count({held[i].x, held[i].y}) != 0) {
      changed = true;  // gone, and another icon stands on its place
      continue;
    }
    kept.push_back(std::move(held[i]));
  }
  for (IconEntry& entry : adopted) {
    entry.monitor = -1;
    kept.push_back(std::move(entry));
  }
  changed = changed || !adopted.empty();
  SortByPosition(kept);
  for (size_t i = 0; i < kept.size(); ++i) kept[i].index = static_cast<int>(i);
  held = std::move(kept);
  return changed;
}

std::vector<std::string> AwayFromHeld(const IconLayout& held, const IconLayout& look) {
  const std::vector<int> matched = Match(held, look);
  std::vector<std::string> away;
  for (size_t i = 0; i < look.size(); ++i) {
    if (matched[i] < 0) continue;
    const IconEntry& place = held[matched[i]];
    if (place.x != look[i].x || place.y != look[i].y) away.push_back(Identity(look[i]));
  }
  std::sort(away.begin(), away.end());
  return away;
}

unsigned LockMenuText(LockState state) {
  switch (state) {
    case LockState::kShellArranges:
      return IDS_LOCK_MENU_ARRANGES;
    case LockState::kResting:
      return IDS_LOCK_MENU_RESTING;
    default:
      return IDS_LOCK_MENU;
  }
}

bool IconLock::Follow(AppState& app, bool starting) {
  const bool on = IsOn(app.settings.lockIcons);
  if (on == On()) return true;
  putBacks_ = 0;
  lastAway_.clear();
  lastLook_.clear();
  if (!on) {
    held_.clear();
    heldPath_.clear();
    Enter(app, LockState::kOff);
    return true;
  }
  Enter(app, LockState::kHolding);
  IconLayout stored;
  if (starting && LoadDefaultLayout(app.host, stored)) {
    Hold(app, std::move(stored));
    const bool looked = Look(app, true);
    KeepInFile();
    return looked;
  }
  return HoldDesktop(app);
}

bool IconLock::HoldDesktop(AppState& app) {
  // Whatever comes of it, the next look takes in the desktop as it stands,
  // and its write keeps the file it replaces, as this save would have.
  Hold(app, {});
  historyOwed_ = true;
  IconLayout layout;
  if (Capture(app, layout) < 0) return false;
  Hold(app, std::move(layout));
  historyOwed_ = true;
  Write();
  return !historyOwed_;
}

void IconLock::Hold(AppState& app, IconLayout layout) {
  held_ = std::move(layout);
  historyOwed_ = false;
  heldSetup_ = app.host.Displays();
  if (!app.host.LayoutPathFor(SetupTag(heldSetup_), heldPath_)) heldPath_.clear();
  lastLook_.clear();
  putBacks_ = 0;
  lastAway_.clear();
  if (state_ == LockState::kResting) Enter(app, LockState::kHolding);
}

bool IconLock::Look(AppState& app, bool namesToo) {
  lookAgain_ = false;
  if (state_ == LockState::kOff) return true;
  const std::uint64_t now = app.host.NowMs();
  if (state_ == LockState::kResting && now - restingSince_ < kRestMs) return true;
  // The screen has another setup than the one held: its display change is
  // on the way and brings that setup's layout.
  const DisplaySetup setup = app.host.Displays();
  std::string path;
  if (!app.host.LayoutPathFor(SetupTag(setup), path) || path != heldPath_) return true;
  // Nothing moved since the latest look: nothing to put back or take in.
  readMs_ = 0;
  if (!namesToo && !lastLook_.empty() && state_ == LockState::kHolding) {
    LayoutWork work(app.layoutWork);
    const bool stands = StandsAsCaptured(app.view, lastLook_);
    readMs_ = app.host.NowMs() - now;
    if (stands) return true;
  }
  lastLook_.clear();
  IconLayout look;
  const std::uint64_t readFrom = app.host.NowMs();
  const int read = Capture(app, look);
  // Where the places were read first, that reading is what a look takes.
  if (readMs_ == 0) readMs_ = app.host.NowMs() - readFrom;
  if (read < 0) return false;
  if (app.view.HowItArranges() == Arranging::kArranges) {
    Enter(app, LockState::kShellArranges);
    return true;
  }
  if (state_ != LockState::kHolding) {
    putBacks_ = 0;
    lastAway_.clear();
    Enter(app, LockState::kHolding);
  }
  const std::vector<std::string> away = AwayFromHeld(held_, look);
  if (!away.empty()) {
    if (Fights(away, now)) {
      restingSince_ = now;
      Enter(app, LockState::kResting);
      return true;
    }
    IconLayout target = held_;
    RestoreReport report;
    int result;
    {
      LayoutWork work(app.layoutWork);
      result = RestoreIconLayout(app.view, target, setup, nullptr, &report);
    }
    if (result < 0) return false;
    // The shell moved icons again as they were put back (a view that may
    // arrange, still arranging): another look, as after a sign; the fight
    // rule bounds them.
    lookAgain_ = report.notKept > 0;
    if (report.moved > 0 && Capture(app, look) < 0) return false;
  }
  if (TakeIn(held_, look)) Write();
  // Icons the shell did not keep where they were put: the next sign looks
  // at the whole desktop again.
  if (AwayFromHeld(held_, look).empty()) lastLook_ = std::move(look);
  return true;
}

bool IconLock::Fights(const std::vector<std::string>& away, std::uint64_t now) {
  if (away == lastAway_ && now - firstPutBackAt_ < kFightMs) {
    if (putBacks_ >= kMaxPutBacks) return true;
    ++putBacks_;
    return false;
  }
  lastAway_ = away;
  putBacks_ = 1;
  firstPutBackAt_ = now;
  return false;
}

void IconLock::Enter(AppState& app, LockState state) {
  if (state == state_) return;
  const bool wasOn = On();
  state_ = state;
  if (wasOn != On()) app.host.ShowLock(On());
  if (state == LockState::kShellArranges) app.host.ShowBalloon(IDS_LOCK_SHELL_ARRANGES);
  if (state == LockState::kResting) app.host.ShowBalloon(IDS_LOCK_RESTING);
}

void IconLock::KeepInFile() {
  if (!heldPath_.empty() && !held_.empty() && GetPathKind(heldPath_.c_str()) != kPathFile) Write();
}

// A write that fails is not told: the held layout stays in memory, and the
// next change writes it again.
void IconLock::Write() {
  if (heldPath_.empty()) return;
  if (!historyOwed_) {
    (void)SaveLayoutFile(heldPath_.c_str(), held_, heldSetup_);
  } else if (SaveLayoutFileKeepingHistory(heldPath_.c_str(), held_, heldSetup_, CurrentLocalTime()) == 1) {
    historyOwed_ = false;
  }
}
