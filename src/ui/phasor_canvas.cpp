#include "ui/phasor_canvas.h"

#include <QPainter>

#include "ui/figure_painter.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

FigureTextSize ScreenText(const std::string& text) { return ScreenTextSize(text, kPhasorTextSize, true); }

}  // namespace

PhasorCanvas::PhasorCanvas(QWidget* parent) : QWidget(parent) {
  setMinimumSize(320, 320);
  setFont(InterfaceFont(static_cast<int>(kPhasorTextSize), true));
}

void PhasorCanvas::SetPhasors(const SolutionPhasors& phasors) {
  picture_.phasors = phasors;
  update();
}

void PhasorCanvas::SetChoice(const PhasorChoice& choice, const QString& title) {
  picture_.choice = choice;
  picture_.title = title.toStdString();
  update();
}

std::vector<PhasorLayer> PhasorCanvas::Layers() const {
  return LayOutPhasorLayers(picture_.phasors, picture_.choice, PhasorDiagramArea(width(), height()));
}

QImage PhasorCanvas::Picture() const {
  QImage picture(size(), QImage::Format_ARGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  Paint(painter);
  return picture;
}

void PhasorCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Paint(painter);
}

void PhasorCanvas::Paint(QPainter& painter) const {
  painter.fillRect(rect(), Qt::white);
  PaintFigure(painter, PhasorFigure(picture_, width(), height(), ScreenText), QRectF(rect()));
}

}  // namespace ohmara
