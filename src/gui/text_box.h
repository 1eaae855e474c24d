#pragma once

#include <QMargins>
#include <QPlainTextEdit>

namespace gui {

// A multi-line edit box whose text can be kept off its edges, for a box the
// form places partly out of sight.
class TextBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  using QPlainTextEdit::QPlainTextEdit;

  void SetTextMargins(const QMargins& margins);
};

}  // namespace gui
