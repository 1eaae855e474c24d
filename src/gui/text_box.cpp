#include "gui/text_box.h"

namespace gui {

void TextBox::SetLeftMargin(int pixels) { setViewportMargins(pixels, 0, 0, 0); }

}  // namespace gui
