#include "output/hint.h"

namespace output {

void PasteHint(const core::Env& ctx) {
  ctx.window.SetText("编辑框_提示语", ctx.window.ClipboardText().value_or(""));
}

void ClearHint(const core::Env& ctx) { ctx.window.SetText("编辑框_提示语", ""); }

}  // namespace output
