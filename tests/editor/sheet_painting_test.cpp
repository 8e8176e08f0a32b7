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
// wires never share a pixel there; a dot stands only where three or more
// ends and terminals meet, or where two branches' terminals touch.
TEST(SheetPainting, CrossingsArcAndJunctionsGetDots) {
  SheetDrawing drawing;
  drawing.AppendBranch(MakeSheetBranch(100, 100, 1, 2, false, {1, 0, 0, 0, 0}));  // ends at (220, 100)
  drawing.AppendBranch(MakeSheetBranch(220, 100, 3, 4, true, {1, 0, 0, 0, 0}));   // touches it there
  drawing.AppendBranch(MakeSheetBranch(400, 100, 5, 6, false, {1, 0, 0, 0, 0}));
  drawing.AppendConnection({6, 1, {{10, 10}, {10, 9}, {10, 8}, {10, 8}, {11, 8}, {13, 8}, {14, 8}}});  // jumps (12, 8)
  drawing.AppendConnection({5, 1, {{10, 10}, {10, 11}, {10, 12}}});
  drawing.AppendConnection({5, 2, {{10, 10}, {9, 10}, {8, 10}}});
  std::vector<DotOp> dots;
  std::vector<PolylineOp> wires;
  for (const PaintOp& op : RedrawSheet(drawing)) {
    if (const auto* dot = std::get_if<DotOp>(&op)) dots.push_back(*dot);
    if (const auto* wire = std::get_if<PolylineOp>(&op)) wires.push_back(*wire);
  }
  // (100, 100): a terminal and three wire ends; (220, 100): two terminals.
  EXPECT_EQ(dots, (std::vector<DotOp>{DotOp{{100, 100}}, DotOp{{220, 100}}}));
  ASSERT_EQ(wires.size(), 3u);
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

}  // namespace
}  // namespace ohmara
