#include "app/default_layout.h"

#include <tuple>
#include <vector>

#include "engine/display_setup.h"
#include "engine/layout_file.h"
#include "framework/files/file_system.h"

namespace {

bool IsDefaultFile(const std::string& name) {
  static const std::string kStem = "default.";
  static const std::string kExtension = ".qvd";
  return name.size() > kStem.size() + kExtension.size() && name.compare(0, kStem.size(), kStem) == 0 &&
         name.compare(name.size() - kExtension.size(), kExtension.size(), kExtension) == 0;
}

// How near a kept setup is to `now`: more shared monitors, then more of them
// at the same size, then fewer monitors in all.
std::tuple<int, int, int> Nearness(const DisplaySetup& kept, const DisplaySetup& now) {
  const std::vector<int> pairs = PairMonitors(kept, now);
  int shared = 0;
  int sameSize = 0;
  for (size_t i = 0; i < pairs.size(); ++i) {
    if (pairs[i] < 0) continue;
    const Monitor& was = kept.monitors[i];
    const Monitor& is = now.monitors[static_cast<size_t>(pairs[i])];
    ++shared;
    if (was.width == is.width && was.height == is.height) ++sameSize;
  }
  return {shared, sameSize, -static_cast<int>(kept.monitors.size())};
}

// The nearest kept setup's file in `folder` (step 3), placed on `now`.
bool LoadNearest(const std::string& folder, const std::string& own, const DisplaySetup& now, IconLayout& layout,
                 std::string* path) {
  std::tuple<int, int, int> best{0, 0, 0};
  std::string bestPath;
  IconLayout bestLayout;
  DisplaySetup bestSetup;
  for (const std::string& name : ListFileNames(folder.c_str())) {
    const std::string candidate = folder + "\\" + name;
    if (!IsDefaultFile(name) || candidate == own) continue;
    IconLayout kept;
    DisplaySetup savedOn;
    if (LoadLayoutFile(candidate.c_str(), kept, &savedOn) != 1 || savedOn.monitors.empty() || HoldsNoLayout(kept)) {
      continue;
    }
    const std::tuple<int, int, int> nearness = Nearness(savedOn, now);
    // Ties between files of one nearness: the first name, whatever order the
    // folder lists them in.
    if (std::get<0>(nearness) == 0 || nearness < best || (nearness == best && candidate > bestPath)) continue;
    best = nearness;
    bestPath = candidate;
    bestLayout = std::move(kept);
    bestSetup = std::move(savedOn);
  }
  if (bestPath.empty()) return false;
  layout = PlaceOnMonitors(bestLayout, bestSetup, now);
  if (path) *path = bestPath;
  return true;
}

}  // namespace

bool LoadDefaultLayout(AppHost& host, IconLayout& layout, std::string* path) {
  layout.clear();
  const DisplaySetup now = host.Displays();
  std::string own;
  if (!host.LayoutPathFor(SetupTag(now), own)) return false;
  std::vector<std::string> tried = {own};
  std::string bySize;
  if (now.monitors.size() > 1 && host.LayoutPathFor(SizeTag(now), bySize)) tried.push_back(bySize);
  for (const std::string& file : tried) {
    DisplaySetup savedOn;
    if (LoadLayoutFile(file.c_str(), layout, &savedOn) == 1 && !HoldsNoLayout(layout)) {
      layout = PlaceOnMonitors(layout, savedOn, now);
      if (path) *path = file;
      return true;
    }
  }
  char folder[1024];
  if (GetDirectoryPart(own.c_str(), folder, sizeof folder) == 0) return false;
  return LoadNearest(folder, own, now, layout, path);
}
