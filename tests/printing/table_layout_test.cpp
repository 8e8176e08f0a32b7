#include "printing/table_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "model/text_format.h"
#include "support/recording_canvas.h"

namespace ohmara {
namespace {

std::string CellName(int r, int c) { return Format("r%dc%d", r, c); }

GridCells NamedTable(int rows, int cols) {
  GridCells table;
  table.rows = rows;
  table.cols = cols;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) table.SetCell(c, r, CellName(r, c));
  return table;
}

std::string PageNumber(int page, int count) {
  return "- " + std::to_string(page + 1) + " из " + std::to_string(count) + " -";
}

bool LineBefore(const RecordedLine& a, const RecordedLine& b) {
  return std::tie(a.page, a.from.x, a.from.y, a.to.x, a.to.y) < std::tie(b.page, b.from.x, b.from.y, b.to.x, b.to.y);
}

// Where one block of a table is expected: its columns, how wide it is ruled,
// its page and top-left corner.
struct ExpectedBlock {
  int page, firstCol, textCols, ruledCols, left, top;
};

struct TableCase {
  const char* what;
  int cols, rows, x0, top;
  std::vector<ExpectedBlock> blocks;
  Cursor end;
  std::vector<int> numberedPages;
  int continuationPage;  // where "Продолжение таблицы" stands, -1 for nowhere
};

TEST(TableLayout, BlocksRulesAndPageBreaksByColumnCount) {
  const std::vector<TableCase> cases = {
      {"6 columns", 6, 3, 20, 18, {{0, 0, 6, 6, 20, 18}}, {0, 38}, {0}, -1},
      {"12 columns: second block below", 12, 3, 2, 18, {{0, 0, 8, 8, 2, 18}, {0, 8, 4, 4, 2, 38}}, {0, 58}, {0}, -1},
      {"8 columns at 20 mm: the eighth would run off the sheet and goes below",
       8,
       3,
       20,
       18,
       {{0, 0, 7, 7, 20, 18}, {0, 7, 1, 1, 20, 38}},
       {0, 58},
       {0},
       -1},
      {"16 columns", 16, 1, 2, 40, {{0, 0, 8, 8, 2, 40}, {0, 8, 8, 8, 2, 50}}, {0, 60}, {0}, -1},
      {"17 columns at 1 mm, next output on a new page",
       17,
       2,
       20,
       22,
       {{0, 0, 8, 8, 1, 22}, {0, 8, 8, 8, 1, 37}, {0, 16, 1, 1, 1, 52}},
       {1, 10},
       {0, 1},
       -1},
      {"20 columns continue under a title",
       20,
       2,
       20,
       22,
       {{0, 0, 8, 8, 1, 22}, {0, 8, 8, 8, 1, 37}, {1, 16, 4, 4, 1, 15}},
       {1, 30},
       {0, 1},
       1},
      {"25 columns: last block ruled eight wide, then a new page",
       25,
       2,
       20,
       22,
       {{0, 0, 8, 8, 1, 22}, {0, 8, 8, 8, 1, 37}, {1, 16, 8, 8, 1, 15}, {1, 24, 1, 8, 1, 30}},
       {2, 10},
       {0, 1, 2},
       1},
      {"18 x 18: third block would pass the bottom and moves to the next page",
       18,
       18,
       20,
       22,
       {{0, 0, 8, 8, 1, 22}, {0, 8, 8, 8, 1, 117}, {1, 16, 2, 2, 1, 10}},
       {2, 10},
       {0, 1, 2},
       -1},
      {"33 columns: every one printed, the groups after the fourth following on",
       33,
       2,
       20,
       22,
       {{0, 0, 8, 8, 1, 22}, {0, 8, 8, 8, 1, 37}, {1, 16, 8, 8, 1, 15}, {1, 24, 8, 8, 1, 30}, {1, 32, 1, 8, 1, 45}},
       {2, 10},
       {0, 1, 2},
       1},
      {"50 columns",
       50,
       2,
       20,
       22,
       {{0, 0, 8, 8, 1, 22},
        {0, 8, 8, 8, 1, 37},
        {1, 16, 8, 8, 1, 15},
        {1, 24, 8, 8, 1, 30},
        {1, 32, 8, 8, 1, 45},
        {1, 40, 8, 8, 1, 60},
        {1, 48, 2, 8, 1, 75}},
       {2, 10},
       {0, 1, 2},
       1},
  };
  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.what);
    PageDocument document;
    Cursor at = document.StartPage(true, c.top);
    PrintTable(document, at, NamedTable(c.rows, c.cols), c.x0);
    const RecordingCanvas canvas = RenderedInMillimetres(document);

    EXPECT_EQ(at, c.end);
    std::vector<RecordedLine> expectedLines;
    int expectedCells = 0;
    for (const ExpectedBlock& b : c.blocks) {
      for (int r = 0; r < c.rows; ++r)
        for (int j = 0; j < b.textCols; ++j) {
          const RecordedText* cell = canvas.Find(CellName(r, b.firstCol + j));
          ASSERT_NE(cell, nullptr) << CellName(r, b.firstCol + j);
          EXPECT_EQ(cell->page, b.page);
          EXPECT_EQ(cell->at, (PixelPoint{b.left + 26 * j + 1, b.top + 5 * r + 1}));
          EXPECT_EQ(cell->font, (Font{"Arial", 7}));
          ++expectedCells;
        }
      const int right = b.left + 26 * b.ruledCols, bottom = b.top + 5 * c.rows;
      for (int r = 0; r <= c.rows; ++r)
        expectedLines.push_back({b.page, {b.left, b.top + 5 * r}, {right, b.top + 5 * r}});
      for (int j = 0; j <= b.ruledCols; ++j)
        expectedLines.push_back({b.page, {b.left + 26 * j, b.top}, {b.left + 26 * j, bottom}});
    }
    const auto cells = std::count_if(canvas.texts.begin(), canvas.texts.end(),
                                     [](const RecordedText& t) { return t.text.starts_with("r"); });
    EXPECT_EQ(cells, expectedCells);
    std::vector<RecordedLine> lines = canvas.lines;
    std::sort(lines.begin(), lines.end(), LineBefore);
    std::sort(expectedLines.begin(), expectedLines.end(), LineBefore);
    EXPECT_EQ(lines, expectedLines);

    EXPECT_EQ(document.PageCount(), c.end.page + 1);
    for (int page = 0; page < document.PageCount(); ++page) {
      const bool numbered = std::count(c.numberedPages.begin(), c.numberedPages.end(), page) > 0;
      const RecordedText* number = canvas.Find(PageNumber(page, document.PageCount()));
      EXPECT_EQ(number != nullptr, numbered) << "page " << page;
      if (number) {
        EXPECT_EQ(number->page, page);
      }
    }
    const RecordedText* continued = canvas.Find("Продолжение таблицы");
    ASSERT_EQ(continued != nullptr, c.continuationPage >= 0);
    if (continued) {
      EXPECT_EQ(continued->page, c.continuationPage);
      EXPECT_EQ(continued->at, (PixelPoint{5, 10}));
    }
    EXPECT_TRUE(canvas.messages.empty());
  }
}

// A block taller than a page is split between rows; each piece is ruled on
// its own page.
// A table whose column 0 names its rows (the task's "Ветвь") repeats it at
// the left of the block its last columns wrap into.
TEST(TableLayout, KeyColumnHeadsEveryBlock) {
  PageDocument document;
  Cursor at = document.StartPage(true, 18);
  PrintTable(document, at, NamedTable(3, 8), 20, {"", 10, 0, false, true});
  const RecordingCanvas canvas = RenderedInMillimetres(document);
  EXPECT_EQ(at, (Cursor{0, 58}));
  for (int r = 0; r < 3; ++r) {
    std::vector<PixelPoint> keys;
    for (const RecordedText& text : canvas.texts)
      if (text.text == CellName(r, 0)) keys.push_back(text.at);
    EXPECT_EQ(keys, (std::vector<PixelPoint>{{21, 19 + 5 * r}, {21, 39 + 5 * r}})) << r;
    const RecordedText* last = canvas.Find(CellName(r, 7));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->at, (PixelPoint{47, 39 + 5 * r}));
  }
}

TEST(TableLayout, TableTallerThanThePageContinuesBetweenRows) {
  PageDocument document;
  Cursor at = document.StartPage(true, 18);
  PrintTable(document, at, NamedTable(61, 2), 20);
  const RecordingCanvas canvas = RenderedInMillimetres(document);

  // 54 rows fit from 18 mm down to 288 mm; the other 7 start at 10 mm.
  EXPECT_EQ(canvas.Find("r53c1")->page, 0);
  EXPECT_EQ(canvas.Find("r53c1")->at, (PixelPoint{47, 284}));
  EXPECT_EQ(canvas.Find("r54c0")->page, 1);
  EXPECT_EQ(canvas.Find("r54c0")->at, (PixelPoint{21, 11}));
  EXPECT_EQ(at, (Cursor{1, 50}));
  ASSERT_NE(canvas.Find("- 2 из 2 -"), nullptr);
  for (const RecordedLine& line : canvas.lines) {
    EXPECT_LE(std::max(line.from.y, line.to.y), 292);
    if (line.from.x == 20 && line.to.x == 20) {  // left rule of each piece
      EXPECT_EQ(line.page == 0 ? std::pair(18, 288) : std::pair(10, 45), std::pair(line.from.y, line.to.y));
    }
  }
}

TEST(TableLayout, LineBreaksPageWhenItsBottomWouldPassTheMargin) {
  PageDocument document;
  Cursor at = document.StartPage(true, 286);
  PrintLine(document, at, 10, 8, 5, "fits");     // 286 + 5 = 291
  PrintLine(document, at, 10, 8, 5, "carried");  // 291 + 5 would be 296
  const RecordingCanvas canvas = RenderedInMillimetres(document);
  EXPECT_EQ(canvas.Find("fits")->at, (PixelPoint{10, 286}));
  EXPECT_EQ(canvas.Find("carried")->page, 1);
  EXPECT_EQ(canvas.Find("carried")->at, (PixelPoint{10, 10}));
  EXPECT_EQ(canvas.Find("carried")->font, (Font{"Times New Roman", 8}));
  EXPECT_EQ(at, (Cursor{1, 15}));
}

// A memo or a tall table broken across pages leaves no page with a
// continuation of one or two lines when breaking earlier avoids it; nothing
// is lost and the order holds. Every start height and length near a break.
TEST(TableLayout, NoContinuationOfFewerThanThreeLines) {
  for (int top : {10, 200, 271, 276, 281, 286, 290})
    for (int count = 1; count <= 70; ++count) {
      SCOPED_TRACE(std::to_string(top) + " " + std::to_string(count));
      std::vector<std::string> lines;
      GridCells table;
      table.rows = count + 1;
      table.cols = 1;
      table.SetCell(0, 0, "head");
      for (int k = 0; k < count; ++k) {
        lines.push_back("line " + std::to_string(k));
        table.SetCell(0, k + 1, "row " + std::to_string(k));
      }
      PageDocument document;
      Cursor at = document.StartPage(true, top);
      PrintMemoLines(document, at, 10, lines);
      at = document.StartPage(true, top);
      PrintTable(document, at, table, 10, {"", 10, 1});
      const RecordingCanvas canvas = RenderedInMillimetres(document);
      for (const char* kind : {"line ", "row "}) {
        SCOPED_TRACE(kind);
        std::map<int, int> perPage;
        int next = 0;
        for (const RecordedText& text : canvas.texts)
          if (text.text.starts_with(kind)) {
            EXPECT_EQ(text.text, kind + std::to_string(next++));
            ++perPage[text.page];
          }
        EXPECT_EQ(next, count);
        for (auto it = std::next(perPage.begin()); it != perPage.end(); ++it)
          EXPECT_GE(it->second, std::min(count, kLeastCarriedLines)) << "page " << it->first;
      }
    }
}

TEST(PageScale, MillimetresTruncateToDevicePixels) {
  const PageScale scale(PageSize{4960, 7016});
  EXPECT_NEAR(scale.DotsPerMmX(), 23.619, 0.001);
  EXPECT_NEAR(scale.DotsPerMmY(), 23.622, 0.001);
  EXPECT_EQ(scale.ToDevice({10, 5}), (PixelPoint{236, 118}));

  PageDocument document;
  Cursor at = document.StartPage(true, 5);
  PrintLine(document, at, 10, 10, 6, "Задание");
  RecordingCanvas canvas;
  document.Render(scale, canvas);
  EXPECT_EQ(canvas.Find("Задание")->at, (PixelPoint{236, 118}));
  // The page number's corner is the middle of the page in pixels.
  EXPECT_EQ(canvas.Find("- 1 из 1 -")->at, (PixelPoint{2480, 118}));
  EXPECT_EQ(canvas.Find("- 1 из 1 -")->font, (Font{"Arial", 7}));
}

}  // namespace
}  // namespace ohmara
