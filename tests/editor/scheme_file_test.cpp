#include "editor/scheme_file.h"

#include <gtest/gtest.h>

#include <set>

#include "editor/editor_error.h"
#include "editor/sheet_editor.h"
#include "support/scratch_directory.h"

namespace ohmara {
namespace {

SheetDrawing OneBranchOneWire(const ElementValues& values) {
  SheetDrawing drawing;
  drawing.AppendBranch(MakeSheetBranch(100, 200, 1, 2, false, values));
  drawing.AppendConnection({2, 3, {{4, 5}, {5, 5}, {6, 5}}});
  drawing.Occupied().Insert({5, 5});
  return drawing;
}

TEST(SchemeFile, LayoutOfEachSection) {
  EXPECT_EQ(SchemeFileText(SheetDrawing()), "0\n\n0\n\n0\n\n");
  EXPECT_EQ(SchemeFileText(OneBranchOneWire({10, 0, 0, 0, 0})),
            "1\n1\t2\t100\t200\t0\t  10\t   0\t   0\t   0\t   0\t\n"
            "\n1\n2\t3\n3\n4 5 5 5 6 5 \n"
            "\n1\n5 5 \n");
  // A value that is not whole is written exactly, in the same field width.
  const std::string exact = SchemeFileText(OneBranchOneWire({2.4, 0.4, -1e-7, -12345678, 0.1}));
  EXPECT_EQ(exact.substr(0, exact.find("\n\n") + 1), "1\n1\t2\t100\t200\t0\t 2.4\t 0.4\t-1e-07\t-12345678\t 0.1\t\n");

  ScratchDirectory directory;
  SaveSchemeFile(directory.Path() / "s.sch", SheetDrawing());
  EXPECT_EQ(directory.Bytes("s.sch"), "0\r\n\r\n0\r\n\r\n0\r\n\r\n");
}

TEST(SchemeFile, ValuesReadBackExactlyAndFootprintsAreBlockedWhatEverTheCellSection) {
  const ElementValues values{2.4, 0.4, 1.0 / 3.0, -5, 30.25};
  SheetDrawing drawing;
  drawing.AppendBranch(MakeSheetBranch(100, 200, 1, 2, false, values));
  drawing.AppendBranch(MakeSheetBranch(400, 200, 3, 4, false, values));
  drawing.AppendConnection({2, 3, {{40, 20}, {31, 20}, {22, 20}}});
  drawing.Occupied().Insert({31, 20});
  const SheetDrawing loaded = ParseSchemeText(SchemeFileText(drawing), "s");
  EXPECT_EQ(loaded.Branches()[0], MakeSheetBranch(100, 200, 1, 2, false, values));
  EXPECT_EQ(loaded.Connections(), drawing.Connections());
  EXPECT_EQ(loaded.Occupied().Count(), 79);  // 39 of each band and (31, 20)
}

// A drawing made with the mouse, saved, loaded and saved again: the same
// bytes up to the cell section, and the same cells there.
TEST(SchemeFile, SaveLoadSaveKeepsTheDrawing) {
  SheetEditor editor;
  for (auto [x, y, vertical] : {std::tuple(100, 100, false), std::tuple(300, 100, false), std::tuple(500, 60, true)}) {
    editor.SelectTool(vertical ? SheetTool::AddVertical : SheetTool::AddHorizontal);
    editor.PlaceBranch(*editor.Press(x, y).placement, {10, 0.4, 0, -5, 30});
  }
  editor.SelectTool(SheetTool::Connect);
  for (auto [x, y] : {std::pair(215, 100), std::pair(305, 100), std::pair(415, 100), std::pair(500, 175)})
    editor.Press(x, y);
  ASSERT_EQ(editor.Drawing().Connections().size(), 2u);

  ScratchDirectory directory;
  editor.SaveScheme(directory.Path() / "a.sch");
  SheetEditor other;
  other.LoadScheme(directory.Path() / "a.sch");
  other.SaveScheme(directory.Path() / "b.sch");
  const std::string a = directory.Text("a.sch"), b = directory.Text("b.sch");
  const size_t cells = a.rfind("\n\n");
  EXPECT_EQ(a.substr(0, cells), b.substr(0, cells));
  auto cellSet = [](const OccupiedCells& o) {
    std::set<std::pair<int, int>> s;
    for (const GridCell& c : o.Cells()) s.insert({c.X, c.Y});
    return s;
  };
  EXPECT_EQ(cellSet(other.Drawing().Occupied()), cellSet(editor.Drawing().Occupied()));
  EXPECT_EQ(other.NextNode(), 7);
}

TEST(SchemeFile, NextNodeAfterLoadingExceedsEveryNodeOnTheSheet) {
  ScratchDirectory directory;
  ASSERT_TRUE(WriteTextFile(directory.Path() / "t.sch",
                            "2\n7\t8\t100\t100\t0\t1\t0\t0\t0\t0\t\n1\t2\t300\t100\t0\t1\t0\t0\t0\t0\t\n\n0\n\n0\n\n"));
  SheetEditor editor;
  editor.LoadScheme(directory.Path() / "t.sch");
  EXPECT_EQ(editor.NextNode(), 9);
}

TEST(SchemeFile, AnUnsoundFileNamesFileAndLineAndChangesNothing) {
  struct Case {
    const char* what;
    std::string text;  // empty: no such file
    std::string message;
  };
  const std::string branch = "1\t2\t100\t200\t0\t  10\t   0\t   0\t   0\t   0\t\n";
  std::string longWire = "0\n\n1\n1\t2\n301\n";
  for (int i = 0; i < 301; ++i) longWire += "1 1 ";
  const Case cases[] = {
      {"no such file", "", "Не удалось открыть файл «"},
      {"ends early", "1\n1\t2\t100\t200\t0\t10\n", "», строка 2: файл кончается раньше"},
      {"ends before the cells", "1\n" + branch + "\n0\n\n3\n1 1 2 2 \n", "», строка 7: файл кончается раньше"},
      {"text for a number", "1\n" + branch + "\nx\n", "», строка 4: вместо целого числа стоит «x»"},
      {"text for a value", "1\n1\t2\t100\t200\t0\t10\t0\t1O\t0\t0\t\n", "», строка 2: вместо числа стоит «1O»"},
      {"a wire of 301 points", longWire, "», строка 5: число 301 вне допустимых пределов 2..300"},
      {"a wire of no point", "0\n\n1\n1\t2\n0\n\n0\n\n", "», строка 5: число 0 вне допустимых пределов 2..300"},
      {"a node beyond a million", "1\n1\t1000001\t100\t200\t0\t10\t0\t0\t0\t0\t\n",
       "», строка 2: число 1000001 вне допустимых пределов 1..1000000"},
      {"a node of a wire below 1", "0\n\n1\n-2147483648\t2\n", "», строка 4: число -2147483648 вне"},
      {"a wire ending on nothing", "1\n" + branch + "\n1\n2\t3\n2\n10 20 30 30 \n\n0\n\n",
       "», строка 5: провод не начинается или не кончается на выводе ветви или другом проводе"},
      {"an orientation of 2", "1\n1\t2\t100\t200\t2\t10\t0\t0\t0\t0\t\n", "», строка 2: число 2 вне"},
      {"a current-source marker with branch lines of five values", "1J\n" + branch + "\n0\n\n0\n",
       "», строка 6: файл кончается раньше"},
      {"a marker without a count", "J\n", "», строка 1: вместо целого числа стоит «J»"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDirectory directory;
    const auto path = directory.Path() / "bad.sch";
    if (!c.text.empty()) {
      ASSERT_TRUE(WriteTextFile(path, c.text));
    }
    SheetEditor editor;
    editor.SelectTool(SheetTool::AddHorizontal);
    editor.PlaceBranch(*editor.Press(100, 100).placement, {1, 0, 0, 0, 0});
    const std::string before = SchemeFileText(editor.Drawing());
    try {
      editor.LoadScheme(path);
      ADD_FAILURE() << "loaded";
    } catch (const EditorError& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find(path.string()), std::string::npos) << message;
      EXPECT_NE(message.find(c.message), std::string::npos) << message;
    }
    EXPECT_EQ(SchemeFileText(editor.Drawing()), before);
    EXPECT_EQ(editor.NextNode(), 3);
  }
}

TEST(SchemeFile, AFailedSaveSaysSoAndKeepsTheOldFile) {
  ScratchDirectory directory;
  EXPECT_EQ(SaveSchemeFile(directory.Path() / "missing" / "s.sch", SheetDrawing()), SaveProblem::CannotWrite);
  const auto path = directory.Path() / "s.sch";
  ASSERT_TRUE(WriteTextFile(path, "old"));
  std::filesystem::permissions(directory.Path(),
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (!WriteTextFile(directory.Path() / "probe", "x")) {  // not when running as root
    EXPECT_EQ(SaveSchemeFile(path, SheetDrawing()), SaveProblem::NotPermitted);
    EXPECT_EQ(directory.Text("s.sch"), "old");
  }
  std::filesystem::permissions(directory.Path(), std::filesystem::perms::owner_all);
}

}  // namespace
}  // namespace ohmara
