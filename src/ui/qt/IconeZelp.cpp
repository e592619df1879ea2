// The program's own icon, drawn in code so it needs no image file: a rounded teal tile with a white
// "Z" and a small amber dot, readable at 24 x 24 pixels.
#include "ui/qt/IconeZelp.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap DesenhaIcone(int lado) {
  QPixmap pixmap(lado, lado);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  // All coordinates are on the 24-pixel grid; larger sizes only scale the drawing.
  p.scale(lado / 24.0, lado / 24.0);

  p.setPen(QPen(QColor(0x06, 0x4e, 0x4a), 1.0));
  p.setBrush(QColor(0x0f, 0x76, 0x6e));
  p.drawRoundedRect(QRectF(0.5, 0.5, 23.0, 23.0), 5.0, 5.0);

  QPainterPath z;
  z.moveTo(6.5, 6.5);
  z.lineTo(17.5, 6.5);
  z.lineTo(6.5, 17.5);
  z.lineTo(17.5, 17.5);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::white, 2.8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.drawPath(z);

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xf5, 0x9e, 0x0b));
  p.drawEllipse(QPointF(19.0, 12.0), 2.2, 2.2);
  return pixmap;
}

}  // namespace

QIcon IconeZelp() {
  QIcon icone;
  icone.addPixmap(DesenhaIcone(24));
  icone.addPixmap(DesenhaIcone(48));
  return icone;
}
