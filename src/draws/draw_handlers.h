#pragma once

#include "core/context.h"

namespace draws {

// Binds 超级按钮_更新号码 and the two timers of the automatic update.
void BindDrawHandlers(core::Context& ctx);

}  // namespace draws
