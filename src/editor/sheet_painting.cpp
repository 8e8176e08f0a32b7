#include "editor/sheet_painting.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>

#include "editor/value_text.h"

namespace ohmara {

std::string_view PictureFile(Picture picture) {
  static constexpr std::array<std::string_view, 11> kFiles = {
      "Pictures/back.bmp", "Pictures/Rh.bmp",  "Pictures/Lh.bmp", "Pictures/Ch.bmp",
      "Pictures/Ehr.bmp",  "Pictures/Eh.bmp",  "Pictures/Rv.bmp", "Pictures/Lv.bmp",
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
                                    Picture::ResistorVertical,   {-8, 57}, {11, 57}};
constexpr ElementPlace kCapacitor = {Picture::CapacitorHorizontal, {10, -10}, {8, -25},
                                     Picture::CapacitorVertical,   {-10, 10}, {11, 8}};
constexpr ElementPlace kLoneCapacitor = {Picture::CapacitorHorizontal, {55, -10}, {55, -25},
                                         Picture::CapacitorVertical,   {-10, 55}, {11, 55}};
constexpr ElementPlace kInductor = {Picture::InductorHorizontal, {25, -7}, {25, -25},
                                    Picture::InductorVertical,   {0, 25},  {11, 25}};
constexpr ElementPlace kSource = {Picture::SourceHorizontal, {89, -10}, {89, -25},
                                  Picture::SourceVertical,   {-10, 89}, {11, 89}};
constexpr ElementPlace kReversedSource = {Picture::SourceHorizontalReversed, {89, -10}, {89, -25},
                                          Picture::SourceVerticalReversed,   {-10, 89}, {11, 89}};

SheetPoint Offset(const SheetBranch& branch, SheetPoint offset) { return {branch.X1 + offset.x, branch.Y1 + offset.y}; }

// A current source is drawn from lines and a circle, the same on the sheet
// and on paper: a circle with a double arrowhead along the branch. Alone in
// its branch it stands on the branch line; beside series elements it stands
// on a bypass from terminal to terminal, since J is in parallel with them.
// Places are pixels along the branch from its start terminal and across it:
// below a horizontal branch, left of a vertical one, as a picture turned a
// quarter clockwise lies.
struct CurrentSourcePlace {
  int along;
  int across;
  int radius;
  int arm;  // of each arrowhead, along and across
  SheetPoint horizontalLabel, verticalLabel;
};

constexpr CurrentSourcePlace kLoneCurrentSource = {60, 0, 9, 4, {51, -25}, {11, 51}};
// The bypass runs between the elements' pictures (10 pixels off the line at
// most) and the nearest wire (20 pixels off); its label stands below it, as
// the labels of a vertical branch stand beside it.
constexpr CurrentSourcePlace kBypassCurrentSource = {60, 14, 6, 3, {68, 16}, {11, 41}};
constexpr int kBypassEnd = 6;

SheetPoint Along(const SheetBranch& branch, int along, int across) {
  return branch.Vertical ? SheetPoint{branch.X1 - across, branch.Y1 + along}
                         : SheetPoint{branch.X1 + along, branch.Y1 + across};
}

// "J=0.5,30": the magnitude keeps its first digits (a source of half an
// ampere must not read 0 or 1), the angle is whole as the EMF's.
std::string CurrentSourceLabel(const ElementValues& v) {
  const double magnitude = std::fabs(v.J);
  char digits[32];
  const auto written = std::to_chars(digits, digits + sizeof digits, magnitude, std::chars_format::general, 3);
  const std::string shown = magnitude < 1000 ? std::string(digits, written.ptr) : ValueLabel(magnitude);
  return "J=" + shown + "," + ValueLabel(v.JAngle);
}

void AppendCurrentSource(PaintList& paint, const SheetBranch& branch, const CurrentSourcePlace& place) {
  const int across = place.across;
  if (across != 0)
    paint.emplace_back(PolylineOp{{Along(branch, kBypassEnd, 0), Along(branch, kBypassEnd, across),
                                   Along(branch, kSheetBranchLength - kBypassEnd, across),
                                   Along(branch, kSheetBranchLength - kBypassEnd, 0)}});
  const SheetPoint centre = Along(branch, place.along, across);
  paint.emplace_back(
      CircleOp{{centre.x - place.radius, centre.y - place.radius}, {centre.x + place.radius, centre.y + place.radius}});
  // J < 0 drives To -> From: the arrowheads turn round, the label shows the magnitude.
  const int sign = branch.Values.J < 0 ? -1 : 1;
  const int firstTip = place.along - sign;
  for (const int tip : {firstTip, firstTip + sign * (place.arm + 1)}) {
    const int back = tip - sign * place.arm;
    paint.emplace_back(LineOp{Along(branch, back, across - place.arm), Along(branch, tip, across)});
    paint.emplace_back(LineOp{Along(branch, back, across + place.arm), Along(branch, tip, across)});
  }
  paint.emplace_back(TextOp{CurrentSourceLabel(branch.Values),
                            Offset(branch, branch.Vertical ? place.verticalLabel : place.horizontalLabel),
                            kSheetFontHeight});
}

void AppendElement(PaintList& paint, const SheetBranch& branch, const ElementPlace& place, std::string label) {
  const bool v = branch.Vertical;
  paint.emplace_back(PictureOp{v ? place.vertical : place.horizontal,
                               Offset(branch, v ? place.verticalPicture : place.horizontalPicture)});
  paint.emplace_back(
      TextOp{std::move(label), Offset(branch, v ? place.verticalLabel : place.horizontalLabel), kSheetFontHeight});
}

CircleOp TerminalCircle(int x, int y) { return {{x - 2, y - 2}, {x + 2, y + 2}}; }

// A half circle over the crossed cell from `from` to `to`, two cells apart,
// bulging up (across a horizontal jump) or left (across a vertical one); over
// a bundle of parallel wires, further apart, one flat bridge over them all.
void AppendArc(std::vector<SheetPoint>& points, SheetPoint from, SheetPoint to) {
  constexpr double kPi = 3.14159265358979;
  const double cx = (from.x + to.x) / 2.0;
  const double cy = (from.y + to.y) / 2.0;
  const double radius = 7.0;
  const bool horizontal = from.y == to.y;
  const double sign = horizontal ? (to.x > from.x ? 1 : -1) : (to.y > from.y ? 1 : -1);
  // Half the bridge's span: from 7 pixels before the first crossed point to
  // 7 after the last.
  const double reach = std::abs(horizontal ? to.x - from.x : to.y - from.y) / 2.0 - 10.0 + radius;
  const int steps = 8 + static_cast<int>(reach - radius) / 5;
  // Straight to the arc's foot, round the crossed points, on to the next point.
  if (horizontal) points.push_back({static_cast<int>(cx - sign * reach), from.y});
  else points.push_back({from.x, static_cast<int>(cy - sign * reach)});
  for (int i = 1; i < steps; ++i) {
    const double angle = kPi * i / steps;
    const double along = -std::cos(angle) * reach * sign;
    const double across = -std::sin(angle) * radius;
    points.push_back(
        horizontal ? SheetPoint{static_cast<int>(std::lround(cx + along)), static_cast<int>(std::lround(cy + across))}
                   : SheetPoint{static_cast<int>(std::lround(cx + across)), static_cast<int>(std::lround(cy + along))});
  }
  if (horizontal) points.push_back({static_cast<int>(cx + sign * reach), from.y});
  else points.push_back({from.x, static_cast<int>(cy + sign * reach)});
  points.push_back(to);
}

std::uint64_t KeyOf(SheetPoint p) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.x)) << 32) | static_cast<std::uint32_t>(p.y);
}

}  // namespace

void AppendSheetBranch(PaintList& paint, const SheetBranch& branch) {
  paint.emplace_back(LineOp{SheetPoint{branch.X1, branch.Y1}, SheetPoint{branch.X2, branch.Y2}});
  paint.emplace_back(TerminalCircle(branch.X1, branch.Y1));
  paint.emplace_back(TerminalCircle(branch.X2, branch.Y2));
  const ElementValues& v = branch.Values;
  if (IsIdealCurrentSource(v)) {
    AppendCurrentSource(paint, branch, kLoneCurrentSource);
    return;
  }
  if (v.R == 0 && v.L == 0 && v.E == 0) {
    AppendElement(paint, branch, kLoneCapacitor, ValueLabel(v.C));
  } else {
    if (v.R != 0) AppendElement(paint, branch, kResistor, ValueLabel(v.R));
    if (v.C != 0) AppendElement(paint, branch, kCapacitor, ValueLabel(v.C));
    if (v.L != 0) AppendElement(paint, branch, kInductor, ValueLabel(v.L));
    // The picture carries the direction, so the label shows the magnitude.
    if (v.E != 0)
      AppendElement(paint, branch, v.E > 0 ? kSource : kReversedSource,
                    ValueLabel(v.E > 0 ? v.E : -v.E) + "," + ValueLabel(v.Angle));
  }
  if (HasBypass(v)) AppendCurrentSource(paint, branch, kBypassCurrentSource);
}

void AppendConnection(PaintList& paint, const Connection& connection) {
  PolylineOp line;
  line.points.reserve(connection.Points.size());
  for (size_t i = 0; i < connection.Points.size(); ++i) {
    const GridCell& c = connection.Points[i];
    const SheetPoint point{10 * c.X, 10 * c.Y};
    if (i > 0) {
      const GridCell& b = connection.Points[i - 1];
      if (std::abs(c.X - b.X) + std::abs(c.Y - b.Y) >= 2 && (c.X == b.X || c.Y == b.Y)) {
        AppendArc(line.points, line.points.back(), point);
        continue;
      }
    }
    line.points.push_back(point);
  }
  paint.push_back(std::move(line));
}

namespace {

// The ways out of a point, one bit each: left, right, up, down.
unsigned WayTo(GridCell from, GridCell to) {
  if (to.X != from.X) return to.X < from.X ? 1u : 2u;
  return to.Y < from.Y ? 4u : 8u;
}

// The way a wire leaves its end `p`: towards its first point elsewhere.
unsigned EndWay(const std::vector<GridCell>& points, bool front) {
  const GridCell end = front ? points.front() : points.back();
  for (size_t k = 1; k < points.size(); ++k) {
    const GridCell next = front ? points[k] : points[points.size() - 1 - k];
    if (next != end) return WayTo(end, next);
  }
  return 0;
}

}  // namespace

void AppendJunctions(PaintList& paint, const SheetDrawing& drawing) {
  // A point is a junction where conductors leave it three ways or more, or
  // where terminals touch. Counting ways, not wires, keeps the two pieces of
  // a long wire, which overlap by a cell, from showing dots of their own.
  struct Meeting {
    SheetPoint at;
    unsigned ways = 0;
    int terminals = 0;
  };
  std::vector<Meeting> meetings;
  std::unordered_map<std::uint64_t, size_t> index;
  auto at = [&](SheetPoint p) -> Meeting& {
    const auto [it, fresh] = index.try_emplace(KeyOf(p), meetings.size());
    if (fresh) meetings.push_back({p});
    return meetings[it->second];
  };
  auto pointOf = [](GridCell c) { return SheetPoint{10 * c.X, 10 * c.Y}; };
  for (const SheetBranch& b : drawing.Branches()) {
    Meeting& start = at({b.X1, b.Y1});
    ++start.terminals;
    start.ways |= b.Vertical ? 8u : 2u;
    Meeting& end = at({b.X2, b.Y2});
    ++end.terminals;
    end.ways |= b.Vertical ? 4u : 1u;
  }
  for (const Connection& w : drawing.Connections()) {
    if (w.Points.empty()) continue;
    at(pointOf(w.Points.front())).ways |= EndWay(w.Points, true);
    at(pointOf(w.Points.back())).ways |= EndWay(w.Points, false);
  }
  // A wire running on through a point where something else meets adds both its ways.
  for (const Connection& w : drawing.Connections())
    for (size_t p = 1; p + 1 < w.Points.size(); ++p) {
      const GridCell c = w.Points[p];
      if (c == w.Points[p - 1]) continue;  // a bend's second copy
      const auto it = index.find(KeyOf(pointOf(c)));
      if (it == index.end()) continue;
      const GridCell after = w.Points[p + 1] == c && p + 2 < w.Points.size() ? w.Points[p + 2] : w.Points[p + 1];
      meetings[it->second].ways |= WayTo(c, w.Points[p - 1]) | WayTo(c, after);
    }
  for (const Meeting& m : meetings)
    if (std::popcount(m.ways) >= 3 || m.terminals >= 2) paint.emplace_back(std::in_place_type<DotOp>, DotOp{m.at});
}

PaintList RedrawSheet(const SheetDrawing& drawing) {
  PaintList paint{PictureOp{Picture::Background, {0, 0}}};
  for (const SheetBranch& branch : drawing.Branches()) AppendSheetBranch(paint, branch);
  for (const Connection& connection : drawing.Connections()) AppendConnection(paint, connection);
  AppendJunctions(paint, drawing);
  return paint;
}

SheetBox BranchBox(const SheetBranch& branch) {
  // A current source's bypass and its label lie further out on that side.
  const int bypass = HasBypass(branch.Values) ? 16 : 0;
  return {std::min(branch.X1, branch.X2) - (branch.Vertical ? 14 + bypass : 4),
          std::min(branch.Y1, branch.Y2) - (branch.Vertical ? 4 : 28),
          std::max(branch.X1, branch.X2) + (branch.Vertical ? 40 : 4),
          std::max(branch.Y1, branch.Y2) + (branch.Vertical ? 4 : 14 + bypass)};
}

std::optional<SheetBox> DrawingBox(const SheetDrawing& drawing, int margin) {
  std::optional<SheetBox> box;
  auto hold = [&](const SheetBox& b) {
    if (!box) box = b;
    box = SheetBox{std::min(box->left, b.left), std::min(box->top, b.top), std::max(box->right, b.right),
                   std::max(box->bottom, b.bottom)};
  };
  for (const SheetBranch& branch : drawing.Branches()) hold(BranchBox(branch));
  // A bridge rises 7 pixels off its wire.
  constexpr int kBridge = 7;
  for (const Connection& wire : drawing.Connections())
    for (const GridCell& c : wire.Points) hold({10 * c.X - kBridge, 10 * c.Y - kBridge, 10 * c.X, 10 * c.Y});
  if (!box) return std::nullopt;
  const SheetSize sheet = drawing.SheetPixels();
  return SheetBox{std::max(box->left - margin, 0), std::max(box->top - margin, 0),
                  std::min(box->right + margin, sheet.width - 1), std::min(box->bottom + margin, sheet.height - 1)};
}

PaintList BranchMark(const SheetBranch& branch) {
  PaintList paint;
  paint.emplace_back(LineOp{SheetPoint{branch.X1, branch.Y1}, SheetPoint{branch.X2, branch.Y2}});
  // The band of the branch with its pictures and labels.
  const SheetBox b = BranchBox(branch);
  paint.push_back(
      PolylineOp{{{b.left, b.top}, {b.right, b.top}, {b.right, b.bottom}, {b.left, b.bottom}, {b.left, b.top}}});
  return paint;
}

PaintList ConnectionMark(const Connection& connection) {
  PaintList paint;
  AppendConnection(paint, connection);
  return paint;
}

PaintList TerminalMark(const Terminal& terminal) {
  return {CircleOp{{terminal.X - 6, terminal.Y - 6}, {terminal.X + 6, terminal.Y + 6}},
          DotOp{{terminal.X, terminal.Y}}};
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
