#pragma once

#include <QString>
#include <string>

namespace gui {

// The program's texts are UTF-8; Qt's are QString.
QString Q(const std::string& text);
std::string S(const QString& text);

// Multi-line boxes hold CR LF line ends, as the texts written into them do;
// Qt documents keep LF only.
QString ToDocument(const std::string& text);
std::string FromDocument(const QString& text);

}  // namespace gui
