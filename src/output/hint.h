#pragma once

#include "core/context.h"

namespace output {

// 按钮_提示粘贴: the hint becomes the clipboard's text, or empty when the
// clipboard holds none.
void PasteHint(const core::Env& ctx);

// 按钮_提示清空.
void ClearHint(const core::Env& ctx);

}  // namespace output
