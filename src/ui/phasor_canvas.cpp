#include "ui/phasor_canvas.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "analysis/phasor_labels.h"
#include "analysis/phasor_readouts.h"
#include "model/polar_text.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

// The title stands above the diagram and the scale bars below it, so that
// neither covers an arrow.
constexpr int kTitleBand = 28;
constexpr int kScaleRow = 20;
constexpr int kScaleBandPadding = 8;
// Room for two scale bars, currents and potentials, so that switching the
// potentials on does not rescale the currents.
constexpr int kScaleBand = 2 * kScaleBandPadding + 2 * kScaleRow;

const QColor kCurrentColour(0x1f, 0x4e, 0xb4);
const QColor kPotentialColour(0xc0, 0x39, 0x2b);
const QColor kGridColour(0xe4, 0xe4, 0xe4);
const QColor kAxisColour(0x80, 0x80, 0x80);

QPointF Point(ViewPoint p) { return {p.x, p.y}; }

std::vector<PhasorLayer> LayOutLayers(const SolutionPhasors& phasors, const PhasorChoice& choice, ViewSize area) {
  const QString currents = QStringLiteral("токи");
  const QString amperes = QStringLiteral("А");
  if (choice.node > 0) {
    const NodeBalance balance = KirchhoffAtNode(choice.node, phasors.branches, phasors.currents);
    return {{LayOutNodeBalance(balance, area), kCurrentColour, currents, amperes, true}};
  }
  std::vector<PhasorLayer> layers = {
      {LayOutPhasors(BranchCurrentPhasors(phasors.branches, phasors.currents), area, choice.length), kCurrentColour,
       currents, amperes, false}};
  if (choice.potentials && !phasors.potentials.empty())
    layers.push_back({LayOutPhasors(phasors.potentials, area, choice.length), kPotentialColour,
                      QStringLiteral("потенциалы"), QStringLiteral("В"), false});
  return layers;
}

// Lines every grid step through the origin, or circles a decade apart in
// the logarithmic mode, where only the distance from the origin means
// anything.
void PaintGrid(QPainter& painter, const PhasorDiagram& diagram, ViewSize area) {
  const double step = diagram.gridStepPixels;
  if (!(step >= 4.0)) return;
  painter.setPen(QPen(kGridColour, 1));
  painter.setBrush(Qt::NoBrush);
  const QPointF origin = Point(diagram.origin);
  if (diagram.length == ArrowLength::Logarithmic) {
    const double reach = std::hypot(area.width, area.height) / 2.0;
    for (double radius = step; radius <= reach; radius += step) painter.drawEllipse(origin, radius, radius);
  } else {
    for (double x = std::fmod(origin.x(), step); x <= area.width; x += step) painter.drawLine(QLineF(x, 0, x, area.height));
    for (double y = std::fmod(origin.y(), step); y <= area.height; y += step) painter.drawLine(QLineF(0, y, area.width, y));
  }
  painter.setPen(QPen(kAxisColour, 1));
  painter.drawLine(QLineF(0, origin.y(), area.width, origin.y()));
  painter.drawLine(QLineF(origin.x(), 0, origin.x(), area.height));
  // Below the real axis: the labels of rightward arrows stand above it.
  painter.drawText(QPointF(area.width - 20, origin.y() + 14), QStringLiteral("+1"));
  painter.drawText(QPointF(origin.x() + 4, 14), QStringLiteral("+j"));
}

void PaintArrow(QPainter& painter, const PhasorArrow& arrow, const QColor& colour) {
  const QLineF shaft(Point(arrow.tail), Point(arrow.tip));
  if (arrow.zero) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(shaft.p1(), 3.0, 3.0);
    return;
  }
  if (shaft.length() < 0.5) return;
  painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(shaft);
  QLineF back(shaft.p2(), shaft.p1());
  back.setLength(std::min(11.0, shaft.length() * 0.4));
  QLineF left = back, right = back;
  left.setAngle(back.angle() + 22);
  right.setAngle(back.angle() - 22);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawPolygon(QPolygonF({shaft.p2(), left.p2(), right.p2()}));
}

// The labels of every layer together, so that none prints over another,
// whichever layer it belongs to.
void PaintLabels(QPainter& painter, const std::vector<PhasorLayer>& layers) {
  std::vector<PhasorLabel> labels;
  std::vector<QColor> colours;
  for (const PhasorLayer& layer : layers)
    for (PhasorLabel& label : layer.headToTail ? SideLabels(layer.diagram) : TipLabels(layer.diagram)) {
      labels.push_back(std::move(label));
      colours.push_back(layer.colour);
    }
  const QFontMetricsF metrics(painter.font());
  std::vector<ViewSize> sizes;
  for (const PhasorLabel& label : labels) {
    const QSizeF size = metrics.size(Qt::TextSingleLine, QString::fromStdString(label.text)) + QSizeF(4, 0);
    sizes.push_back({size.width(), size.height()});
  }
  const std::vector<ViewPoint> centres = PlaceLabelBoxes(labels, sizes);
  for (size_t k = 0; k < labels.size(); ++k) {
    const QRectF box(centres[k].x - sizes[k].width / 2, centres[k].y - sizes[k].height / 2, sizes[k].width,
                     sizes[k].height);
    // Grid lines and other arrows pass under a label; its text stays legible.
    painter.fillRect(box, QColor(255, 255, 255, 200));
    painter.setPen(colours[k]);
    painter.drawText(box, Qt::AlignCenter, QString::fromStdString(labels[k].text));
  }
}

QString MagnitudeText(double magnitude) { return QString::fromStdString(PolarMagnitudeText(magnitude)); }

// The arrows drawn as dots, named: on a logarithmic scale they are no
// shortest arrow but values that count as zero.
QString ZeroNames(const PhasorDiagram& diagram) {
  QStringList names;
  for (const PhasorArrow& arrow : diagram.arrows)
    if (arrow.zero) names << QString::fromStdString(arrow.label);
  if (names.isEmpty()) return QString();
  return QStringLiteral("; ноль (точка): ") + names.join(QStringLiteral(", "));
}

// The grid is the first layer's; another layer's bar only gives its scale.
QString ScaleText(const PhasorLayer& layer, bool ownsGrid) {
  const PhasorDiagram& diagram = layer.diagram;
  if (diagram.length == ArrowLength::Logarithmic)
    return QStringLiteral("%1: ×10 на отрезок; самая короткая стрелка %2 %3")
               .arg(layer.kind, MagnitudeText(diagram.smallestMagnitude), layer.unit) +
           ZeroNames(diagram);
  const QString bar = QStringLiteral("%1: %2 %3").arg(layer.kind, MagnitudeText(diagram.scaleBarValue), layer.unit);
  if (!ownsGrid) return bar;
  return bar + QStringLiteral("; клетка сетки %1 %2").arg(MagnitudeText(diagram.gridStep), layer.unit);
}

// The caption is cut with "…" where it would leave the view of `width`.
void PaintScaleBar(QPainter& painter, const PhasorLayer& layer, bool ownsGrid, QPointF start, double width) {
  const QPointF end = start + QPointF(layer.diagram.scaleBarPixels, 0);
  painter.setPen(QPen(layer.colour, 2));
  painter.drawLine(start, end);
  painter.drawLine(start - QPointF(0, 4), start + QPointF(0, 4));
  painter.drawLine(end - QPointF(0, 4), end + QPointF(0, 4));
  const QPointF at = end + QPointF(8, 4);
  const QString caption =
      QFontMetricsF(painter.font())
          .elidedText(ScaleText(layer, ownsGrid), Qt::ElideRight, std::max(0.0, width - at.x() - 4));
  painter.drawText(at, caption);
}

}  // namespace

PhasorCanvas::PhasorCanvas(QWidget* parent) : QWidget(parent) {
  setMinimumSize(320, 320);
  setFont(InterfaceFont(13, true));
}

void PhasorCanvas::SetPhasors(const SolutionPhasors& phasors) {
  phasors_ = phasors;
  update();
}

void PhasorCanvas::SetChoice(const PhasorChoice& choice, const QString& title) {
  choice_ = choice;
  title_ = title;
  update();
}

ViewSize PhasorCanvas::DiagramArea() const {
  return {static_cast<double>(width()), static_cast<double>(std::max(0, height() - kTitleBand - kScaleBand))};
}

std::vector<PhasorLayer> PhasorCanvas::Layers() const { return LayOutLayers(phasors_, choice_, DiagramArea()); }

QImage PhasorCanvas::Picture() const {
  QImage picture(size(), QImage::Format_ARGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setFont(font());
  Paint(painter);
  return picture;
}

void PhasorCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Paint(painter);
}

void PhasorCanvas::Paint(QPainter& painter) const {
  painter.fillRect(rect(), Qt::white);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::black);
  painter.drawText(QRectF(8, 0, width() - 16, kTitleBand), Qt::AlignVCenter | Qt::AlignLeft, title_);
  const ViewSize area = DiagramArea();
  const std::vector<PhasorLayer> layers = Layers();
  painter.save();
  painter.translate(0, kTitleBand);
  painter.setClipRect(QRectF(0, 0, area.width, area.height));
  PaintGrid(painter, layers.front().diagram, area);
  for (const PhasorLayer& layer : layers)
    for (const PhasorArrow& arrow : layer.diagram.arrows) PaintArrow(painter, arrow, layer.colour);
  PaintLabels(painter, layers);
  painter.restore();
  double row = kTitleBand + area.height + kScaleBandPadding + kScaleRow / 2.0;
  for (size_t k = 0; k < layers.size(); ++k) {
    PaintScaleBar(painter, layers[k], k == 0, QPointF(12, row), width());
    row += kScaleRow;
  }
}

}  // namespace ohmara
