#pragma once
// The editor's drawing as a figure: the branch lines, terminal marks, wires
// and junction dots as the sheet paints them, the element pictures as the
// strokes of their symbols, and the labels, cut to the part of the sheet the
// drawing takes. The printed report and the task cards draw it as paths, so
// it stays sharp at any size.

#include "editor/sheet_model.h"
#include "editor/sheet_painting.h"
#include "model/branch.h"
#include "printing/phasor_figure.h"
#include "printing/vector_figure.h"

namespace ohmara {

// The pixel size of the sheet's labels on screen and on paper: the 5-pixel
// character cell the sheet asks for is too small to read.
inline constexpr double kSheetLabelSize = 10.0;

// The figure of `paint` (the background picture is left out), moved so that
// a small margin surrounds what is drawn. An empty list gives an empty figure.
VectorFigure SheetFigure(const PaintList& paint, const MeasureFigureText& measure);

// A drawing made from a branch table, with every terminal numbered by the
// node the table gives it, so the drawing reads beside the table.
PaintList NumberedTableDrawing(const SheetDrawing& drawing);

// The sheet's figure with its texts measured as the printed fonts run.
VectorFigure PrintedSheetFigure(const PaintList& paint);

// `table` drawn by the editor's table-to-drawing conversion, its terminals
// numbered; an empty figure when a row cannot be drawn.
VectorFigure PrintedTableDrawing(const BranchTable& table);

}  // namespace ohmara
