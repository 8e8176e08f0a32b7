#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "analysis/circuit_check.h"
#include "analysis/textbook_circuits.h"
#include "editor/bus_layout.h"
#include "editor/drawing_to_table.h"
#include "editor/editor_error.h"
#include "editor/scheme_file.h"
#include "editor/sheet_editor.h"
#include "editor/table_to_drawing.h"
#include "generator/random_circuit.h"
#include "model/branch_table_file.h"
#include "model/circuit.h"
#include "model/random_values.h"
#include "support/grid_circuit.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

// Column 0 of every row of the exported table.
std::vector<std::string> Names(const SheetDrawing& drawing) {
  const BranchFileReading reading = ParseBranchTableText(ExportDrawingTable(drawing).text);
  EXPECT_TRUE(reading.ok());
  return BranchNames(reading.table);
}

SheetDrawing Drawn(int branches, const std::vector<std::pair<Terminal, Terminal>>& wires = {}) {
  SheetDrawing drawing;
  for (int i = 0; i < branches; ++i) {
    const SheetBranch b =
        MakeSheetBranch(100 + 200 * i, 100 + 100 * (i % 2), 2 * i + 1, 2 * i + 2, false, {1, 0, 0, 0, 0});
    drawing.AppendBranch(b);
    drawing.BlockFootprint(b);
  }
  for (const auto& [a, b] : wires) JoinTerminals(drawing, a, b);
  return drawing;
}

TEST(DrawingToTable, WiresMakeOneNodeNumberedInOrderOfAppearance) {
  const SheetDrawing none = Drawn(2);
  EXPECT_EQ(Names(none), (std::vector<std::string>{"1->2", "3->4"}));

  const SheetDrawing base = Drawn(3);
  const auto& b = base.Branches();
  const SheetDrawing joined = Drawn(2, {{EndTerminal(b[0]), StartTerminal(b[1])}});
  EXPECT_EQ(Names(joined), (std::vector<std::string>{"1->2", "2->3"}));
  // Three wires round one node: the end of the first branch and the starts of
  // the other two.
  const SheetDrawing three = Drawn(3, {{EndTerminal(b[0]), StartTerminal(b[1])},
                                       {StartTerminal(b[1]), StartTerminal(b[2])},
                                       {StartTerminal(b[2]), EndTerminal(b[0])}});
  ASSERT_EQ(three.Connections().size(), 3u);
  EXPECT_EQ(Names(three), (std::vector<std::string>{"1->2", "2->3", "2->4"}));
  // The numbers are written at the terminals.
  const PaintList numbers = ExportDrawingTable(three).nodeNumbers;
  ASSERT_EQ(numbers.size(), 6u);
  EXPECT_EQ(numbers[5], PaintOp(TextOp{"4", {b[2].X2, b[2].Y2}, kSheetFontHeight}));
}

TEST(DrawingToTable, ValuesKeepTheirDigitsAndReadBackAsTheGridShowsThem) {
  SheetDrawing drawing;
  drawing.AppendBranch(MakeSheetBranch(100, 100, 1, 2, false, {10, 0.4, 2.2, 5, 0}));
  drawing.AppendBranch(MakeSheetBranch(100, 300, 3, 4, false, {10, 0, 0, 0, 0}));
  const std::string text = ExportDrawingTable(drawing).text;
  EXPECT_EQ(text.substr(0, text.find('\n', 2) + 1), "2\n1->2\t  10\t 0.4\t 2.2\t   5\t   0\t\n");
  ScratchDirectory directory;
  ASSERT_EQ(SaveDrawingTable(directory.Path() / kDrawingTableFile, text), SaveProblem::None);
  const BranchFileReading reading = ReadBranchTableFile(directory.Path() / kDrawingTableFile);
  ASSERT_TRUE(reading.ok());
  EXPECT_EQ(reading.table, (BranchTable{{"1->2", "10", "0.4", "2.2", "5", "0"}, {"3->4", "10", "", "", "", ""}}));
  EXPECT_EQ(SaveDrawingTable(directory.Path() / "missing" / kDrawingTableFile, text), SaveProblem::CannotWrite);
}

TEST(TableToDrawing, TriangleInOneRowWithItsLoopClosed) {
  SheetEditor editor;
  const TableDrawingOutcome outcome =
      editor.DrawTable({{"1->2", "10", "", "", "", ""}, {"2->3", "", "5", "", "", ""}, {"3->1", "", "", "2", "", ""}});
  const SheetDrawing& d = editor.Drawing();
  ASSERT_EQ(d.Branches().size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(std::pair(d.Branches()[i].X1, d.Branches()[i].Y1), std::pair(50 + 180 * i, 50));
  // Node 2 joins the second start to the first end; node 1 the third end to
  // the first start; node 3 the third start to the second end. A wire runs
  // from the partner found back to the terminal being joined.
  ASSERT_EQ(d.Connections().size(), 3u);
  const std::pair<GridCell, GridCell> ends[] = {{{17, 5}, {23, 5}}, {{5, 5}, {53, 5}}, {{35, 5}, {41, 5}}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(d.Connections()[i].Points.front(), ends[i].first);
    EXPECT_EQ(d.Connections()[i].Points.back(), ends[i].second);
  }
  EXPECT_EQ(editor.NextNode(), 4);
  EXPECT_EQ(outcome.routingGuardTrips, 0);
  EXPECT_EQ(outcome.paint.front(), PaintOp(PictureOp{Picture::Background, {0, 0}}));
  EXPECT_TRUE(std::holds_alternative<PolylineOp>(outcome.paint[1]));
  EXPECT_EQ(Names(d), (std::vector<std::string>{"1->2", "2->3", "3->1"}));
}

TEST(TableToDrawing, ABranchOfTwoNewNodesTakesAPlaceOfItsOwnAndAFullRowWraps) {
  const TableLayout layout = LayOutBranchTable({{"1->2", "1", "", "", "", ""},
                                                {"3->4", "1", "", "", "", ""},
                                                {"2->5", "1", "", "", "", ""},
                                                {"5->6", "1", "", "", "", ""},
                                                {"6->7", "1", "", "", "", ""},
                                                {"7->8", "1", "", "", "", ""},
                                                {"8->9", "1", "", "", "", ""},
                                                {"9->10", "1", "", "", "", ""}});
  std::vector<std::pair<int, int>> places;
  for (const SheetBranch& b : layout.drawing.Branches()) places.push_back({b.X1, b.Y1});
  EXPECT_EQ(places, (std::vector<std::pair<int, int>>{
                        {50, 50}, {230, 50}, {410, 50}, {590, 50}, {770, 50}, {950, 50}, {1130, 50}, {50, 150}}));
}

TEST(TableToDrawing, ACellThatIsNoNumberNamesItsRowAndColumnAndChangesNothing) {
  struct Case {
    BranchTable table;
    std::string message;
  };
  const Case cases[] = {
      {{{"1->2", "1", "", "", "", ""}, {"2->1", "", "x", "", "", ""}}, "Строка 2, столбец «L, мГн»: «x» — не число."},
      {{{"1-2", "1", "", "", "", ""}}, "Строка 1, столбец «Ветвь»: «1-2» — не ветвь вида a->b."},
      {{{"1->2", "1"}, {"2->1", "", "", "", "", "", "2", "3O"}}, "Строка 2, столбец «Угол J»: «3O» — не число."},
  };
  for (const Case& c : cases) {
    SheetEditor editor;
    editor.SelectTool(SheetTool::AddHorizontal);
    editor.PlaceBranch(*editor.Press(100, 100).placement, {1, 0, 0, 0, 0});
    try {
      editor.DrawTable(c.table);
      ADD_FAILURE() << "drawn";
    } catch (const EditorError& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
    EXPECT_EQ(editor.Drawing().Branches().size(), 1u);
    EXPECT_EQ(editor.NextNode(), 3);
  }
}

// Current sources, ideal or beside series elements, with their phases and
// either sign, and branches between the same two nodes: the table drawn and
// read back off the drawing is the table, in the extended form exactly when
// it needs it, and the drawing saved as a scheme loads back the same.
TEST(TableToDrawing, CurrentSourcesAndParallelBranchesSurviveDrawingAndSchemeFiles) {
  std::vector<std::pair<std::string, BranchTable>> tables = {
      {"classic", {{"1->2", "10", "", "", "12", "30"}, {"2->3", "5", "0.4"}, {"3->1", "", "", "220"}}},
      {"reversed sources beside a capacitor",
       {{"1->2", "", "", "47", "", "", "-0.25", "0"}, {"2->3", "2"}, {"3->1", "1", "", "", "-6", "-15"}}},
  };
  for (const Textbook& circuit : Circuits()) tables.push_back({circuit.what, TableOf(circuit)});
  for (const auto& [what, table] : tables) {
    SCOPED_TRACE(what);
    const SheetDrawing drawing = LayOutBranchTable(table).drawing;
    const BranchFileReading reading = ParseBranchTableText(ExportDrawingTable(drawing).text);
    ASSERT_TRUE(reading.ok());
    EXPECT_EQ(reading.table, table);
    EXPECT_EQ(reading.extended, UsesExtendedFeatures(table));

    const std::string scheme = SchemeFileText(drawing);
    EXPECT_EQ(scheme.substr(0, scheme.find('\n')).back() == 'J', UsesCurrentSource(table));
    const SheetDrawing loaded = ParseSchemeText(scheme, "scheme.txt");
    EXPECT_EQ(loaded.Branches(), drawing.Branches());
    EXPECT_EQ(loaded.Connections(), drawing.Connections());
    EXPECT_EQ(SchemeFileText(loaded), scheme);
  }
}

// Table, drawing, table, drawing, table: the second table is the first, and
// it passes the circuit test.
class DrawingTableRoundTrip : public ResultsFixture {};

TEST_F(DrawingTableRoundTrip, TableOfADrawnTableIsStableAndPassesTheTest) {
  const BranchTable start = {{"1->2", "10", "", "", "12", "30"},
                             {"2->3", "5", "0.4", "", "", ""},
                             {"3->1", "", "", "220", "", ""},
                             {"3->4", "7.5", "", "", "", ""},
                             {"4->1", "3", "", "", "-6", "0"}};
  const std::string first = ExportDrawingTable(LayOutBranchTable(start).drawing).text;
  const BranchFileReading reading = ParseBranchTableText(first);
  ASSERT_TRUE(reading.ok());
  EXPECT_EQ(ExportDrawingTable(LayOutBranchTable(reading.table).drawing).text, first);

  CircuitState state;
  MeshTexts window;
  MeshViews views = window.Views();
  const CircuitCheckOutcome outcome = RunCircuitCheck(state, reading.table, {"50", 0}, Results(), views);
  EXPECT_TRUE(outcome.passed);
  EXPECT_EQ(state.NodeCount, 4);
}

// Every jump of a wire passes over plain straight runs of other wires
// across its way - never a bend, an end, a band or a label - so that a
// crossing cannot be read as a junction; and no wire holds more points than
// a scheme file takes.
void ExpectCrossingsPlain(const SheetDrawing& drawing, const std::set<std::pair<int, int>>& labels) {
  struct Run {
    bool across = false, along = false, fixed = false;
  };
  std::map<std::pair<int, int>, Run> runs;
  for (const Connection& w : drawing.Connections()) {
    ASSERT_LE(w.Points.size(), static_cast<size_t>(kMaxWirePoints));
    for (size_t i = 0; i < w.Points.size(); ++i) {
      const GridCell c = w.Points[i];
      Run& run = runs[{c.X, c.Y}];
      const bool inner = i > 0 && i + 1 < w.Points.size() && w.Points[i - 1] != c && w.Points[i + 1] != c;
      if (inner && w.Points[i - 1].Y == c.Y && w.Points[i + 1].Y == c.Y) run.across = true;
      else if (inner && w.Points[i - 1].X == c.X && w.Points[i + 1].X == c.X) run.along = true;
      else run.fixed = true;
    }
  }
  std::set<std::pair<int, int>> bands;
  for (const SheetBranch& b : drawing.Branches())
    for (const GridCell& c : Footprint(b)) bands.insert({c.X, c.Y});
  for (const Connection& w : drawing.Connections())
    for (size_t i = 1; i < w.Points.size(); ++i) {
      const GridCell a = w.Points[i - 1], b = w.Points[i];
      ASSERT_TRUE(a.X == b.X || a.Y == b.Y) << a.X << " " << a.Y;
      const int dx = (b.X > a.X) - (b.X < a.X), dy = (b.Y > a.Y) - (b.Y < a.Y);
      for (GridCell c{a.X + dx, a.Y + dy}; c != b; c = {c.X + dx, c.Y + dy}) {
        const auto run = runs.find({c.X, c.Y});
        ASSERT_TRUE(run != runs.end()) << "a jump over nothing at " << c.X << " " << c.Y;
        EXPECT_FALSE(run->second.fixed || bands.contains({c.X, c.Y}) || labels.contains({c.X, c.Y}))
            << c.X << " " << c.Y;
        EXPECT_TRUE(dy != 0 ? run->second.across : run->second.along) << c.X << " " << c.Y;
      }
    }
}

// Every branch on the sheet, every node joined as the table joins it and
// drawn so, no wire through a band or a value label, crossings plain, and
// the scheme file keeps it all. `nodesApart`: what the layout says it left
// in pieces, which must be what the picture shows - nothing.
void ExpectDrawnWhole(const BranchTable& table, const SheetDrawing& drawing, const std::vector<int>& nodesApart) {
  const GridCell last = drawing.LastCell();
  std::set<std::pair<int, int>> bands, labels, terminals;
  for (const SheetBranch& b : drawing.Branches()) {
    for (const GridCell& c : Footprint(b)) {
      EXPECT_TRUE(c.X > 0 && c.Y > 0 && c.X < last.X && c.Y < last.Y) << b.X1 << " " << b.Y1;
      bands.insert({c.X, c.Y});
    }
    for (int along = 1; along < 12; ++along)
      for (int above = 2; above <= 3; ++above) labels.insert({b.X1 / 10 + along, b.Y1 / 10 - above});
    if (HasBypass(b.Values))
      for (int along = 7; along <= 10; ++along) labels.insert({b.X1 / 10 + along, b.Y1 / 10 + 2});
    // A wire leaves a terminal through the band's cells across it.
    for (int across = -1; across <= 1; ++across) {
      terminals.insert({b.X1 / 10, b.Y1 / 10 + across});
      terminals.insert({b.X2 / 10, b.Y2 / 10 + across});
    }
  }
  const SheetSize pixels = drawing.SheetPixels();
  EXPECT_GE(pixels.width, 10 * (last.X - 1));
  EXPECT_GE(pixels.height, 10 * (last.Y - 1));
  // Every point of a wire is occupied, so no later wire can pass through
  // where one ends; and nothing else is.
  std::set<std::pair<int, int>> drawn = bands;
  for (const Connection& w : drawing.Connections())
    for (const GridCell& c : w.Points) {
      EXPECT_FALSE(labels.contains({c.X, c.Y})) << c.X << " " << c.Y;
      EXPECT_TRUE(!bands.contains({c.X, c.Y}) || terminals.contains({c.X, c.Y})) << c.X << " " << c.Y;
      EXPECT_TRUE(drawing.Occupied().Contains(c)) << c.X << " " << c.Y;
      drawn.insert({c.X, c.Y});
    }
  for (const GridCell& c : drawing.Occupied().Cells()) EXPECT_TRUE(drawn.contains({c.X, c.Y})) << c.X << " " << c.Y;
  ExpectCrossingsPlain(drawing, labels);
  // The nodes the layout names apart are exactly those whose terminals
  // the picture shows in pieces - and there are none.
  std::map<int, std::set<int>> pieces;
  const std::vector<TerminalNumbers> picture = PictureNodes(drawing);
  for (size_t k = 0; k < picture.size(); ++k) {
    pieces[drawing.Branches()[k].From].insert(picture[k].start);
    pieces[drawing.Branches()[k].To].insert(picture[k].end);
  }
  std::vector<int> apart;
  for (const auto& [node, shown] : pieces)
    if (shown.size() > 1) apart.push_back(node);
  EXPECT_EQ(nodesApart, apart);
  EXPECT_EQ(nodesApart, std::vector<int>{});
  // Terminals are one node in the drawing exactly when they are in the
  // table, and the picture shows every join: no wire is missing.
  const std::vector<TerminalNumbers> numbers = NumberNodes(MergeNodes(drawing));
  ASSERT_EQ(picture, numbers);
  std::vector<int> tableNodes, drawnNodes;
  for (size_t i = 0; i < table.size(); ++i) {
    int from = 0, to = 0;
    ASSERT_TRUE(ParseBranchName(table[i][kNameColumn], from, to));
    tableNodes.insert(tableNodes.end(), {from, to});
    drawnNodes.insert(drawnNodes.end(), {numbers[i].start, numbers[i].end});
  }
  std::map<int, int> drawnAs, tableAs;
  for (size_t a = 0; a < tableNodes.size(); ++a) {
    ASSERT_EQ(drawnAs.try_emplace(tableNodes[a], drawnNodes[a]).first->second, drawnNodes[a]) << "terminal " << a;
    ASSERT_EQ(tableAs.try_emplace(drawnNodes[a], tableNodes[a]).first->second, tableNodes[a]) << "terminal " << a;
  }
  // The scheme file holds the same picture.
  const SheetDrawing reloaded = ParseSchemeText(SchemeFileText(drawing), "table.sch");
  EXPECT_EQ(PictureNodes(reloaded), picture);
  EXPECT_EQ(ExportDrawingTable(reloaded).text, ExportDrawingTable(drawing).text);
}

// Ladders, the generator's largest circuits, grids of every shape up to the
// largest the program solves, and a ring of 250 nodes with chords across it:
// every branch on the sheet, every node joined as the table joins it and
// drawn so, no wire through a band or a value label, and the scheme file
// keeps it all.
TEST_F(DrawingTableRoundTrip, EveryTableIsDrawnWholeOnTheSheetWithLabelsFree) {
  auto ladder = [](int rungs) {
    BranchTable table;
    for (int i = 1; i <= rungs; ++i) {
      table.push_back({std::to_string(2 * i - 1) + "->" + std::to_string(2 * i + 1), "1", "", "", "", ""});
      table.push_back({std::to_string(2 * i) + "->" + std::to_string(2 * i + 2), "2", "", "", "", ""});
      table.push_back({std::to_string(2 * i + 1) + "->" + std::to_string(2 * i + 2), "", "3", "", "5", "30"});
    }
    table.push_back({"1->2", "4", "", "", "", ""});
    return table;
  };
  std::vector<std::pair<std::string, BranchTable>> tables = {{"ladder of 16", ladder(5)},
                                                             {"ladder of 31", ladder(10)},
                                                             {"ring of 255 rows", RingWithChordsTable(255)},
                                                             {"ring of 1000 rows", RingWithChordsTable(1000)}};
  for (std::uint64_t seed = 1; seed <= 3; ++seed) {
    EngineRandomSource random(seed);
    tables.push_back({"generated " + std::to_string(seed), GenerateRandomCircuit(9, 19, random, Results()).Table});
  }
  const std::pair<int, int> grids[] = {{2, 2},   {3, 3},   {2, 9},   {9, 2},  {5, 6},  {6, 6},  {4, 16}, {8, 8},
                                       {10, 11}, {12, 12}, {15, 17}, {2, 18}, {2, 30}, {3, 40}, {7, 30}, {2, 120}};
  for (const auto& [rows, columns] : grids)
    tables.push_back({"grid " + std::to_string(rows) + "x" + std::to_string(columns), GridTable(rows, columns)});
  for (const auto& [what, table] : tables) {
    SCOPED_TRACE(what);
    const TableLayout layout = LayOutBranchTable(table);
    ExpectDrawnWhole(table, layout.drawing, layout.nodesApart);
  }
}

// The buses a table falls back on join any table whole: random tables
// with nodes used once, parallel branches, parts that do not touch, node
// numbers far apart and current sources on bypasses.
TEST(NodeBuses, AnyTableIsDrawnWhole) {
  std::mt19937 random(11);
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE(round);
    const int nodes = 2 + static_cast<int>(random() % 30);
    const int spread = round % 3 == 0 ? kMaxNode / nodes : 1;
    std::vector<BranchToDraw> branches(1 + random() % 80);
    BranchTable table;
    for (BranchToDraw& b : branches) {
      b.from = 1 + static_cast<int>(random() % nodes) * spread;
      do b.to = 1 + static_cast<int>(random() % nodes) * spread;
      while (b.to == b.from);
      b.values.R = 1 + random() % 9;
      b.values.J = random() % 4 == 0 ? 2 : 0;
      table.push_back({std::to_string(b.from) + "->" + std::to_string(b.to), "", "", "", "", ""});
    }
    ExpectDrawnWhole(table, DrawOnNodeBuses(branches), {});
  }
}

}  // namespace
}  // namespace ohmara
