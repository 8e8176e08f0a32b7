#pragma once
// The editor's sheet: an image that keeps whatever was painted on it until
// something is painted over it. The editor core says what to paint as lists
// of operations; the canvas replays them, in order, with the element
// pictures, and reports presses in image pixels.

#include <QImage>
#include <QWidget>
#include <array>

#include "editor/sheet_painting.h"

namespace ohmara {

// The eleven pictures, indexed by the core's Picture values.
class ElementPictures {
 public:
  // Loads every picture once, looking beside the executable as well.
  explicit ElementPictures(const QString& executableDirectory);
  const QImage& Of(Picture picture) const { return images_[static_cast<size_t>(picture)]; }

 private:
  static constexpr size_t kCount = static_cast<size_t>(Picture::SourceVerticalReversed) + 1;
  std::array<QImage, kCount> images_;
};

class SheetCanvas : public QWidget {
  Q_OBJECT

 public:
  SheetCanvas(const ElementPictures& pictures, QSize size, QWidget* parent);

  // Paints the operations on top of what the image shows.
  void Paint(const PaintList& paint);
  const QImage& Image() const { return image_; }
  // Marks shown over the image, never painted into it.
  void ShowMarks(const PaintList& marks);
  // A blank image of this size; the drawing is then painted anew.
  void Resize(QSize size);
  // The image is shown this many times its size (1 at the start).
  void SetZoom(double zoom);
  double Zoom() const { return zoom_; }

 signals:
  // A left-button press at this pixel of the image.
  void Pressed(QPoint pixel);
  // The mouse moved with the left button held, or let it go.
  void Dragged(QPoint pixel);
  void Released(QPoint pixel);
  void DoubleClicked(QPoint pixel);
  // A right click: the pixel, and where on the screen a menu belongs.
  void ContextRequested(QPoint pixel, QPoint screen);
  // Ctrl+wheel: larger when `in`.
  void ZoomRequested(bool in);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QPoint ImagePixel(const QMouseEvent& event) const;

  const ElementPictures& pictures_;
  QImage image_;
  PaintList marks_;
  double zoom_ = 1.0;
};

}  // namespace ohmara
