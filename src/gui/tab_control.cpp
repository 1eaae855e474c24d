#include "gui/tab_control.h"

#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

namespace gui {

QRect TabControl::PageRect() const {
  QStyleOptionTabWidgetFrame option;
  initStyleOption(&option);
  return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
}

}  // namespace gui
