#include "gui/qt_text.h"

namespace gui {

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string S(const QString& text) { return text.toStdString(); }

QString ToDocument(const std::string& text) {
  QString result = Q(text);
  result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return result;
}

std::string FromDocument(const QString& text) {
  QString result = text;
  result.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return S(result);
}

}  // namespace gui
