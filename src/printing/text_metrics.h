#pragma once
// How much room a printed text takes, in millimetres. The report is laid out
// before anything reaches a printer and must come out the same on every one,
// so the widths are the fonts' own advance widths (Arial and Times New Roman,
// which the printer canvas draws in their metric-compatible free versions),
// not whatever a device reports.

#include <string>

#include "printing/page_canvas.h"
#include "printing/vector_figure.h"

namespace ohmara {

// The advance width of `text` (UTF-8) in `font`. A character the tables do
// not know counts as a whole em, so an unusual text is overestimated, never
// cut short.
double TextWidthMm(const Font& font, const std::string& text);

// The height of a line of `font`, ascent and descent.
double TextHeightMm(const Font& font);

// The room `text` takes in a figure whose texts are in the sans face of
// `pixelSize` units. Bold letters are wider, digits are not: a bold text is
// taken a twentieth wider, erring on the side of room.
FigureTextSize SansTextSize(const std::string& text, double pixelSize, bool bold);

}  // namespace ohmara
