#include "gui/text_box.h"

namespace gui {

void TextBox::SetTextMargins(const QMargins& margins) { setViewportMargins(margins); }

}  // namespace gui
