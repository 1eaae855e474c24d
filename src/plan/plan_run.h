#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "plan/draw.h"
#include "plan/plan_settings.h"

namespace plan {

struct PlanResult {
  std::string report;  // plan lines, each with CR LF, then CR LF and the summary
  int hits = 0;
  int misses = 0;
  std::string percentage;  // "50%"
};

// Replays plans of one formula over a plan source (oldest first, see
// BuildPlanSource): each window's base is the first remaining draw, a hit
// makes the hit draw the next base, a miss the window's last draw; the plan
// that runs past the newest draw is reported pending. An empty formula gives
// no plan line.
PlanResult PlanRun(const std::vector<lottery::Draw>& source, const PlanSettings& settings,
                   std::string_view formula);

// Only the counts of PlanRun, without building the report text.
struct PlanCounts {
  int hits = 0;
  int misses = 0;
  bool pending = false;
};
PlanCounts CountPlans(const std::vector<lottery::Draw>& source, const PlanSettings& settings,
                      std::string_view formula);

using PresetFormulas = std::array<std::string, 10>;

// The ten presets of one kind over a history held newest first, as one click
// of a start button computes them. Only the presets marked in withReport get
// their report text (the window shows just the selected one); the others get
// their counts and percentage with an empty report.
using PresetMask = std::array<bool, 10>;
inline constexpr PresetMask kAllPresets = {true, true, true, true, true,
                                           true, true, true, true, true};
std::array<PlanResult, 10> RunPresets(const std::vector<lottery::Draw>& history,
                                      std::string_view startIssue, const PlanSettings& settings,
                                      const PresetFormulas& formulas,
                                      const PresetMask& withReport = kAllPresets);

}  // namespace plan
