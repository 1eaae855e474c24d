#pragma once

#include "core/context.h"

namespace app {

// Binds every area's handlers to the window's controls. Call once, before the
// creation handler runs.
void BindHandlers(core::Context& ctx);

}  // namespace app
