#include "ui/sheet_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QWheelEvent>
#include <algorithm>

#include "ui/element_pictures.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

QPoint PointOf(SheetPoint point) { return {point.x, point.y}; }

// The labels ask for a 5-pixel character cell, which no one can read; the
// 15 pixels between a label's top and the pictures below it leave room for
// this size, the smallest a student reads without a magnifier.
constexpr int kSmallestReadableText = 10;
constexpr int kGridStep = 10;

// The file name the picture loader knows: the core's relative path without its folder.
QString PictureName(Picture picture) {
  const QString path =
      QString::fromUtf8(PictureFile(picture).data(), static_cast<qsizetype>(PictureFile(picture).size()));
  return path.section(QLatin1Char('/'), -1);
}

// Replays one operation; the pen and brush stay the painter's defaults.
class OperationPainter {
 public:
  OperationPainter(QPainter& painter, const ElementPictures& pictures) : painter_(painter), pictures_(pictures) {}

  void operator()(const LineOp& op) const { painter_.drawLine(PointOf(op.from), PointOf(op.to)); }
  void operator()(const CircleOp& op) const {
    painter_.drawEllipse(QRect(PointOf(op.topLeft), PointOf(op.bottomRight)));
  }
  void operator()(const PictureOp& op) const {
    const QImage& picture = pictures_.Of(op.picture);
    painter_.drawImage(PointOf(op.at), picture);
    if (op.picture == Picture::Background) ExtendBackground(picture);
  }
  void operator()(const TextOp& op) const {
    const QFont font = InterfaceFont(std::max(op.fontHeight, kSmallestReadableText));
    painter_.setFont(font);
    const QString text = QString::fromStdString(op.text);
    const QRect box(PointOf(op.at), QFontMetrics(font).size(Qt::TextSingleLine, text));
    painter_.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
  }
  void operator()(const PolylineOp& op) const {
    QPolygon line;
    for (const SheetPoint& point : op.points) line << PointOf(point);
    painter_.drawPolyline(line);
  }
  void operator()(const DotOp& op) const {
    painter_.save();
    painter_.setBrush(painter_.pen().color());
    painter_.drawEllipse(PointOf(op.centre), op.radius, op.radius);
    painter_.restore();
  }

 private:
  // A sheet grown beyond the background picture goes on with its grid points.
  void ExtendBackground(const QImage& picture) const {
    const QRect sheet = painter_.window();
    if (picture.isNull() || (sheet.width() <= picture.width() && sheet.height() <= picture.height())) return;
    const QColor point = picture.pixelColor(kGridStep, kGridStep);
    painter_.save();
    painter_.setPen(point);
    for (int x = 0; x < sheet.width(); x += kGridStep)
      for (int y = 0; y < sheet.height(); y += kGridStep)
        if (x >= picture.width() || y >= picture.height()) {
          painter_.fillRect(QRect(x - kGridStep / 2, y - kGridStep / 2, kGridStep, kGridStep), Qt::white);
          painter_.drawPoint(x, y);
        }
    painter_.restore();
  }

  QPainter& painter_;
  const ElementPictures& pictures_;
};

}  // namespace

ElementPictures::ElementPictures(const QString& executableDirectory) {
  for (size_t i = 0; i < kCount; ++i)
    images_[i] = LoadElementPicture(PictureName(static_cast<Picture>(i)), executableDirectory);
}

SheetCanvas::SheetCanvas(const ElementPictures& pictures, QSize size, QWidget* parent)
    : QWidget(parent), pictures_(pictures), image_(size, QImage::Format_RGB32) {
  setFixedSize(size);
  setCursor(Qt::CrossCursor);
  image_.fill(Qt::white);
}

void SheetCanvas::Paint(const PaintList& paint) {
  if (paint.empty()) return;
  QPainter painter(&image_);
  const OperationPainter painterOfOne(painter, pictures_);
  for (const PaintOp& op : paint) std::visit(painterOfOne, op);
  painter.end();
  update();
}

void SheetCanvas::ShowMarks(const PaintList& marks) {
  marks_ = marks;
  update();
}

void SheetCanvas::Resize(QSize size) {
  image_ = QImage(size, QImage::Format_RGB32);
  image_.fill(Qt::white);
  SetZoom(zoom_);
}

void SheetCanvas::SetZoom(double zoom) {
  zoom_ = zoom;
  setFixedSize((QSizeF(image_.size()) * zoom_).toSize());
  update();
}

void SheetCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (zoom_ != 1.0) {
    painter.scale(zoom_, zoom_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
  }
  painter.drawImage(0, 0, image_);
  if (marks_.empty()) return;
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 90, 220), 2));
  const OperationPainter markPainter(painter, pictures_);
  for (const PaintOp& op : marks_) std::visit(markPainter, op);
}

QPoint SheetCanvas::ImagePixel(const QMouseEvent& event) const { return (event.position() / zoom_).toPoint(); }

void SheetCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) emit ContextRequested(ImagePixel(*event), event->globalPosition().toPoint());
  else if (event->button() == Qt::LeftButton) emit Pressed(ImagePixel(*event));
}

void SheetCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) emit Dragged(ImagePixel(*event));
}

void SheetCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Released(ImagePixel(*event));
}

void SheetCanvas::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
    event->ignore();  // the scroll area scrolls
    return;
  }
  emit ZoomRequested(event->angleDelta().y() > 0);
  event->accept();
}

void SheetCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit DoubleClicked(ImagePixel(*event));
}

}  // namespace ohmara
