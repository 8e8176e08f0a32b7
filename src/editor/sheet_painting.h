#pragma once
// What the sheet shows, as a list of paint operations that a window replays,
// in order, onto the image it keeps: the image holds whatever was painted
// until something is painted over it, so each list is painted on top of the
// last one (a full redraw starts with the background picture).

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "editor/sheet_model.h"

namespace ohmara {

enum class Picture {
  Background,
  ResistorHorizontal,
  InductorHorizontal,
  CapacitorHorizontal,
  SourceHorizontal,          // E > 0
  SourceHorizontalReversed,  // E < 0
  ResistorVertical,
  InductorVertical,
  CapacitorVertical,
  SourceVertical,          // E > 0
  SourceVerticalReversed,  // E < 0
};

// The picture's file, relative to the current directory ("Pictures/Rh.bmp").
std::string_view PictureFile(Picture picture);

// Pixel height of the character cell of every text on the sheet.
inline constexpr int kSheetFontHeight = 5;

struct SheetPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const SheetPoint&, const SheetPoint&) = default;
};

// A line with the default pen.
struct LineOp {
  SheetPoint from, to;
  friend bool operator==(const LineOp&, const LineOp&) = default;
};
// An ellipse inscribed in the square with these corners (a terminal mark).
struct CircleOp {
  SheetPoint topLeft, bottomRight;
  friend bool operator==(const CircleOp&, const CircleOp&) = default;
};
// A picture, unscaled, with its top-left corner at `at`.
struct PictureOp {
  Picture picture;
  SheetPoint at;
  friend bool operator==(const PictureOp&, const PictureOp&) = default;
};
// A text with its top-left corner at `at`, in a font of `fontHeight` pixels.
struct TextOp {
  std::string text;
  SheetPoint at;
  int fontHeight = kSheetFontHeight;
  friend bool operator==(const TextOp&, const TextOp&) = default;
};
// Connected lines through the points.
struct PolylineOp {
  std::vector<SheetPoint> points;
  friend bool operator==(const PolylineOp&, const PolylineOp&) = default;
};

// A filled dot: where three or more wire ends and terminals meet.
struct DotOp {
  SheetPoint centre;
  int radius = 3;
  friend bool operator==(const DotOp&, const DotOp&) = default;
};

using PaintOp = std::variant<LineOp, CircleOp, PictureOp, TextOp, PolylineOp, DotOp>;
using PaintList = std::vector<PaintOp>;

// One branch: its line, both terminal marks, its element pictures and value labels.
void AppendSheetBranch(PaintList& paint, const SheetBranch& branch);
// One wire through its points scaled to pixels; where it jumps another wire
// it arcs over the crossed cell, so a crossing never looks like a junction.
void AppendConnection(PaintList& paint, const Connection& connection);
// A dot wherever three or more wire ends and terminals meet, or two
// branches' terminals touch.
void AppendJunctions(PaintList& paint, const SheetDrawing& drawing);
// Background, every branch, every wire, then the junction dots.
PaintList RedrawSheet(const SheetDrawing& drawing);

// A box of sheet pixels, its edges included.
struct SheetBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const SheetBox&, const SheetBox&) = default;
};

// The box of a branch's band with its pictures and labels.
SheetBox BranchBox(const SheetBranch& branch);

// What "По размеру схемы" shows: every branch with its labels and every
// wire with its bridges, and `margin` pixels round them, kept on the sheet;
// nothing on an empty sheet.
std::optional<SheetBox> DrawingBox(const SheetDrawing& drawing, int margin);

// Marks drawn over the sheet (never into its picture): a chosen branch
// with its band outlined, a chosen wire, a terminal waiting for its partner.
PaintList BranchMark(const SheetBranch& branch);
PaintList ConnectionMark(const Connection& connection);
PaintList TerminalMark(const Terminal& terminal);

// Node numbers of a drawing turned into a table: for every branch the final
// number of its start terminal at (X1, Y1) and of its end terminal at (X2, Y2).
struct TerminalNumbers {
  int start = 0;
  int end = 0;
  friend bool operator==(const TerminalNumbers&, const TerminalNumbers&) = default;
};
PaintList DrawNodeNumbers(const SheetDrawing& drawing, const std::vector<TerminalNumbers>& numbers);

}  // namespace ohmara
