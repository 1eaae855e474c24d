#include "gui/skin_button.h"

#include <QPainter>

#include "gui/pictures.h"

namespace gui {

SkinButton::SkinButton(bool skinned, bool toggle, QWidget* parent)
    : QAbstractButton(parent), skinned_(skinned), toggle_(toggle) {
  setAttribute(Qt::WA_Hover);
  setFocusPolicy(Qt::StrongFocus);
}

void SkinButton::SetSelected(bool selected) {
  if (selected_ != selected) {
    selected_ = selected;
    update();
  }
}

QSize SkinButton::sizeHint() const { return {82, 37}; }

void SkinButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (skinned_) {
    const bool highlighted = isEnabled() && (hovered_ || isDown() || selected_);
    painter.drawPixmap(0, 0, SkinPixmap(size(), highlighted));
    if (selected_) {
      // Selected stays recognisable while the mouse highlights its neighbours.
      painter.setPen(QPen(QColor(170, 90, 10), 2));
      painter.setBrush(Qt::NoBrush);
      painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
  }
  if (!text().isEmpty()) {
    painter.setFont(font());
    painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText)
                               : palette().color(QPalette::Disabled, QPalette::ButtonText));
    const QRect textRect = isDown() ? rect().translated(1, 1) : rect();
    painter.drawText(textRect, Qt::AlignCenter, text());
  }
  if (hasFocus()) {
    painter.setPen(QPen(QColor(90, 90, 90), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(3, 3, -4, -4));
  }
}

void SkinButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

}  // namespace gui
