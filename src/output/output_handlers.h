#pragma once

#include "app/program_state.h"

namespace output {

// Binds the collection and hint pages' buttons and check boxes, and rebuilds
// the collection after each automatic update that brought a new draw while
// 选择框_集合自动 is checked.
void BindOutputHandlers(app::Context& ctx);

}  // namespace output
