#include "editor/sheet_painting.h"

#include <gtest/gtest.h>

namespace ohmara {
namespace {

// The pictures and labels of one branch, after its line and terminal marks.
PaintList Elements(const SheetBranch& branch) {
  PaintList paint;
  AppendSheetBranch(paint, branch);
  return PaintList(paint.begin() + 3, paint.end());
}

PictureOp Pic(Picture p, int x, int y) { return {p, {x, y}}; }
TextOp Label(const char* text, int x, int y) { return {text, {x, y}, 5}; }

TEST(SheetPainting, BranchLineAndTerminalMarksComeFirst) {
  PaintList paint;
  AppendSheetBranch(paint, MakeSheetBranch(100, 200, 1, 2, true, {}));
  ASSERT_GE(paint.size(), 3u);
  EXPECT_EQ(paint[0], PaintOp(LineOp{{100, 200}, {100, 320}}));
  EXPECT_EQ(paint[1], PaintOp(CircleOp{{98, 198}, {102, 202}}));
  EXPECT_EQ(paint[2], PaintOp(CircleOp{{98, 318}, {102, 322}}));
}

TEST(SheetPainting, ElementsAtTheirOffsetsFromTheStartTerminal) {
  struct Case {
    const char* what;
    bool vertical;
    ElementValues values;
    PaintList expected;
  };
  using P = Picture;
  const Case cases[] = {
      {"a resistor alone", false, {10, 0, 0, 0, 0}, {Pic(P::ResistorHorizontal, 157, 192), Label("10", 157, 175)}},
      {"nothing at all: a capacitor labelled 0",
       false,
       {},
       {Pic(P::CapacitorHorizontal, 155, 190), Label("0", 155, 175)}},
      {"a capacitor alone stands in the middle",
       true,
       {0, 0, 2.2, 0, 0},
       {Pic(P::CapacitorVertical, 90, 255), Label("2", 111, 255)}},
      {"a capacitor beside a resistor stands first, order R C L E",
       false,
       {47, 3, 2.2, 10, 30},
       {Pic(P::ResistorHorizontal, 157, 192), Label("47", 157, 175), Pic(P::CapacitorHorizontal, 110, 190),
        Label("2", 108, 175), Pic(P::InductorHorizontal, 125, 193), Label("3", 125, 175),
        Pic(P::SourceHorizontal, 189, 190), Label("10,30", 189, 175)}},
      {"a reversed source shows its magnitude",
       true,
       {0, 0, 0, -5, 90},
       {Pic(P::SourceVerticalReversed, 90, 289), Label("5,90", 111, 289)}},
      {"vertical R, C and L",
       true,
       {1, 2, 3, 0, 0},
       {Pic(P::ResistorVertical, 92, 257), Label("1", 111, 257), Pic(P::CapacitorVertical, 90, 210),
        Label("3", 111, 208), Pic(P::InductorVertical, 100, 225), Label("2", 111, 225)}},
      {"a horizontal reversed source",
       false,
       {0, 0, 0, -10, 30},
       {Pic(P::SourceHorizontalReversed, 189, 190), Label("10,30", 189, 175)}},
      {"a vertical source", true, {0, 0, 0, 7, 0}, {Pic(P::SourceVertical, 90, 289), Label("7,0", 111, 289)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Elements(MakeSheetBranch(100, 200, 1, 2, c.vertical, c.values)), c.expected);
  }
}

TEST(SheetPainting, RedrawIsBackgroundBranchesThenWires) {
  SheetDrawing drawing;
  drawing.AppendConnection({1, 2, {{4, 5}, {5, 5}, {6, 5}}});
  drawing.AppendBranch(MakeSheetBranch(100, 200, 1, 2, false, {10, 0, 0, 0, 0}));
  const PaintList paint = RedrawSheet(drawing);
  ASSERT_EQ(paint.size(), 1u + 5u + 1u);
  EXPECT_EQ(paint.front(), PaintOp(Pic(Picture::Background, 0, 0)));
  EXPECT_EQ(paint.back(), PaintOp(PolylineOp{{{40, 50}, {50, 50}, {60, 50}}}));
  EXPECT_EQ(PictureFile(Picture::SourceHorizontal), "Pictures/Ehr.bmp");
  EXPECT_EQ(PictureFile(Picture::SourceVerticalReversed), "Pictures/Ev.bmp");
}

// A jump over another wire arcs away from the crossed point, so the two
// wires never share a pixel there; a dot stands only where wires and
// terminals leave a point three ways or more, or where two branches'
// terminals touch - not where the two pieces of a long wire overlap.
TEST(SheetPainting, CrossingsArcAndJunctionsGetDots) {
  SheetDrawing drawing;
  drawing.AppendBranch(MakeSheetBranch(100, 100, 1, 2, false, {1, 0, 0, 0, 0}));  // ends at (220, 100)
  drawing.AppendBranch(MakeSheetBranch(220, 100, 3, 4, true, {1, 0, 0, 0, 0}));   // touches it there
  drawing.AppendBranch(MakeSheetBranch(400, 100, 5, 6, false, {1, 0, 0, 0, 0}));
  drawing.AppendConnection({6, 1, {{10, 10}, {10, 9}, {10, 8}, {10, 8}, {11, 8}, {13, 8}, {14, 8}}});  // jumps (12, 8)
  drawing.AppendConnection({5, 1, {{10, 10}, {10, 11}, {10, 12}}});
  drawing.AppendConnection({5, 2, {{10, 10}, {9, 10}, {8, 10}}});
  drawing.AppendConnection({7, 7, {{30, 20}, {31, 20}, {32, 20}, {33, 20}, {34, 20}, {35, 20}, {36, 20}}});
  drawing.AppendConnection({7, 7, {{35, 20}, {36, 20}, {37, 20}, {38, 20}}});
  drawing.AppendConnection({7, 7, {{33, 18}, {33, 19}, {33, 20}}});
  std::vector<DotOp> dots;
  std::vector<PolylineOp> wires;
  for (const PaintOp& op : RedrawSheet(drawing)) {
    if (const auto* dot = std::get_if<DotOp>(&op)) dots.push_back(*dot);
    if (const auto* wire = std::get_if<PolylineOp>(&op)) wires.push_back(*wire);
  }
  // (100, 100): a terminal and three wire ends; (220, 100): two terminals;
  // (330, 200): a wire ending on the first piece of a long one.
  EXPECT_EQ(dots, (std::vector<DotOp>{DotOp{{100, 100}}, DotOp{{220, 100}}, DotOp{{330, 200}}}));
  ASSERT_EQ(wires.size(), 6u);
  const std::vector<SheetPoint>& jumping = wires[0].points;
  EXPECT_EQ(jumping.back(), (SheetPoint{140, 80}));
  bool over = false, through = false;
  for (const SheetPoint& p : jumping) {
    over = over || (p.x > 110 && p.x < 130 && p.y < 80);
    through = through || p == SheetPoint{120, 80};
  }
  EXPECT_TRUE(over);
  EXPECT_FALSE(through);
}

// The current source: a circle whose arrowheads point the way J drives
// (From -> To for J > 0, which is the start terminal to the end one), on the
// branch line when J is all there is, else on a bypass beside the series
// elements, away from their labels; its label gives J and its angle.
TEST(SheetPainting, CurrentSourcePointsTheWayJDrivesAndStandsBesideSeriesElements) {
  struct Case {
    const char* what;
    bool vertical;
    ElementValues values;
    int direction;  // +1: towards the end terminal
    int pictures;   // element pictures beside it
    const char* label;
  };
  const Case cases[] = {
      {"an ideal source alone, no capacitor drawn", false, {0, 0, 0, 0, 0, 2, 30}, 1, 0, "J=2,30"},
      {"an ideal source reversed, vertical", true, {0, 0, 0, 0, 0, -0.5, -90}, -1, 0, "J=0.5,-90"},
      {"beside R and L", false, {4, 15, 0, 0, 0, 1.5, 60}, 1, 2, "J=1.5,60"},
      {"beside a reversed EMF, vertical and reversed", true, {3, 0, 0, -10, 0, -2, 0}, -1, 2, "J=2,0"},
      {"beside a lone capacitor", false, {0, 0, 4.7, 0, 0, 1, 0}, 1, 1, "J=1,0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SheetBranch branch = MakeSheetBranch(100, 200, 1, 2, c.vertical, c.values);
    const bool bypass = c.pictures > 0;
    // Along the branch from the start terminal, and across it towards the
    // side the bypass takes (below a horizontal branch, left of a vertical one).
    auto along = [&](SheetPoint p) { return c.vertical ? p.y - branch.Y1 : p.x - branch.X1; };
    auto across = [&](SheetPoint p) { return c.vertical ? branch.X1 - p.x : p.y - branch.Y1; };
    int pictures = 0, arrowLines = 0, circles = 0, bypasses = 0, bypassAcross = 0;
    std::vector<std::string> labels;
    for (const PaintOp& op : Elements(branch)) {
      if (std::holds_alternative<PictureOp>(op)) ++pictures;
      if (const auto* text = std::get_if<TextOp>(&op)) labels.push_back(text->text);
      if (const auto* circle = std::get_if<CircleOp>(&op)) {
        ++circles;
        const SheetPoint centre{(circle->topLeft.x + circle->bottomRight.x) / 2,
                                (circle->topLeft.y + circle->bottomRight.y) / 2};
        // On the line, or on the bypass drawn before it.
        EXPECT_EQ(across(centre), bypassAcross);
      }
      if (const auto* line = std::get_if<LineOp>(&op)) {
        ++arrowLines;
        const int way = along(line->to) - along(line->from);
        EXPECT_EQ(way > 0 ? 1 : -1, c.direction) << line->from.x << "," << line->from.y;
        EXPECT_NE(across(line->to), across(line->from));
      }
      if (const auto* polyline = std::get_if<PolylineOp>(&op)) {
        ++bypasses;
        ASSERT_EQ(polyline->points.size(), 4u);
        // From beside the start terminal, out past every picture, back beside the end terminal.
        EXPECT_EQ(across(polyline->points.front()), 0);
        EXPECT_EQ(across(polyline->points.back()), 0);
        bypassAcross = across(polyline->points[1]);
        EXPECT_EQ(across(polyline->points[2]), bypassAcross);
        EXPECT_GT(bypassAcross, 10);
        EXPECT_LT(bypassAcross, 20);  // the nearest wire runs 20 pixels off
        EXPECT_LT(along(polyline->points.front()), 10);
        EXPECT_GT(along(polyline->points.back()), kSheetBranchLength - 10);
      }
    }
    EXPECT_EQ(circles, 1);
    EXPECT_EQ(arrowLines, 4);  // a double arrowhead
    EXPECT_EQ(bypasses, bypass ? 1 : 0);
    EXPECT_EQ(pictures, c.pictures);
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.back(), c.label);
  }
}

}  // namespace
}  // namespace ohmara
