#include "printing/printed_report.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "model/text_format.h"
#include "printing/overlap_check.h"
#include "support/recording_canvas.h"

namespace ohmara {
namespace {

const Font kHeading{"Times New Roman", 10};
const Font kMemo{"Times New Roman", 8};
const Font kCell{"Arial", 7};

GridCells Grid(const std::vector<std::vector<std::string>>& rows) {
  GridCells grid;
  grid.rows = static_cast<int>(rows.size());
  grid.cols = rows.empty() ? 0 : static_cast<int>(rows[0].size());
  for (int r = 0; r < grid.rows; ++r)
    for (int c = 0; c < grid.cols; ++c) grid.SetCell(c, r, rows[r][c]);
  return grid;
}

// prefix1 .. prefixN
std::vector<std::string> Numbered(const std::string& prefix, int count) {
  std::vector<std::string> lines;
  for (int k = 1; k <= count; ++k) lines.push_back(prefix + std::to_string(k));
  return lines;
}

// n x n cells "prefix<r>_<c>", 1-based.
GridCells Square(const std::string& prefix, int n, int cols) {
  std::vector<std::vector<std::string>> rows(n);
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < cols; ++c) rows[r].push_back(prefix + std::to_string(r + 1) + "_" + std::to_string(c + 1));
  return Grid(rows);
}

GridCells BranchTable(int branches) {
  std::vector<std::vector<std::string>> rows = {{"Ветвь", "R, Ом", "L, мГн", "C, мкФ", "E, В", "Угол"}};
  for (int k = 1; k <= branches; ++k) rows.push_back({Format("b%d", k), "1", "", "", "", ""});
  return Grid(rows);
}

// The five-branch circuit's windows: two loops, three unknown potentials,
// and 30 lines in each branch-current memo to show the second column.
ReportContent FiveBranchContent() {
  ReportContent content;
  content.task = {BranchTable(5), "50", "кГц", VectorFigure{846, 608, {}}, {}};
  content.mesh = {Square("Z", 2, 2), Square("E", 2, 1), {"loop 1", "loop 2"},
                  {"J1", "J2"},      Numbered("I", 30), {"Pист", "Pпотр"}};
  content.nodes = {Square("Y", 3, 3), Square("Iу", 3, 1), Numbered("φ", 3), Numbered("N", 30), {"Sист", "Sпотр"}};
  return content;
}

// Prints as PrintReport does, after checking that nothing in the report is
// printed over anything else.
ReportStatus PrintChecked(const ReportContent& content, const ReportChoices& choices, const PageSize& page,
                          PageCanvas& canvas) {
  EXPECT_EQ(FindOverlaps(ComposeReport(content, choices)), std::vector<std::string>{});
  return PrintReport(content, choices, page, canvas);
}

struct Placed {
  int page;
  const char* text;
  int x, y;
  Font font;
};

void ExpectPlaced(const RecordingCanvas& canvas, const std::vector<Placed>& expected) {
  for (const Placed& p : expected) {
    SCOPED_TRACE(p.text);
    const RecordedText* found = canvas.Find(p.text, p.page);
    ASSERT_NE(found, nullptr) << "missing on page " << p.page;
    EXPECT_EQ(found->at, (PixelPoint{p.x, p.y}));
    EXPECT_EQ(found->font, p.font);
  }
}

TEST(PrintedReport, FiveBranchReportPositions) {
  RecordingCanvas canvas;
  ASSERT_EQ(PrintChecked(FiveBranchContent(), ReportChoices{}, kMillimetrePage, canvas), ReportStatus::Printed);
  ExpectPlaced(canvas, {
                           {0, "- 1 из 3 -", 105, 5, kCell},
                           {0, "Задание", 10, 5, kHeading},
                           {0, "Ветвь", 21, 19, kCell},  // the table's top at 18 mm
                           {0, "Частота 50 кГц", 10, 53, kHeading},
                           {1, "- 2 из 3 -", 105, 5, kCell},
                           {1, "Метод контурных токов", 10, 10, kHeading},
                           {1, "Матрица сопротивлений, Ом", 10, 16, kHeading},
                           {1, "2", 32, 23, kCell},  // the column numbers above the matrix
                           {1, "Z1_1", 6, 28, kCell},
                           {1, "Z2_2", 32, 33, kCell},
                           {1, "Матрица ЭДС, В", 5, 42, kHeading},
                           {1, "E1_1", 10, 54, kCell},
                           {1, "Контуры", 38, 42, kHeading},
                           {1, "loop 2", 38, 53, kMemo},
                           {1, "Контурные токи, А", 98, 42, kHeading},
                           {1, "J1", 93, 48, kMemo},
                           {1, "Токи в ветвях, А", 134, 42, kHeading},
                           {1, "I1", 134, 48, kMemo},
                           {1, "I22", 134, 153, kMemo},
                           {1, "I23", 168, 48, kMemo},  // level with the first
                           {1, "I30", 168, 83, kMemo},
                           {1, "Баланс мощностей, ВА", 5, 73, kHeading},
                           {1, "Pпотр", 5, 84, kMemo},
                           {2, "- 3 из 3 -", 105, 5, kCell},
                           {2, "Метод узловых потенциалов", 10, 10, kHeading},
                           {2, "Матрица проводимостей, См", 10, 16, kHeading},
                           {2, "Матрица токов, А", 5, 47, kHeading},
                           {2, "Iу3_1", 10, 69, kCell},
                           {2, "Узловые потенциалы, В", 38, 47, kHeading},
                           {2, "φ1", 38, 53, kMemo},
                           {2, "Токи в ветвях, А", 77, 47, kHeading},  // clear of the potentials heading,
                           {2, "N22", 77, 158, kMemo},
                           {2, "N23", 110, 53, kMemo},
                           {2, "Баланс мощностей, ВА", 5, 83, kHeading},
                           {2, "Sист", 5, 89, kMemo},
                       });
  EXPECT_EQ(canvas.page, 2);
  // 237 mm below 59 would make the sheet 329 mm wide: it is held to 200 mm.
  ASSERT_EQ(canvas.figures.size(), 1u);
  EXPECT_EQ(canvas.figures[0].page, 0);
  EXPECT_EQ(canvas.figures[0].rect, (PixelRect{5, 59, 205, 202}));
  EXPECT_TRUE(canvas.messages.empty());
}

TEST(PrintedReport, SheetFillsThePageBelowTheTaskUpTo200mmWide) {
  struct Case {
    int top;
    ImageSize image;
    int width, height;
  } cases[] = {
      {59, {846, 608}, 200, 143},  // the editor's sheet: width-limited
      {59, {300, 600}, 118, 237},  // a tall image fills down to 296 mm
      {10, {1000, 1000}, 200, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.image.width);
    const PrintedFigure sheet = FitSheet(c.top, c.image);
    EXPECT_EQ(sheet.top, c.top);
    EXPECT_EQ(sheet.width, c.width);
    EXPECT_EQ(sheet.height, c.height);
  }
  // Each corner of the rectangle is truncated on its own.
  EXPECT_EQ(FigureRect(PageScale(PageSize{4960, 7016}), PrintedFigure{59, 200, 143, {}}),
            (PixelRect{118, 1393, 4841, 4771}));
}

TEST(PrintedReport, CheckBoxesChooseTheParts) {
  const auto choose = [](bool task, bool drawing, bool mesh, bool nodes) {
    return ReportChoices{task, drawing, mesh, nodes, false};
  };
  struct Case {
    const char* what;
    ReportChoices choices;
    PageSize page;
    ReportStatus status;
    std::vector<std::pair<std::string, int>> titlesOnPages;
    size_t images;
  } cases[] = {
      {"nothing checked", choose(false, false, false, false), kMillimetrePage, ReportStatus::NothingChosen, {}, 0},
      {"drawing without the task",
       choose(false, true, false, false),
       kMillimetrePage,
       ReportStatus::NothingChosen,
       {},
       0},
      {"landscape page",
       choose(true, true, true, true),
       {297, 210},
       ReportStatus::Printed,
       {{"Задание", 0}, {"Метод контурных токов", 1}, {"Метод узловых потенциалов", 2}},
       1},
      {"only node potentials",
       choose(false, false, false, true),
       kMillimetrePage,
       ReportStatus::Printed,
       {{"- 1 из 1 -", 0}, {"Метод узловых потенциалов", 0}},
       0},
      {"task without its drawing",
       choose(true, false, true, false),
       kMillimetrePage,
       ReportStatus::Printed,
       {{"Задание", 0}, {"Метод контурных токов", 1}},
       0},
      {"drawing box left checked under an unchecked task",
       choose(false, true, true, false),
       kMillimetrePage,
       ReportStatus::Printed,
       {{"Метод контурных токов", 0}},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(AnythingChosen(c.choices), c.status != ReportStatus::NothingChosen);
    RecordingCanvas canvas;
    EXPECT_EQ(PrintChecked(FiveBranchContent(), c.choices, c.page, canvas), c.status);
    EXPECT_EQ(canvas.Untouched(), c.status != ReportStatus::Printed);
    for (const auto& [title, page] : c.titlesOnPages) {
      ASSERT_NE(canvas.Find(title), nullptr) << title;
      EXPECT_EQ(canvas.Find(title)->page, page) << title;
    }
    EXPECT_EQ(canvas.figures.size(), c.images);
  }
}

// A long task table runs onto the next page, and the drawing follows it;
// with too little room left the drawing takes a page of its own.
TEST(PrintedReport, LongTaskContinuesWithFrequencyAndDrawing) {
  struct Case {
    int branches;
    int frequencyPage, frequencyY;
    int imagePage;
    PixelRect image;
  } cases[] = {
      {5, 0, 53, 0, {5, 59, 205, 202}},
      {50, 0, 278, 1, {5, 10, 205, 153}},  // 12 mm left under the frequency
      // 7 rows carried over under "Задание (продолжение)" and the header row
      {60, 1, 61, 1, {5, 67, 205, 210}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.branches);
    ReportContent content = FiveBranchContent();
    content.task.table = BranchTable(c.branches);
    RecordingCanvas canvas;
    PrintChecked(content, ReportChoices{true, true, false, false, false}, kMillimetrePage, canvas);
    ExpectPlaced(canvas, {{c.frequencyPage, "Частота 50 кГц", 10, c.frequencyY, kHeading}});
    ASSERT_EQ(canvas.figures.size(), 1u);
    EXPECT_EQ(canvas.figures[0].page, c.imagePage);
    EXPECT_EQ(canvas.figures[0].rect, c.image);
    EXPECT_EQ(canvas.page, c.imagePage);
    if (c.imagePage > 0) {
      EXPECT_NE(canvas.Find("- 2 из 2 -", 1), nullptr);
    }
  }
}

// Sixteen loops leave little room under the matrix: the loops and both
// branch-current columns run onto the next page, the source column (which
// would not fit under its heading) moves there whole with the heading, and
// the power balance follows below it there.
TEST(PrintedReport, SolutionColumnsContinueOnTheNextPage) {
  ReportContent content = FiveBranchContent();
  content.mesh = {Square("Z", 16, 14), Square("E", 16, 1), Numbered("loop ", 30),
                  Numbered("J", 16),   Numbered("I", 60),  {"Pист", "Pпотр"}};
  RecordingCanvas canvas;
  PrintChecked(content, ReportChoices{false, false, true, true, false}, kMillimetrePage, canvas);
  ExpectPlaced(canvas, {
                           {0, "Контуры", 38, 202, kHeading},
                           {0, "loop 16", 38, 283, kMemo},
                           {1, "loop 17", 38, 10, kMemo},
                           {1, "loop 30", 38, 75, kMemo},
                           {1, "Матрица ЭДС, В", 5, 10, kHeading},
                           {1, "E16_1", 11, 97, kCell},
                           {0, "I16", 134, 283, kMemo},
                           {1, "I17", 134, 10, kMemo},
                           {1, "I22", 134, 35, kMemo},
                           {0, "I23", 168, 208, kMemo},
                           {0, "I38", 168, 283, kMemo},
                           {1, "I39", 168, 10, kMemo},
                           {1, "I60", 168, 115, kMemo},
                           {1, "- 2 из 3 -", 105, 5, kCell},
                           {1, "Баланс мощностей, ВА", 5, 111, kHeading},
                           {1, "Pпотр", 5, 122, kMemo},
                           {2, "Метод узловых потенциалов", 10, 10, kHeading},
                       });
  for (const RecordedText& text : canvas.texts) EXPECT_LE(text.at.y, 288) << text.text;
  for (const RecordedLine& line : canvas.lines) EXPECT_LE(std::max(line.from.y, line.to.y), 292);
}

// The title block stands on the first page whichever part comes first,
// each field only when filled in; the node section says which variant ran
// and which node was at zero, and a plain title when that is not known.
TEST(PrintedReport, TitleBlockAndNodeMethodLabels) {
  struct Case {
    const char* what;
    ReportChoices choices;
    TitleBlock title;
    NodeMethodRun run;
    std::vector<Placed> placed;
    std::vector<std::string> absent;
  } cases[] = {
      {"student and file over the task",
       {},
       {"Иванов И. И.", "", "7", "09.12.2026", "rgz7.txt"},
       {false, 3},
       {{0, "Студент: Иванов И. И.", 10, 10, kHeading},
        {0, "Вариант: 7", 10, 16, kHeading},
        {0, "Дата: 09.12.2026", 10, 22, kHeading},
        {0, "Файл схемы: rgz7.txt", 10, 28, kHeading},
        {0, "Задание", 10, 38, kHeading},
        {2, "Метод узловых потенциалов (базовый)", 10, 10, kHeading},
        {2, "Узел с нулевым потенциалом: 3", 10, 16, kHeading}},
       {"Группа: "}},
      {"only the node solution, optimal",
       {false, false, false, true, false},
       {"", "ИВТ-21", "", "", ""},
       {true, 1},
       {{0, "Группа: ИВТ-21", 10, 10, kHeading},
        {0, "Метод узловых потенциалов (оптимальный)", 10, 20, kHeading},
        {0, "Узел с нулевым потенциалом: 1", 10, 26, kHeading}},
       {"Студент: "}},
      {"nothing known",
       {false, false, false, true, false},
       {},
       {},
       {{0, "Метод узловых потенциалов", 10, 10, kHeading}},
       {"Узел с нулевым потенциалом: 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ReportContent content = FiveBranchContent();
    content.title = c.title;
    content.nodeRun = c.run;
    RecordingCanvas canvas;
    PrintChecked(content, c.choices, kMillimetrePage, canvas);
    ExpectPlaced(canvas, c.placed);
    for (const std::string& text : c.absent)
      for (const RecordedText& t : canvas.texts) EXPECT_FALSE(t.text.starts_with(text)) << t.text;
  }
}

// A value as the windows write it, different for every (a, b).
std::string ComplexText(int a, int b) { return Format("-%d.8387 + j %d.8463", 100 + a, 100 + b); }

GridCells ComplexSquare(int rows, int cols, int firstCol = 0) {
  GridCells grid;
  grid.rows = rows;
  grid.cols = cols;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) grid.SetCell(c, r, ComplexText(r, firstCol + c));
  return grid;
}

std::vector<std::string> LabelledValues(const std::string& name, int count) {
  std::vector<std::string> lines;
  for (int k = 1; k <= count; ++k) lines.push_back(name + std::to_string(k) + " = " + ComplexText(k, 900 + k));
  return lines;
}

// "1)   1->2  2->3  ..." through `branches` steps.
std::string LoopLine(int number, int branches) {
  std::string line = std::to_string(number) + ")   ";
  for (int k = 1; k <= branches; ++k) line += std::to_string(k) + "->" + std::to_string(k + 1) + "  ";
  return line;
}

// Reports of generated circuits as large as the model allows: long loop
// lines, many branch currents, wide source cells and matrices of every
// column count that breaks differently. Nothing may be printed over
// anything else, nothing may be lost (the polar forms included), and every
// page carries its number. On sheets turned on their side wide matrices
// take the width.
TEST(PrintedReport, LargeCircuitsPrintEveryTextWithNothingOver) {
  struct Case {
    int size;       // matrix columns
    int loopSteps;  // branches in each loop line
    int branches;   // lines of each branch-current memo
  } cases[] = {{2, 17, 19}, {9, 12, 45}, {17, 9, 45}, {26, 30, 50}, {33, 5, 50}, {50, 20, 50}};
  for (const PaperSize& sheet : {kPortraitPaper, kLandscapePaper})
    for (const Case& c : cases) {
      SCOPED_TRACE(c.size);
      SCOPED_TRACE(sheet.width);
      ReportContent content = FiveBranchContent();
      std::vector<std::string> loops;
      for (int k = 1; k <= c.size; ++k) loops.push_back(LoopLine(k, c.loopSteps));
      content.mesh = {ComplexSquare(c.size, c.size),
                      ComplexSquare(c.size, 1, 500),
                      loops,
                      LabelledValues("J", c.size),
                      LabelledValues("I", c.branches),
                      {"Pист = 123.8387 + j 191.8463", "Pпотр = 123.8387 + j 191.8463"}};
      content.nodes = {ComplexSquare(c.size, c.size),
                       ComplexSquare(c.size, 1, 500),
                       LabelledValues("φ", c.size),
                       LabelledValues("I", c.branches),
                       {"Sист = 1.0 + j 2.0", "Sпотр = 1.0 + j 2.0"}};
      content.meshPolar = LabelledValues("|I| ∠ ", c.branches);
      content.nodePolar = LabelledValues("|φ| ∠ ", c.size);
      const PageDocument document = ComposeReport(content, ReportChoices{true, true, true, true, true}, sheet);
      const RecordingCanvas canvas = RenderedInMillimetres(document);

      std::multiset<std::string> printed;
      for (const RecordedText& text : canvas.texts) printed.insert(text.text);
      // Wrapped loop lines come back as their pieces.
      std::string loopText;
      for (const RecordedText& text : canvas.texts)
        if (text.text.find("->") != std::string::npos) loopText += text.text + " ";
      for (int k = 1; k <= c.size; ++k)
        EXPECT_NE(loopText.find(std::to_string(k) + ")"), std::string::npos) << "loop " << k;
      for (int r = 0; r < c.size; ++r)
        for (int col = 0; col < c.size; ++col) ASSERT_EQ(printed.count(ComplexText(r, col)), 2u) << r << " " << col;
      for (const std::string& line : content.mesh.branchCurrents) EXPECT_EQ(printed.count(line), 2u) << line;
      for (const std::string& line : content.nodes.potentials) EXPECT_EQ(printed.count(line), 1u) << line;
      for (const std::string& line : content.meshPolar) EXPECT_EQ(printed.count(line), 1u) << line;
      for (const std::string& line : content.nodePolar) EXPECT_EQ(printed.count(line), 1u) << line;
      for (int page = 0; page < document.PageCount(); ++page)
        EXPECT_NE(canvas.Find(PageNumberText(page + 1, document.PageCount()), page), nullptr) << "page " << page;
      int rightmostCell = 0;
      for (const RecordedText& text : canvas.texts)
        if (text.text.find(".8387 + j") != std::string::npos) rightmostCell = std::max(rightmostCell, text.at.x);
      if (c.size >= 9) {
        EXPECT_EQ(rightmostCell > kPortraitPaper.width, sheet == kLandscapePaper) << rightmostCell;
      }
    }
}

// The check itself sees text on text, text across a rule and text off the
// sheet.
TEST(PrintedReport, OverlapCheckSeesEveryKindOfCollision) {
  struct Case {
    const char* what;
    std::vector<PageItem> items;
    size_t found;
  } cases[] = {
      {"side by side", {PrintedText{{10, 10}, kMemo, "I1 = 1"}, PrintedText{{40, 10}, kMemo, "I2 = 2"}}, 0},
      {"text on text",
       {PrintedText{{10, 10}, kMemo, "I34 = 100.7045 - j 173.7701"}, PrintedText{{40, 10}, kMemo, "I35"}},
       1},
      {"a rule through a text",
       {PrintedText{{10, 10}, kCell, "123.8387 + j 191.8463"}, PrintedLine{{30, 8}, {30, 14}}},
       1},
      {"a rule along the cell's edge", {PrintedText{{11, 11}, kCell, "1"}, PrintedLine{{10, 10}, {40, 10}}}, 0},
      {"off the sheet", {PrintedText{{200, 10}, kMemo, "I34 = 100.7045"}}, 1},
      {"on the drawing", {PrintedText{{10, 60}, kHeading, "Частота"}, PrintedFigure{59, 200, 143, {}}}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PageDocument document;
    document.StartPage(false, 10);
    for (const PageItem& item : c.items) document.Add(0, item);
    EXPECT_EQ(FindOverlaps(document).size(), c.found);
  }
}

}  // namespace
}  // namespace ohmara
