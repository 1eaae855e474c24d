#pragma once

#include <QPlainTextEdit>

namespace gui {

// A multi-line edit box whose text can be set off from its left edge, for a
// box the form places partly outside its page.
class TextBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  using QPlainTextEdit::QPlainTextEdit;

  void SetLeftMargin(int pixels);
};

}  // namespace gui
