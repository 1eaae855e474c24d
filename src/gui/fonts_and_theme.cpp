#include "gui/fonts_and_theme.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace gui {

void InstallFontSubstitutes() {
  const QStringList cjk{"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC",
                        "Source Han Sans SC", "Droid Sans Fallback"};
  for (const char* family : {"宋体", "SimSun", "微软雅黑", "Microsoft YaHei"}) {
    QFont::insertSubstitutions(QString::fromUtf8(family), cjk);
  }
}

QFont FormFont(const ui::Font& font) {
  QFont result(QString::fromStdString(font.family));
  result.setPixelSize(font.pixelHeight);
  result.setBold(font.bold);
  return result;
}

void ApplySilverTheme(QApplication& application) {
  application.setStyle(QStyleFactory::create("Fusion"));
  QPalette silver;
  const QColor face(228, 229, 234);
  silver.setColor(QPalette::Window, face);
  silver.setColor(QPalette::WindowText, Qt::black);
  silver.setColor(QPalette::Base, Qt::white);
  silver.setColor(QPalette::AlternateBase, QColor(240, 241, 245));
  silver.setColor(QPalette::Button, QColor(222, 223, 230));
  silver.setColor(QPalette::ButtonText, Qt::black);
  silver.setColor(QPalette::Text, Qt::black);
  silver.setColor(QPalette::Light, Qt::white);
  silver.setColor(QPalette::Midlight, QColor(240, 240, 244));
  silver.setColor(QPalette::Mid, QColor(176, 178, 188));
  silver.setColor(QPalette::Dark, QColor(140, 142, 154));
  silver.setColor(QPalette::Shadow, QColor(90, 92, 100));
  silver.setColor(QPalette::Highlight, QColor(150, 160, 186));
  silver.setColor(QPalette::HighlightedText, Qt::white);
  silver.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
  silver.setColor(QPalette::ToolTipText, Qt::black);
  silver.setColor(QPalette::Disabled, QPalette::WindowText, QColor(140, 140, 146));
  silver.setColor(QPalette::Disabled, QPalette::Text, QColor(140, 140, 146));
  silver.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(140, 140, 146));
  application.setPalette(silver);
}

}  // namespace gui
