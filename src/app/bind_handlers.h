#pragma once

#include "app/program_state.h"

namespace app {

// Binds every area's handlers to the window's controls. Call once, before the
// creation handler runs.
void BindHandlers(Context& ctx);

}  // namespace app
