#include "gui/tab_control.h"

#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

namespace gui {

QPoint TabControl::PageOrigin() const {
  QStyleOptionTabWidgetFrame option;
  initStyleOption(&option);
  return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).topLeft();
}

}  // namespace gui
