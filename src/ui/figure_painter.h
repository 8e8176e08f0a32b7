#pragma once
// Paints a figure of the core with a QPainter: on a window at its own size,
// on a printer page scaled into a rectangle of device pixels.

#include <QRectF>

#include "printing/vector_figure.h"

class QPainter;

namespace ohmara {

// `figure` scaled uniformly into `target` (device pixels), its top-left
// corner at the target's. No line comes out thinner than `thinnestLine`
// device pixels, so that a figure's hairlines stay visible on paper.
void PaintFigure(QPainter& painter, const VectorFigure& figure, const QRectF& target, double thinnestLine = 1.0);

// How wide and high `text` is in the sans face of `size` pixels.
FigureTextSize ScreenTextSize(const std::string& text, double size, bool bold);

}  // namespace ohmara
