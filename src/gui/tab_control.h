#pragma once

#include <QPoint>
#include <QTabWidget>

namespace gui {

class TabControl : public QTabWidget {
  Q_OBJECT

 public:
  using QTabWidget::QTabWidget;

  // Where a page's top-left corner sits inside the control, for the control's
  // current size, font and style (the same rectangle the style lays the pages
  // out in).
  QPoint PageOrigin() const;
};

}  // namespace gui
