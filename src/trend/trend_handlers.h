#pragma once

#include "core/context.h"

namespace trend {

// Draws 走势图_号码 from the archive for the position and the count the page's
// boxes name.
void RebuildTrendChart(core::Context& ctx);

// The page's boxes, and a new chart whenever the archive gains draws.
void BindTrendHandlers(core::Context& ctx);

}  // namespace trend
