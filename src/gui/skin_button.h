#pragma once

#include <QAbstractButton>

namespace gui {

// An image button: one of two skin pictures with the caption drawn over it.
// The highlighted skin shows while the mouse is over it or presses it, and
// for as long as a toggle-style button is selected.
class SkinButton : public QAbstractButton {
  Q_OBJECT

 public:
  SkinButton(bool skinned, bool toggle, QWidget* parent);

  bool IsToggle() const { return toggle_; }
  bool Selected() const { return selected_; }
  void SetSelected(bool selected);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  bool skinned_;
  bool toggle_;
  bool selected_ = false;
  bool hovered_ = false;
};

}  // namespace gui
