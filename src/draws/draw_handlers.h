#pragma once

#include "app/program_state.h"

namespace draws {

// Binds 超级按钮_更新号码 and the two timers of the automatic update.
void BindDrawHandlers(app::Context& ctx);

}  // namespace draws
