#include "ui/program_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <initializer_list>

namespace ohmara {

namespace {

constexpr int kSize = 24;

// A branch with a resistor in its middle, from `from` to `to` (horizontal or vertical).
void DrawBranch(QPainter& p, QPoint from, QPoint to) {
  p.drawLine(from, to);
  const QPoint middle = (from + to) / 2;
  const bool horizontal = from.y() == to.y();
  const QRect body =
      horizontal ? QRect(middle.x() - 5, middle.y() - 3, 10, 6) : QRect(middle.x() - 3, middle.y() - 5, 6, 10);
  p.fillRect(body, Qt::white);
  p.drawRect(body);
  p.setBrush(Qt::black);
  p.drawEllipse(from, 2, 2);
  p.drawEllipse(to, 2, 2);
  p.setBrush(Qt::NoBrush);
}

// A small ruled table: the branch table.
void DrawTableSheet(QPainter& p, QRect box) {
  p.fillRect(box, Qt::white);
  p.drawRect(box);
  for (int y = box.top() + 4; y < box.bottom(); y += 4) p.drawLine(box.left(), y, box.right(), y);
  p.drawLine(box.left() + box.width() / 3, box.top(), box.left() + box.width() / 3, box.bottom());
}

void DrawArrow(QPainter& p, QPoint from, QPoint to, const QColor& colour) {
  p.save();
  p.setPen(QPen(colour, 2));
  p.drawLine(from, to);
  const QPointF direction = QPointF(to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
  const QPointF side(-direction.y(), direction.x());
  QPainterPath head;
  head.moveTo(to);
  head.lineTo(QPointF(to) - 4 * direction + 3 * side);
  head.lineTo(QPointF(to) - 4 * direction - 3 * side);
  head.closeSubpath();
  p.fillPath(head, colour);
  p.restore();
}

// Bold strokes over a picture: the plus of adding, the cross of deleting.
void DrawStrokes(QPainter& p, const QColor& colour, std::initializer_list<QLine> strokes) {
  p.setPen(QPen(colour, 2.5));
  for (const QLine& stroke : strokes) p.drawLine(stroke);
}

void DrawIcon(QPainter& p, ProgramIcon icon) {
  const QColor action(0, 110, 190);
  switch (icon) {
    case ProgramIcon::AddBranch:  // a branch and a green plus
      DrawBranch(p, {3, 15}, {21, 15});
      DrawStrokes(p, QColor(0, 140, 60), {QLine(12, 1, 12, 10), QLine(8, 5, 16, 5)});
      break;
    case ProgramIcon::HorizontalBranch:
      DrawBranch(p, {3, 12}, {21, 12});
      break;
    case ProgramIcon::VerticalBranch:
      DrawBranch(p, {12, 3}, {12, 21});
      break;
    case ProgramIcon::DeleteBranch:
      DrawBranch(p, {3, 12}, {21, 12});
      DrawStrokes(p, QColor(200, 0, 0), {QLine(6, 5, 18, 19), QLine(18, 5, 6, 19)});
      break;
    case ProgramIcon::Connect:
      p.setBrush(Qt::black);
      p.drawEllipse(QPoint(4, 5), 2, 2);
      p.drawEllipse(QPoint(20, 19), 2, 2);
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(action, 2));
      p.drawPolyline(QPolygon({QPoint(6, 5), QPoint(13, 5), QPoint(13, 19), QPoint(18, 19)}));
      break;
    case ProgramIcon::TableToFile:  // table -> file
      DrawTableSheet(p, {1, 4, 9, 15});
      DrawArrow(p, {10, 12}, {15, 12}, action);
      p.drawPolygon(QPolygon({QPoint(16, 4), QPoint(20, 4), QPoint(23, 7), QPoint(23, 20), QPoint(16, 20)}));
      p.drawLine(18, 11, 21, 11);
      p.drawLine(18, 14, 21, 14);
      p.drawLine(18, 17, 21, 17);
      break;
    case ProgramIcon::TableToMainWindow:  // table -> window
      DrawTableSheet(p, {1, 6, 8, 12});
      DrawArrow(p, {9, 12}, {14, 12}, action);
      p.drawRect(14, 3, 9, 18);
      p.fillRect(14, 3, 10, 4, action);
      break;
    case ProgramIcon::DrawTable:  // table -> drawing
      DrawTableSheet(p, {6, 1, 12, 10});
      DrawArrow(p, {12, 11}, {12, 16}, action);
      DrawBranch(p, {3, 20}, {21, 20});
      break;
  }
}

}  // namespace

QIcon DrawProgramIcon(ProgramIcon icon) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1));
  DrawIcon(painter, icon);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace ohmara
