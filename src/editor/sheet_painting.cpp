#include "editor/sheet_painting.h"

#include <array>

#include "editor/value_text.h"

namespace ohmara {

std::string_view PictureFile(Picture picture) {
  static constexpr std::array<std::string_view, 11> kFiles = {
      "Pictures/back.bmp", "Pictures/Rh.bmp", "Pictures/Lh.bmp", "Pictures/Ch.bmp",
      "Pictures/Ehr.bmp",  "Pictures/Eh.bmp", "Pictures/Rv.bmp", "Pictures/Lv.bmp",
      "Pictures/Cv.bmp",   "Pictures/Evd.bmp", "Pictures/Ev.bmp"};
  return kFiles[static_cast<size_t>(picture)];
}

namespace {

// Where an element stands relative to the start terminal: its picture and its
// label, on a horizontal branch and on a vertical one.
struct ElementPlace {
  Picture horizontal;
  SheetPoint horizontalPicture, horizontalLabel;
  Picture vertical;
  SheetPoint verticalPicture, verticalLabel;
};

// L, R and E follow one another 32 pixels apart from 25; a lone capacitor
// stands in the middle (half the length minus 5), beside others it stands first.
constexpr ElementPlace kResistor = {Picture::ResistorHorizontal, {57, -8}, {57, -25},
                                    Picture::ResistorVertical, {-8, 57}, {11, 57}};
constexpr ElementPlace kCapacitor = {Picture::CapacitorHorizontal, {10, -10}, {8, -25},
                                     Picture::CapacitorVertical, {-10, 10}, {11, 8}};
constexpr ElementPlace kLoneCapacitor = {Picture::CapacitorHorizontal, {55, -10}, {55, -25},
                                         Picture::CapacitorVertical, {-10, 55}, {11, 55}};
constexpr ElementPlace kInductor = {Picture::InductorHorizontal, {25, -7}, {25, -25},
                                    Picture::InductorVertical, {0, 25}, {11, 25}};
constexpr ElementPlace kSource = {Picture::SourceHorizontal, {89, -10}, {89, -25},
                                  Picture::SourceVertical, {-10, 89}, {11, 89}};
constexpr ElementPlace kReversedSource = {Picture::SourceHorizontalReversed, {89, -10}, {89, -25},
                                          Picture::SourceVerticalReversed, {-10, 89}, {11, 89}};

SheetPoint Offset(const TSheetBranch& branch, SheetPoint offset) {
  return {branch.X1 + offset.x, branch.Y1 + offset.y};
}

void AppendElement(PaintList& paint, const TSheetBranch& branch, const ElementPlace& place, std::string label) {
  const bool v = branch.Vertical;
  paint.emplace_back(PictureOp{v ? place.vertical : place.horizontal,
                               Offset(branch, v ? place.verticalPicture : place.horizontalPicture)});
  paint.emplace_back(
      TextOp{std::move(label), Offset(branch, v ? place.verticalLabel : place.horizontalLabel), kSheetFontHeight});
}

CircleOp TerminalMark(int x, int y) { return {{x - 2, y - 2}, {x + 2, y + 2}}; }

}  // namespace

void AppendSheetBranch(PaintList& paint, const TSheetBranch& branch) {
  paint.emplace_back(LineOp{SheetPoint{branch.X1, branch.Y1}, SheetPoint{branch.X2, branch.Y2}});
  paint.emplace_back(TerminalMark(branch.X1, branch.Y1));
  paint.emplace_back(TerminalMark(branch.X2, branch.Y2));
  const ElementValues& v = branch.Values;
  if (v.R == 0 && v.L == 0 && v.E == 0) {
    AppendElement(paint, branch, kLoneCapacitor, ValueLabel(v.C));
    return;
  }
  if (v.R != 0) AppendElement(paint, branch, kResistor, ValueLabel(v.R));
  if (v.C != 0) AppendElement(paint, branch, kCapacitor, ValueLabel(v.C));
  if (v.L != 0) AppendElement(paint, branch, kInductor, ValueLabel(v.L));
  // The picture carries the direction, so the label shows the magnitude.
  if (v.E != 0)
    AppendElement(paint, branch, v.E > 0 ? kSource : kReversedSource,
                  ValueLabel(v.E > 0 ? v.E : -v.E) + "," + ValueLabel(v.Angle));
}

void AppendConnection(PaintList& paint, const TConnection& connection) {
  PolylineOp line;
  line.points.reserve(connection.Points.size());
  for (const TCell& c : connection.Points) line.points.push_back({10 * c.X, 10 * c.Y});
  paint.push_back(std::move(line));
}

PaintList RedrawSheet(const SheetDrawing& drawing) {
  PaintList paint{PictureOp{Picture::Background, {0, 0}}};
  for (const TSheetBranch& branch : drawing.Branches()) AppendSheetBranch(paint, branch);
  for (const TConnection& connection : drawing.Connections()) AppendConnection(paint, connection);
  return paint;
}

PaintList DrawNodeNumbers(const SheetDrawing& drawing, const std::vector<TerminalNumbers>& numbers) {
  PaintList paint;
  const auto& branches = drawing.Branches();
  for (size_t i = 0; i < branches.size() && i < numbers.size(); ++i) {
    paint.push_back(TextOp{std::to_string(numbers[i].start), {branches[i].X1, branches[i].Y1}});
    paint.push_back(TextOp{std::to_string(numbers[i].end), {branches[i].X2, branches[i].Y2}});
  }
  return paint;
}

}  // namespace ohmara
