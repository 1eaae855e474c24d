#pragma once

#include <QPoint>
#include <QRect>
#include <QTabWidget>

namespace gui {

class TabControl : public QTabWidget {
  Q_OBJECT

 public:
  using QTabWidget::QTabWidget;

  // Where the pages sit inside the control, for the control's current size,
  // font and style (the same rectangle the style lays the pages out in),
  // known before the control is shown and lays them out.
  QRect PageRect() const;
  QPoint PageOrigin() const { return PageRect().topLeft(); }
};

}  // namespace gui
