// The editor as a student corrects a drawing: undo and redo through every
// kind of change, selection, moving and value edits, and the soundness of
// the drawing through random sequences of all of them.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <unordered_set>

#include "editor/drawing_to_table.h"
#include "editor/scheme_file.h"
#include "editor/sheet_editor.h"
#include "support/grid_circuit.h"

namespace ohmara {
namespace {

bool Add(SheetEditor& editor, bool vertical, int x, int y, const ElementValues& values = {10, 0, 0, 0, 0}) {
  editor.SelectTool(vertical ? SheetTool::AddVertical : SheetTool::AddHorizontal);
  const PressOutcome press = editor.Press(x, y);
  if (press.result != PressResult::NeedElementValues) return false;
  editor.PlaceBranch(*press.placement, values);
  return true;
}

PressResult Connect(SheetEditor& editor, int x1, int y1, int x2, int y2) {
  editor.SelectTool(SheetTool::Connect);
  if (editor.Press(x1, y1).result != PressResult::FirstTerminalPicked) return PressResult::Nothing;
  return editor.Press(x2, y2).result;
}

std::string Text(const SheetEditor& editor) { return SchemeFileText(editor.Drawing()); }

// Selects with a press in select mode (no tool).
void SelectAt(SheetEditor& editor, int x, int y) {
  while (editor.Cancel()) {
  }
  editor.Press(x, y);
}

TEST(SheetHistory, EveryKindOfChangeUndoesAndRedoesToTheSameFile) {
  SheetEditor editor;
  std::vector<std::string> steps{Text(editor)};
  auto step = [&](const char* what, bool changed) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(changed);
    steps.push_back(Text(editor));
    EXPECT_NE(steps.back(), steps[steps.size() - 2]);
    EXPECT_TRUE(editor.Modified());
  };
  step("place", Add(editor, false, 100, 100));
  step("place vertical", Add(editor, true, 400, 200));
  step("wire", Connect(editor, 215, 100, 400, 205) == PressResult::WireRouted);
  SelectAt(editor, 160, 100);
  step("move", editor.MoveSelection(0, 5) == EditResult::Done);
  step("values", editor.SetSelectedValues({0, 5, 0, 0, 0}) == EditResult::Done);
  step("table", editor.DrawTable({{"1->2", "1", "", "", "", ""}, {"2->1", "2", "", "", "", ""}}).paint.size() > 1);
  editor.SelectTool(SheetTool::DeleteBranch);
  step("delete", editor.Press(110, 50).result == PressResult::BranchDeleted);
  step("Del", !editor.Clear().empty());

  for (size_t i = steps.size() - 1; i > 0; --i) {
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(Text(editor), steps[i - 1]) << "undo to step " << i - 1;
  }
  EXPECT_FALSE(editor.Undo());
  EXPECT_FALSE(editor.Modified());
  for (size_t i = 1; i < steps.size(); ++i) {
    ASSERT_TRUE(editor.Redo());
    EXPECT_EQ(Text(editor), steps[i]) << "redo to step " << i;
  }
  EXPECT_FALSE(editor.Redo());
  // A new change forgets what redo would have brought back.
  editor.Undo();
  Add(editor, false, 100, 300);
  EXPECT_FALSE(editor.CanRedo());
}

TEST(SheetHistory, KeepsAtLeastAHundredSteps) {
  SheetEditor editor;
  for (int y = 30; y <= 580; y += 50)
    for (int x = 20; x <= 680; x += 150) Add(editor, false, x, y);
  const std::string drawn = Text(editor);
  SelectAt(editor, 80, 30);
  for (int i = 1; i <= 150; ++i) editor.SetSelectedValues({static_cast<double>(i), 0, 0, 0, 0});
  for (int i = 149; i >= 1; --i) {
    ASSERT_TRUE(editor.Undo());
    ASSERT_EQ(editor.Drawing().Branches()[0].Values.R, i);
  }
  editor.Undo();
  EXPECT_EQ(Text(editor), drawn);
}

TEST(SheetHistory, SavingAndLoadingMarkTheDrawingUnchanged) {
  SheetEditor editor;
  EXPECT_FALSE(editor.Modified());
  editor.Clear();  // nothing to clear: nothing changed
  EXPECT_FALSE(editor.Modified());
  Add(editor, false, 100, 100);
  EXPECT_TRUE(editor.Modified());
  const auto path = std::filesystem::temp_directory_path() / "ohmara-history-test.sch";
  editor.SaveScheme(path);
  EXPECT_FALSE(editor.Modified());
  Add(editor, false, 100, 300);
  EXPECT_TRUE(editor.Modified());
  editor.Undo();
  EXPECT_FALSE(editor.Modified());
  editor.Undo();
  EXPECT_TRUE(editor.Modified());
  editor.LoadScheme(path);
  EXPECT_FALSE(editor.Modified());
  EXPECT_TRUE(editor.CanUndo());  // the load itself can be undone
  std::filesystem::remove(path);
}

TEST(SheetHistory, APendingPickDiesWithTheDrawingItWasMadeOn) {
  struct Case {
    const char* what;
    std::function<void(SheetEditor&)> change;
  };
  const Case cases[] = {
      {"Del", [](SheetEditor& e) { e.Clear(); }},
      {"undo", [](SheetEditor& e) { e.Undo(); }},
      {"table",
       [](SheetEditor& e) {
         e.DrawTable({{"1->2", "1", "", "", "", ""}});
       }},
      {"Esc", [](SheetEditor& e) { e.Cancel(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SheetEditor editor;
    Add(editor, false, 100, 100);
    editor.SelectTool(SheetTool::Connect);
    ASSERT_EQ(editor.Press(105, 100).result, PressResult::FirstTerminalPicked);
    c.change(editor);
    EXPECT_FALSE(editor.FirstTerminal());
    EXPECT_EQ(editor.Mode(), SheetMode::PickFirstTerminal);
    // The next press is a first pick again, never the end of a wire.
    Add(editor, false, 100, 300);
    editor.SelectTool(SheetTool::Connect);
    EXPECT_EQ(editor.Press(105, 300).result, PressResult::FirstTerminalPicked);
  }
}

TEST(SheetEditing, PlacingIsRefusedOnAnotherElementOrOffTheSheetButTerminalsMayMeet) {
  SheetEditor editor;
  ASSERT_TRUE(Add(editor, false, 100, 100));
  ASSERT_TRUE(Add(editor, true, 400, 100));
  ASSERT_EQ(Connect(editor, 215, 100, 400, 105), PressResult::WireRouted);
  struct Case {
    int x, y;
    bool vertical;
    PressResult result;
  };
  const Case cases[] = {
      {100, 100, false, PressResult::PlacementOverlaps},  // exactly over
      {150, 100, true, PressResult::PlacementOverlaps},   // across its middle
      {100, 110, false, PressResult::PlacementOverlaps},  // one cell below, bands on lines
      {280, 40, true, PressResult::PlacementOverlaps},    // across the wire
      {0, 300, false, PressResult::PlacementOffSheet},    // a terminal on the edge
      {780, 300, false, PressResult::PlacementOffSheet},  // the end beyond the sheet
      {300, 560, true, PressResult::PlacementOffSheet},
      {220, 100, true, PressResult::NeedElementValues},  // a corner at the end terminal
      {-20, 100, false, PressResult::PlacementOffSheet},
      {100, 130, false, PressResult::NeedElementValues},  // bands side by side
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << (c.vertical ? " vertical" : " horizontal"));
    editor.SelectTool(c.vertical ? SheetTool::AddVertical : SheetTool::AddHorizontal);
    EXPECT_EQ(editor.Press(c.x, c.y).result, c.result);
  }
}

TEST(SheetEditing, TouchingTerminalsAreOneNodeAndNeedNoWire) {
  SheetEditor editor;
  ASSERT_TRUE(Add(editor, false, 100, 100));                                    // 1->2
  ASSERT_TRUE(Add(editor, true, 220, 100));                                     // 3->4, starting on 2
  ASSERT_TRUE(Add(editor, false, 220, 220));                                    // 5->6, starting on 4
  EXPECT_EQ(Connect(editor, 215, 100, 225, 105), PressResult::TerminalsTouch);  // the corner: one point
  EXPECT_EQ(Connect(editor, 110, 100, 335, 220), PressResult::WireRouted);
  const DrawingTable table = ExportDrawingTable(editor.Drawing());
  EXPECT_EQ(table.text.substr(0, table.text.find('\t')), "3\n1->2");
  EXPECT_NE(table.text.find("\n2->3\t"), std::string::npos) << table.text;
  EXPECT_NE(table.text.find("\n3->1\t"), std::string::npos) << table.text;
}

TEST(SheetEditing, MovingReroutesTheBranchsWiresOrChangesNothing) {
  SheetEditor editor;
  ASSERT_TRUE(Add(editor, false, 100, 100));
  ASSERT_TRUE(Add(editor, false, 400, 300));
  ASSERT_TRUE(Add(editor, false, 100, 400));
  ASSERT_EQ(Connect(editor, 215, 100, 405, 300), PressResult::WireRouted);
  SelectAt(editor, 460, 300);
  ASSERT_EQ(editor.Selection(), (SheetSelection{SheetSelection::Kind::Branch, 1}));

  ASSERT_EQ(editor.MoveSelection(-2, 10), EditResult::Done);
  const SheetBranch& moved = editor.Drawing().Branches()[1];
  EXPECT_EQ(std::pair(moved.X1, moved.Y1), std::pair(380, 400));
  ASSERT_EQ(editor.Drawing().Connections().size(), 1u);
  const Connection& wire = editor.Drawing().Connections()[0];
  EXPECT_EQ(wire.Points.front(), (GridCell{38, 40}));  // the second pick, where it is now
  EXPECT_EQ(wire.Points.back(), (GridCell{22, 10}));
  EXPECT_EQ(std::pair(wire.From, wire.To), std::pair(2, 3));

  const std::string before = Text(editor);
  EXPECT_EQ(editor.MoveSelection(-28, 0), EditResult::Overlaps);  // onto the third branch
  EXPECT_EQ(editor.MoveSelection(0, 30), EditResult::OffSheet);
  EXPECT_EQ(Text(editor), before);
  editor.Undo();
  EXPECT_EQ(editor.Drawing().Branches()[1].X1, 400);
  EXPECT_EQ(editor.Drawing().Connections()[0].Points.front(), (GridCell{40, 30}));
}

TEST(SheetEditing, DeletingATableDrawnBranchKeepsTheWiresOfTheOthers) {
  SheetEditor editor;
  editor.DrawTable({{"1->2", "1", "", "", "", ""}, {"2->3", "2", "", "", "", ""}, {"3->1", "3", "", "", "", ""}});
  ASSERT_EQ(editor.Drawing().Connections().size(), 3u);
  // The middle branch: the wire 1->1 joining the first and the third stays.
  editor.SelectTool(SheetTool::DeleteBranch);
  ASSERT_EQ(editor.Press(290, 50).result, PressResult::BranchDeleted);
  ASSERT_EQ(editor.Drawing().Connections().size(), 1u);
  const Connection& kept = editor.Drawing().Connections()[0];
  EXPECT_EQ(std::pair(kept.From, kept.To), std::pair(1, 1));

  // On node buses too: any branch of a long grid goes with its own two
  // wires, and every node keeps its other terminals joined.
  editor.DrawTable(GridTable(2, 18));
  const SheetDrawing drawn = editor.Drawing();
  for (int k = 0; k < static_cast<int>(drawn.Branches().size()); ++k) {
    SheetDrawing left = drawn;
    left.RemoveBranch(k);
    EXPECT_EQ(left.Connections().size() + 2, drawn.Connections().size()) << k;
    std::set<int> nodes;
    for (const TerminalNumbers& t : PictureNodes(left)) nodes.insert({t.start, t.end});
    EXPECT_EQ(nodes.size(), 36u) << k;
  }
}

// Every point of every wire is occupied, and every occupied cell is a wire
// point or lies in a band; the picture joins what the table joins; the
// table the drawing gives survives save and load.
void ExpectSound(const SheetDrawing& drawing) {
  std::unordered_set<std::uint64_t> drawn;
  auto key = [](GridCell c) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(c.X)) << 32) | static_cast<std::uint32_t>(c.Y);
  };
  for (const SheetBranch& b : drawing.Branches())
    for (const GridCell& c : Footprint(b)) drawn.insert(key(c));
  for (const Connection& w : drawing.Connections())
    for (const GridCell& c : w.Points) {
      drawn.insert(key(c));
      ASSERT_TRUE(drawing.Occupied().Contains(c)) << c.X << " " << c.Y;
    }
  for (const GridCell& c : drawing.Occupied().Cells()) ASSERT_TRUE(drawn.contains(key(c))) << c.X << " " << c.Y;
  // The picture joins terminals exactly where the table does.
  ASSERT_EQ(PictureNodes(drawing), NumberNodes(MergeNodes(drawing)));
  const SheetDrawing reloaded = ParseSchemeText(SchemeFileText(drawing), "s");
  ASSERT_EQ(ExportDrawingTable(reloaded).text, ExportDrawingTable(drawing).text);
  ASSERT_EQ(SchemeFileText(reloaded), SchemeFileText(drawing));
}

TEST(SheetEditing, RandomEditsKeepPictureCellsAndTableInAgreement) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    SheetEditor editor;
    auto point = [&] { return std::pair(static_cast<int>(random() % 840), static_cast<int>(random() % 600)); };
    for (int move = 0; move < 120; ++move) {
      const auto [x, y] = point();
      switch (random() % 10) {
        case 0:
        case 1:
          Add(editor, random() % 2 == 1, x, y, {static_cast<double>(random() % 50), 0, 0, 0, 0});
          break;
        case 2:
        case 3: {
          // Terminals of random branches, picked within the third next to them.
          const auto& branches = editor.Drawing().Branches();
          if (branches.empty()) break;
          const SheetBranch& a = branches[random() % branches.size()];
          const SheetBranch& b = branches[random() % branches.size()];
          const int ax = a.Vertical ? a.X1 : a.X1 + 5, ay = a.Vertical ? a.Y1 + 5 : a.Y1;
          const int bx = b.Vertical ? b.X2 : b.X2 - 5, by = b.Vertical ? b.Y2 - 5 : b.Y2;
          Connect(editor, ax, ay, bx, by);
          break;
        }
        case 4:
          SelectAt(editor, x, y);
          editor.DeleteSelection();
          break;
        case 5:
          SelectAt(editor, x, y);
          editor.MoveSelection(static_cast<int>(random() % 9) - 4, static_cast<int>(random() % 9) - 4);
          break;
        case 6:
          editor.Undo();
          break;
        case 7:
          editor.Redo();
          break;
        case 8:
          editor.SelectTool(SheetTool::DeleteBranch);
          editor.Press(x, y);
          break;
        case 9:
          // Terminals of one node share its number: deleting a wire or a
          // branch here must not leave the table joining them unseen. A long
          // grid is drawn on node buses, whose wires end on one another.
          if (random() % 2 == 1) {
            editor.DrawTable(GridTable(2, 18));
            break;
          }
          editor.DrawTable({{"1->2", "1", "", "", "", ""},
                            {"2->3", "2", "", "", "", ""},
                            {"3->1", "3", "", "", "", ""},
                            {"3->4", "4", "", "", "", ""},
                            {"4->1", "5", "", "", "", ""},
                            {"2->4", "6", "", "", "", ""}});
          break;
      }
      ASSERT_NO_FATAL_FAILURE(ExpectSound(editor.Drawing())) << "after move " << move;
    }
  }
}

}  // namespace
}  // namespace ohmara
