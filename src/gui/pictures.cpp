#include "gui/pictures.h"

#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmapCache>
#include <QRadialGradient>
#include <functional>

namespace gui {
namespace {

constexpr int kDigitSize = 32;

QPixmap TransparentPixmap(QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void DrawBall(QPainter& painter, const QRectF& rect, QColor light, QColor dark) {
  QRadialGradient gradient(rect.center() - QPointF(rect.width() / 6, rect.height() / 6),
                           rect.width() * 0.7);
  gradient.setColorAt(0, light);
  gradient.setColorAt(1, dark);
  painter.setPen(QPen(dark.darker(130), 1));
  painter.setBrush(gradient);
  painter.drawEllipse(rect);
}

// The same few pictures are shown many times (five placeholders, a skin per
// button size on every repaint): each is drawn once and kept.
QPixmap Cached(const QString& key, const std::function<QPixmap()>& draw) {
  QPixmap pixmap;
  if (!QPixmapCache::find(key, &pixmap)) {
    pixmap = draw();
    QPixmapCache::insert(key, pixmap);
  }
  return pixmap;
}

QPixmap DrawDigit(int digit) {
  QPixmap pixmap = TransparentPixmap({kDigitSize, kDigitSize});
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF ball(1.5, 1.5, kDigitSize - 3, kDigitSize - 3);
  const bool isDigit = digit >= 0 && digit <= 9;
  if (isDigit) {
    DrawBall(painter, ball, QColor(255, 120, 110), QColor(200, 20, 20));
  } else {
    DrawBall(painter, ball, QColor(245, 245, 248), QColor(160, 162, 170));
  }
  QFont font("WenQuanYi Micro Hei");
  font.setPixelSize(20);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(isDigit ? Qt::white : QColor(110, 112, 120));
  painter.drawText(ball, Qt::AlignCenter, isDigit ? QString::number(digit) : QStringLiteral("?"));
  return pixmap;
}

QPixmap DrawSkin(QSize size, bool highlighted) {
  QPixmap pixmap = TransparentPixmap(size);
  if (size.isEmpty()) {
    return pixmap;
  }
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF rect = QRectF(pixmap.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
  if (highlighted) {
    gradient.setColorAt(0, QColor(255, 244, 204));
    gradient.setColorAt(0.5, QColor(255, 214, 120));
    gradient.setColorAt(1, QColor(240, 170, 60));
    painter.setPen(QPen(QColor(190, 120, 30), 1));
  } else {
    gradient.setColorAt(0, QColor(252, 252, 254));
    gradient.setColorAt(0.5, QColor(226, 228, 234));
    gradient.setColorAt(1, QColor(196, 199, 208));
    painter.setPen(QPen(QColor(130, 134, 146), 1));
  }
  painter.setBrush(gradient);
  painter.drawRoundedRect(rect, 4, 4);
  // A thin gloss line under the top edge.
  painter.setPen(QPen(QColor(255, 255, 255, 170), 1));
  painter.drawLine(QPointF(rect.left() + 4, rect.top() + 1.5),
                   QPointF(rect.right() - 4, rect.top() + 1.5));
  return pixmap;
}

}  // namespace

QPixmap DigitPixmap(int digit) {
  const int shown = digit >= 0 && digit <= 9 ? digit : -1;
  return Cached(QStringLiteral("lanzhou/digit/%1").arg(shown),
                [shown] { return DrawDigit(shown); });
}

QPixmap SkinPixmap(QSize size, bool highlighted) {
  return Cached(QStringLiteral("lanzhou/skin/%1x%2/%3")
                    .arg(size.width())
                    .arg(size.height())
                    .arg(highlighted ? 1 : 0),
                [size, highlighted] { return DrawSkin(size, highlighted); });
}

QPixmap WindowIconPixmap() {
  QPixmap pixmap = TransparentPixmap({48, 48});
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, 48);
  sky.setColorAt(0, QColor(90, 150, 220));
  sky.setColorAt(1, QColor(20, 70, 150));
  painter.setPen(Qt::NoPen);
  painter.setBrush(sky);
  painter.drawRoundedRect(QRectF(1, 1, 46, 46), 8, 8);
  // A boat on the water.
  painter.setBrush(QColor(250, 250, 250));
  QPolygonF sail;
  sail << QPointF(24, 8) << QPointF(24, 30) << QPointF(11, 30);
  painter.drawPolygon(sail);
  painter.setBrush(QColor(200, 40, 40));
  QPolygonF hull;
  hull << QPointF(8, 32) << QPointF(40, 32) << QPointF(34, 40) << QPointF(14, 40);
  painter.drawPolygon(hull);
  return pixmap;
}

}  // namespace gui
