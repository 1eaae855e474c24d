#pragma once

#include <string_view>
#include <vector>

#include "lottery/draw.h"

namespace plan {

// The plan source cut from a history held newest first: oldest first, from the
// draw just before startIssue to the newest. Without a match (an empty start
// issue, say) the whole history.
std::vector<lottery::Draw> BuildPlanSource(const std::vector<lottery::Draw>& history,
                                           std::string_view startIssue);

}  // namespace plan
