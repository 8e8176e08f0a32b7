#include "printing/printed_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
  for (int k = 1; k <= branches; ++k) rows.push_back({"b" + std::to_string(k), "1", "", "", "", ""});
  return Grid(rows);
}

// The five-branch circuit's windows: two loops, three unknown potentials,
// and 30 lines in each branch-current memo to show the second column.
ReportContent FiveBranchContent() {
  ReportContent content;
  content.task = {BranchTable(5), "50", "кГц", {846, 608}, {}};
  content.mesh = {Square("Z", 2, 2), Square("E", 2, 1), {"loop 1", "loop 2"}, {"J1", "J2"}, Numbered("I", 30),
                  {"Pист", "Pпотр"}};
  content.nodes = {Square("Y", 3, 3), Square("Iу", 3, 1), Numbered("φ", 3), Numbered("N", 30), {"Sист", "Sпотр"}};
  return content;
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
  ASSERT_EQ(PrintReport(FiveBranchContent(), ReportChoices{}, kMillimetrePage, canvas), ReportStatus::Printed);
  ExpectPlaced(canvas, {
      {0, "- 1 -", 105, 5, kCell},
      {0, "Задание", 10, 5, kHeading},
      {0, "Ветвь", 21, 19, kCell},  // the table's top at 18 mm
      {0, "Частота 50 кГц", 10, 53, kHeading},
      {1, "- 2 -", 105, 5, kCell},
      {1, "Метод контурных токов", 10, 10, kHeading},
      {1, "Матрица сопротивлений", 10, 16, kHeading},
      {1, "Z1_1", 2, 23, kCell},
      {1, "Матрица ЭДС", 5, 37, kHeading},
      {1, "E1_1", 6, 44, kCell},
      {1, "Контуры", 38, 37, kHeading},
      {1, "loop 2", 38, 48, kMemo},
      {1, "Контурные токи", 98, 37, kHeading},
      {1, "J1", 93, 43, kMemo},
      {1, "Токи в ветвях", 134, 37, kHeading},
      {1, "I1", 134, 43, kMemo},
      {1, "I22", 134, 148, kMemo},
      {1, "I23", 168, 43, kMemo},  // level with the first
      {1, "I30", 168, 78, kMemo},
      {1, "Баланс мощностей", 5, 63, kHeading},
      {1, "Pпотр", 5, 74, kMemo},
      {2, "- 3 -", 105, 5, kCell},
      {2, "Метод узловых потенциалов", 10, 10, kHeading},
      {2, "Матрица проводимостей", 10, 16, kHeading},
      {2, "Матрица токов", 5, 42, kHeading},
      {2, "Iу3_1", 6, 59, kCell},
      {2, "Узловые потенциалы", 38, 42, kHeading},
      {2, "φ1", 38, 48, kMemo},
      {2, "Токи в ветвях", 76, 42, kHeading},
      {2, "N22", 76, 153, kMemo},
      {2, "N23", 110, 48, kMemo},
      {2, "Баланс мощностей", 5, 73, kHeading},
      {2, "Sист", 5, 79, kMemo},
  });
  EXPECT_EQ(canvas.page, 2);
  // 237 mm below 59 would make the sheet 329 mm wide: it is held to 200 mm.
  ASSERT_EQ(canvas.images.size(), 1u);
  EXPECT_EQ(canvas.images[0].page, 0);
  EXPECT_EQ(canvas.images[0].rect, (PixelRect{5, 59, 205, 202}));
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
    const PrintedSheet sheet = FitSheet(c.top, c.image);
    EXPECT_EQ(sheet.top, c.top);
    EXPECT_EQ(sheet.width, c.width);
    EXPECT_EQ(sheet.height, c.height);
  }
  // Each corner of the rectangle is truncated on its own.
  EXPECT_EQ(SheetRect(PageScale(PageSize{4960, 7016}), PrintedSheet{59, 200, 143}), (PixelRect{118, 1393, 4841, 4771}));
}

TEST(PrintedReport, CheckBoxesChooseTheParts) {
  const auto choose = [](bool task, bool drawing, bool mesh, bool nodes) {
    return ReportChoices{task, drawing, mesh, nodes};
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
      {"drawing without the task", choose(false, true, false, false), kMillimetrePage, ReportStatus::NothingChosen, {}, 0},
      {"landscape page", choose(true, true, true, true), {297, 210}, ReportStatus::NotPortrait, {}, 0},
      {"only node potentials", choose(false, false, false, true), kMillimetrePage, ReportStatus::Printed,
       {{"- 1 -", 0}, {"Метод узловых потенциалов", 0}}, 0},
      {"task without its drawing", choose(true, false, true, false), kMillimetrePage, ReportStatus::Printed,
       {{"Задание", 0}, {"Метод контурных токов", 1}}, 0},
      {"drawing box left checked under an unchecked task", choose(false, true, true, false), kMillimetrePage,
       ReportStatus::Printed, {{"Метод контурных токов", 0}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(AnythingChosen(c.choices), c.status != ReportStatus::NothingChosen);
    RecordingCanvas canvas;
    EXPECT_EQ(PrintReport(FiveBranchContent(), c.choices, c.page, canvas), c.status);
    EXPECT_EQ(canvas.Untouched(), c.status != ReportStatus::Printed);
    for (const auto& [title, page] : c.titlesOnPages) {
      ASSERT_NE(canvas.Find(title), nullptr) << title;
      EXPECT_EQ(canvas.Find(title)->page, page) << title;
    }
    EXPECT_EQ(canvas.images.size(), c.images);
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
      {60, 1, 50, 1, {5, 56, 205, 199}},   // 7 rows carried over
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.branches);
    ReportContent content = FiveBranchContent();
    content.task.table = BranchTable(c.branches);
    RecordingCanvas canvas;
    PrintReport(content, ReportChoices{true, true, false, false}, kMillimetrePage, canvas);
    ExpectPlaced(canvas, {{c.frequencyPage, "Частота 50 кГц", 10, c.frequencyY, kHeading}});
    ASSERT_EQ(canvas.images.size(), 1u);
    EXPECT_EQ(canvas.images[0].page, c.imagePage);
    EXPECT_EQ(canvas.images[0].rect, c.image);
    EXPECT_EQ(canvas.page, c.imagePage);
    if (c.imagePage > 0) {
      EXPECT_NE(canvas.Find("- 2 -", 1), nullptr);
    }
  }
}

// Sixteen loops leave little room under the matrix: the loops and both
// branch-current columns run onto the next page, and the power balance
// follows below the lowest of them there.
TEST(PrintedReport, SolutionColumnsContinueOnTheNextPage) {
  ReportContent content = FiveBranchContent();
  content.mesh = {Square("Z", 16, 16), Square("E", 16, 1), Numbered("loop ", 30), Numbered("J", 16),
                  Numbered("I", 60), {"Pист", "Pпотр"}};
  RecordingCanvas canvas;
  PrintReport(content, ReportChoices{false, false, true, true}, kMillimetrePage, canvas);
  ExpectPlaced(canvas, {
      {0, "Контуры", 38, 192, kHeading},
      {0, "loop 18", 38, 283, kMemo},
      {1, "loop 19", 38, 10, kMemo},
      {1, "loop 30", 38, 65, kMemo},
      {0, "E16_1", 6, 274, kCell},
      {0, "I18", 134, 283, kMemo},
      {1, "I19", 134, 10, kMemo},
      {1, "I22", 134, 25, kMemo},
      {0, "I23", 168, 198, kMemo},
      {0, "I40", 168, 283, kMemo},
      {1, "I41", 168, 10, kMemo},
      {1, "I60", 168, 105, kMemo},
      {1, "- 2 -", 105, 5, kCell},
      {1, "Баланс мощностей", 5, 115, kHeading},
      {1, "Pпотр", 5, 126, kMemo},
      {2, "Метод узловых потенциалов", 10, 10, kHeading},
  });
  for (const RecordedText& text : canvas.texts) EXPECT_LE(text.at.y, 288) << text.text;
  for (const RecordedLine& line : canvas.lines) EXPECT_LE(std::max(line.from.y, line.to.y), 292);
}

}  // namespace
}  // namespace ohmara
