#include "tests/support/memory_desktop_view.h"

#include <algorithm>
#include <sstream>

namespace {

bool Contains(const std::vector<int>& list, int value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// Coordinates travel to a list view as their low 16 bits, sign-extended by
// the view; the in-memory view keeps what a real one would.
int Low16(int value) { return static_cast<short>(static_cast<unsigned>(value) & 0xFFFFu); }

}  // namespace

const char* ToString(MemoryDesktopView::Op op) {
  switch (op) {
    case MemoryDesktopView::Op::Find: return "Find";
    case MemoryDesktopView::Op::Open: return "Open";
    case MemoryDesktopView::Op::GetItemCount: return "GetItemCount";
    case MemoryDesktopView::Op::ReadItemText: return "ReadItemText";
    case MemoryDesktopView::Op::ReadItemPosition: return "ReadItemPosition";
    case MemoryDesktopView::Op::SetItemPosition: return "SetItemPosition";
    case MemoryDesktopView::Op::Close: return "Close";
  }
  return "?";
}

int MemoryDesktopView::AddIcon(const std::string& name, int x, int y, const std::string& parsingName,
                               const std::string& unicodeName) {
  icons_.push_back({name, x, y, unicodeName, parsingName});
  return static_cast<int>(icons_.size()) - 1;
}

void MemoryDesktopView::RemoveIcon(int index) {
  if (Exists(index)) icons_.erase(icons_.begin() + index);
}

int MemoryDesktopView::CountCalls(Op op) const {
  return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [op](const Call& c) { return c.op == op; }));
}

std::string MemoryDesktopView::toString() const {
  std::ostringstream out;
  out << "desktop (" << icons_.size() << " icons" << (present_ ? "" : ", absent")
      << (accessible_ ? "" : ", inaccessible") << "):\n";
  for (size_t i = 0; i < icons_.size(); ++i) {
    out << "  [" << i << "] '" << icons_[i].name << "'";
    if (!icons_[i].parsingName.empty()) out << " (" << icons_[i].parsingName << ")";
    out << " @ (" << icons_[i].x << ", " << icons_[i].y << ")\n";
  }
  out << "calls (" << calls_.size() << "):\n";
  for (const Call& call : calls_) {
    out << "  " << ToString(call.op);
    switch (call.op) {
      case Op::ReadItemText:
      case Op::ReadItemPosition: out << " " << call.index; break;
      case Op::SetItemPosition: out << " " << call.index << " (" << call.x << ", " << call.y << ")"; break;
      default: break;
    }
    out << "\n";
  }
  for (const std::string& misuse : misuses_) out << "misuse: " << misuse << "\n";
  return out.str();
}

DesktopViewHandle MemoryDesktopView::FindDesktopListView() {
  calls_.push_back({Op::Find, 0, 0, 0});
  if (present_) remembered_ = this;
  return remembered_;
}

bool MemoryDesktopView::Open() {
  calls_.push_back({Op::Open, 0, 0, 0});
  if (open_) Misuse("Open while already open");
  // A real connection looks the view up afresh; a stale remembered handle
  // leads to no process.
  if (present_) remembered_ = this;
  open_ = present_ && accessible_;
  return open_;
}

int MemoryDesktopView::GetItemCount() {
  calls_.push_back({Op::GetItemCount, 0, 0, 0});
  if (!open_) Misuse("GetItemCount without an open connection");
  return static_cast<int>(icons_.size());
}

bool MemoryDesktopView::ReadItemText(int index, IconEntry& entry) {
  calls_.push_back({Op::ReadItemText, index, 0, 0});
  if (!open_) Misuse("ReadItemText without an open connection");
  if (beforeTextRead_) beforeTextRead_(index);
  if (!open_ || !present_ || !Exists(index) || Contains(failText_, index)) return false;
  entry.name = icons_[index].name;
  entry.unicodeName = icons_[index].unicodeName;
  entry.parsingName = icons_[index].parsingName;
  return true;
}

bool MemoryDesktopView::ReadItemPosition(int index, int& x, int& y) {
  calls_.push_back({Op::ReadItemPosition, index, 0, 0});
  if (!open_) Misuse("ReadItemPosition without an open connection");
  if (!open_ || !present_ || !Exists(index) || Contains(failPosition_, index)) return false;
  x = icons_[index].x;
  y = icons_[index].y;
  return true;
}

void MemoryDesktopView::SetItemPosition(int index, int x, int y) {
  calls_.push_back({Op::SetItemPosition, index, x, y});
  moves_.push_back({index, x, y});
  if (!open_) Misuse("SetItemPosition without an open connection");
  if (present_ && Exists(index)) {
    icons_[index].x = Low16(x);
    icons_[index].y = Low16(y);
  }
  if (afterMove_) afterMove_(index);
}

void MemoryDesktopView::Close() {
  calls_.push_back({Op::Close, 0, 0, 0});
  open_ = false;
}

bool MemoryDesktopView::GetViewSize(int& width, int& height) {
  if (!present_ || remembered_ == nullptr) return false;
  width = viewWidth_;
  height = viewHeight_;
  return true;
}
