#pragma once

#include "app/program_state.h"

namespace output {

// 按钮_提示粘贴: the hint becomes the clipboard's text, or empty when the
// clipboard holds none.
void PasteHint(app::Context& ctx);

// 按钮_提示清空.
void ClearHint(app::Context& ctx);

}  // namespace output
