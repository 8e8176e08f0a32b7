#pragma once
// The drawing of a phasor diagram: the core lays out the whole picture —
// arrows, grid, scale bars and labels — for the canvas's size; the canvas
// paints it on screen and into a picture for a PNG file.

#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

#include "printing/phasor_figure.h"

namespace ohmara {

class PhasorCanvas : public QWidget {
 public:
  explicit PhasorCanvas(QWidget* parent = nullptr);

  void SetPhasors(const SolutionPhasors& phasors);
  void SetChoice(const PhasorChoice& choice, const QString& title);

  // The layers as drawn at the canvas's present size, currents (or the
  // node's polygon) first; coordinates are those of the diagram area below
  // the title.
  std::vector<PhasorLayer> Layers() const;
  // What the canvas shows, for the printed report to draw at its own size.
  const PhasorPicture& Shown() const { return picture_; }
  // The diagram at the canvas's present size, on white.
  QImage Picture() const;

  QSize sizeHint() const override { return {560, 560}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Paint(QPainter& painter) const;

  PhasorPicture picture_;
};

}  // namespace ohmara
