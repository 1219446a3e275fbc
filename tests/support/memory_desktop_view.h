// An in-memory desktop for tests: icons set up by the test, every call
// recorded in order with its arguments, and failures to inject.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/desktop_icon_view.h"

class MemoryDesktopView final : public DesktopIconView {
 public:
  enum class Op { Find, Open, GetItemCount, ReadItemText, ReadItemPosition, SetItemPosition, Close };

  // One call as it reached the view; `index`, `x`, `y` are set where the
  // operation takes them, else 0.
  struct Call {
    Op op;
    int index;
    int x;
    int y;
  };

  struct Move {
    int index;
    int x;
    int y;
    bool operator==(const Move& other) const {
      return index == other.index && x == other.x && y == other.y;
    }
  };

  struct Icon {
    std::string name;
    int x;
    int y;
    std::string unicodeName;  // as IconEntry has them
    std::string parsingName;
  };

  // --- Setting up the desktop.
  // Appends an icon; returns its item index.
  int AddIcon(const std::string& name, int x, int y, const std::string& parsingName = "",
              const std::string& unicodeName = "");
  // Deletes an icon; the icons after it move down one index, as in a list view.
  void RemoveIcon(int index);
  // A desktop that is not present is not found by the lookup (an earlier
  // lookup's handle is still remembered), cannot be opened, and no longer
  // answers reads or moves of a connection opened before (the shell ended).
  void SetPresent(bool present) { present_ = present; }
  // A present desktop whose process cannot be opened.
  void SetAccessible(bool accessible) { accessible_ = accessible; }
  // The size GetViewSize reports (1024 x 768 at first), as the shell sizes
  // its view to the desktop.
  void SetViewSize(int width, int height) {
    viewWidth_ = width;
    viewHeight_ = height;
  }
  // Makes every read of this item's text, or position, fail.
  void FailTextRead(int index) { failText_.push_back(index); }
  void FailPositionRead(int index) { failPosition_.push_back(index); }
  // Runs before each text read, with the index asked for; a test may change
  // the desktop from it (remove an icon while a capture runs).
  void BeforeTextRead(std::function<void(int index)> action) { beforeTextRead_ = std::move(action); }
  // What HowItArranges answers (kKeepsPlaces at first).  The desktop moves
  // icons as it is told all the same; a test undoes them with AfterMove.
  void SetArranging(Arranging arranging) { arranging_ = arranging; }
  // Runs after each move has been carried out, with the index moved.
  void AfterMove(std::function<void(int index)> action) { afterMove_ = std::move(action); }

  // --- Inspecting what happened.
  const std::vector<Icon>& Icons() const { return icons_; }
  const std::vector<Call>& Calls() const { return calls_; }
  // The SetItemPosition calls, in order.  A reference, so that begin() and
  // end() of two calls belong to one vector.
  const std::vector<Move>& Moves() const { return moves_; }
  int CountCalls(Op op) const;
  void ClearCalls() {
    calls_.clear();
    moves_.clear();
  }
  bool IsOpen() const { return open_; }
  // Calls that a real view would not have served (reading without an open
  // connection, opening twice); a correct engine leaves this empty.
  const std::vector<std::string>& Misuses() const { return misuses_; }
  // The icons, the calls and the misuses, for failure messages.
  std::string toString() const;

  // --- DesktopIconView.
  DesktopViewHandle FindDesktopListView() override;
  bool Open() override;
  int GetItemCount() override;
  bool ReadItemText(int index, IconEntry& entry) override;
  bool ReadItemPosition(int index, int& x, int& y) override;
  void SetItemPosition(int index, int x, int y) override;
  void FlushMoves() override {}
  void Close() override;
  bool IsViewPresent() override { return present_; }
  bool GetViewSize(int& width, int& height) override;
  Arranging HowItArranges() override { return arranging_; }

 private:
  bool Exists(int index) const { return index >= 0 && index < static_cast<int>(icons_.size()); }
  void Misuse(const std::string& what) { misuses_.push_back(what); }

  std::vector<Icon> icons_;
  std::vector<Call> calls_;
  std::vector<Move> moves_;  // the SetItemPosition calls of calls_
  std::vector<std::string> misuses_;
  std::vector<int> failText_;
  std::vector<int> failPosition_;
  std::function<void(int)> beforeTextRead_;
  std::function<void(int)> afterMove_;
  Arranging arranging_ = Arranging::kKeepsPlaces;
  bool present_ = true;
  bool accessible_ = true;
  bool open_ = false;
  int viewWidth_ = 1024;
  int viewHeight_ = 768;
  DesktopViewHandle remembered_ = nullptr;
};

const char* ToString(MemoryDesktopView::Op op);
