#include "ui/circuit_picture.h"

#include <QPainter>
#include <QPainterPath>

namespace ohmara {

namespace {

void DrawResistor(QPainter& p, QPointF a, QPointF b) {
  const QPointF mid = (a + b) / 2;
  const bool vertical = qFuzzyCompare(a.x(), b.x());
  const QRectF body = vertical ? QRectF(mid.x() - 7, mid.y() - 18, 14, 36) : QRectF(mid.x() - 18, mid.y() - 7, 36, 14);
  if (vertical) {
    p.drawLine(a, QPointF(a.x(), body.top()));
    p.drawLine(QPointF(a.x(), body.bottom()), b);
  } else {
    p.drawLine(a, QPointF(body.left(), a.y()));
    p.drawLine(QPointF(body.right(), a.y()), b);
  }
  p.drawRect(body);
}

void DrawCapacitor(QPainter& p, QPointF a, QPointF b) {
  const QPointF mid = (a + b) / 2;
  p.drawLine(a, QPointF(mid.x() - 4, mid.y()));
  p.drawLine(QPointF(mid.x() + 4, mid.y()), b);
  p.drawLine(QPointF(mid.x() - 4, mid.y() - 12), QPointF(mid.x() - 4, mid.y() + 12));
  p.drawLine(QPointF(mid.x() + 4, mid.y() - 12), QPointF(mid.x() + 4, mid.y() + 12));
}

void DrawInductor(QPainter& p, QPointF a, QPointF b) {
  const QPointF mid = (a + b) / 2;
  const double start = mid.x() - 20;
  p.drawLine(a, QPointF(start, a.y()));
  for (int i = 0; i < 4; ++i) p.drawArc(QRectF(start + 10 * i, mid.y() - 6, 10, 12), 0, 180 * 16);
  p.drawLine(QPointF(start + 40, a.y()), b);
}

void DrawSource(QPainter& p, QPointF a, QPointF b) {
  const QPointF mid = (a + b) / 2;
  p.drawLine(a, QPointF(a.x(), mid.y() - 14));
  p.drawLine(QPointF(a.x(), mid.y() + 14), b);
  p.drawEllipse(mid, 14, 14);
  p.drawLine(QPointF(mid.x(), mid.y() + 9), QPointF(mid.x(), mid.y() - 9));
  p.drawLine(QPointF(mid.x(), mid.y() - 9), QPointF(mid.x() - 4, mid.y() - 3));
  p.drawLine(QPointF(mid.x(), mid.y() - 9), QPointF(mid.x() + 4, mid.y() - 3));
}

}  // namespace

CircuitPicture::CircuitPicture(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TranslucentBackground); }

void CircuitPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(20, 40, 120), 1.6));
  const double left = 24, middle = 144, right = 264, top = 30, bottom = 160;
  DrawSource(p, {left, bottom}, {left, top});
  DrawResistor(p, {left, top}, {middle, top});
  DrawInductor(p, {middle, top}, {right, top});
  DrawResistor(p, {middle, top}, {middle, bottom});
  DrawCapacitor(p, {right, bottom}, {middle, bottom});
  p.drawLine(QPointF(right, top), QPointF(right, bottom));
  p.drawLine(QPointF(middle, bottom), QPointF(left, bottom));
  p.setBrush(p.pen().color());
  p.drawEllipse(QPointF(middle, top), 3, 3);
  p.drawEllipse(QPointF(middle, bottom), 3, 3);
}

}  // namespace ohmara
