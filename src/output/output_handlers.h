#pragma once

#include "core/context.h"

namespace output {

// Binds the collection and hint pages' buttons and check boxes, and rebuilds
// the collection after each automatic update that brought a new draw while
// 选择框_集合自动 is checked.
void BindOutputHandlers(core::Context& ctx);

}  // namespace output
