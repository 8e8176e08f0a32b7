#include "printing/table_layout.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "printing/text_metrics.h"

namespace ohmara {

namespace {

constexpr int kBlockColumns = 8;
constexpr int kWideTableLeftMm = 1;
constexpr int kContinuedTableTopMm = 15;
constexpr int kHeadingStepMm = 6;
constexpr int kCellPaddingMm = 2;  // a millimetre either side of the text

const Font& TableFont() {
  static const Font font{"Arial", 7};
  return font;
}

int TextCellWidth(const std::string& text) {
  return static_cast<int>(std::ceil(TextWidthMm(TableFont(), text))) + kCellPaddingMm;
}

// The table columns a block prints, left to right, and the width of each
// ruled column; there are more widths than columns only for the last block
// of the widest tables, whose rules always span eight columns.
struct Block {
  std::vector<int> columns;
  std::vector<int> widths;
  int left = 0;

  int ColumnLeft(int j) const { return left + std::accumulate(widths.begin(), widths.begin() + j, 0); }
  int Right() const { return ColumnLeft(static_cast<int>(widths.size())); }
};

// Columns firstCol .. lastCol at `left`, ruled at least ruledCols wide, as
// blocks one below another: a block takes as many columns as fit across the
// sheet, at least one. A key column (keyWidth > 0) is column 0 and leads
// every block.
std::vector<Block> ColumnsFrom(const std::vector<int>& widths, int sheetWidth, int firstCol, int lastCol, int left,
                               int ruledCols = 0, int keyWidth = 0) {
  std::vector<Block> blocks;
  for (int col = firstCol; col <= lastCol;) {
    Block block{{}, {}, left};
    if (keyWidth > 0) {
      block.columns.push_back(0);
      block.widths.push_back(keyWidth);
    }
    const size_t keyCount = block.columns.size();
    while (col <= lastCol && (block.columns.size() == keyCount || block.Right() + widths[col] <= sheetWidth)) {
      block.columns.push_back(col);
      block.widths.push_back(widths[col++]);
    }
    blocks.push_back(std::move(block));
  }
  Block& last = blocks.back();
  while (static_cast<int>(last.widths.size()) < ruledCols && last.Right() + kTableCellWidthMm <= sheetWidth)
    last.widths.push_back(kTableCellWidthMm);
  return blocks;
}

// One printing of a table: how it is headed when it continues on another
// page, and on which pages that heading already stands.
struct TableRun {
  const TableStyle& style;
  int firstPage = 0;
  int headerRows = 0;
  int titledPage = -1;
};

// `rows` of a block, top at `top`: their texts, then the horizontal and the
// vertical rules.
void PrintBlockPiece(PageDocument& document, int page, int top, const GridCells& table, const Block& block,
                     const std::vector<int>& rows) {
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t j = 0; j < block.columns.size(); ++j)
      document.Add(page, PrintedText{{block.ColumnLeft(static_cast<int>(j)) + 1,
                                      top + kTableRowHeightMm * static_cast<int>(r) + 1},
                                     TableFont(),
                                     table.Cell(block.columns[j], rows[r])});
  const int right = block.Right();
  const int rowCount = static_cast<int>(rows.size());
  for (int r = 0; r <= rowCount; ++r) {
    const int y = top + kTableRowHeightMm * r;
    document.Add(page, PrintedLine{{block.left, y}, {right, y}});
  }
  const int bottom = top + kTableRowHeightMm * rowCount;
  for (int j = 0; j <= static_cast<int>(block.widths.size()); ++j) {
    const int x = block.ColumnLeft(j);
    document.Add(page, PrintedLine{{x, top}, {x, bottom}});
  }
}

// On a page after the one the table began on, its title with
// "(продолжение)" above the first piece there.
void TitleContinuation(PageDocument& document, Cursor& at, TableRun& run) {
  if (run.style.title.empty() || at.page == run.firstPage || run.titledPage == at.page) return;
  document.Add(at.page,
               PrintedText{{run.style.titleX, at.y}, Font{"Times New Roman", 10}, run.style.title + kContinued});
  at.y += kHeadingStepMm;
  run.titledPage = at.page;
}

// A block that would run past the bottom of the page moves to the next page
// when it fits there whole; one taller than a page is split between rows,
// each piece ruled as a table of its own under the repeated heading rows.
// Leaves a 5 mm gap below.
void PrintBlock(PageDocument& document, Cursor& at, const GridCells& table, const Block& block, TableRun& run) {
  const int headerRows = std::min(run.headerRows, table.rows);
  const int titleHeight = run.style.title.empty() ? 0 : kHeadingStepMm;
  const int height = kTableRowHeightMm * table.rows;
  if (!document.Fits(at.y, height) && document.Fits(kContinuationTopMm + titleHeight, height))
    at = document.ContinueOnNextPage(at);
  int row = headerRows;
  bool first = true;
  do {
    // A piece after the first ends where the page or an early break ended the one before it.
    if (!first || !document.Fits(at.y, kTableRowHeightMm * (headerRows + 1))) at = document.ContinueOnNextPage(at);
    TitleContinuation(document, at, run);
    std::vector<int> rows(headerRows);
    std::iota(rows.begin(), rows.end(), 0);
    const int roomRows = (document.Bottom() - at.y) / kTableRowHeightMm - headerRows;
    const int room = std::max(0, roomRows);
    // A row at least where there is room for one: a piece is never a bare header.
    const int bodyRows =
        std::min(table.rows - row, std::max(std::min(1, room), LinesBeforeBreak(room, table.rows - row)));
    for (int r = 0; r < bodyRows; ++r) rows.push_back(row + r);
    PrintBlockPiece(document, at.page, at.y, table, block, rows);
    at.y += kTableRowHeightMm * static_cast<int>(rows.size());
    row += bodyRows;
    first = false;
  } while (row < table.rows);
  at.y += kTableRowHeightMm;
}

void PrintBlocks(PageDocument& document, Cursor& at, const GridCells& table, const std::vector<Block>& blocks,
                 TableRun& run) {
  for (const Block& block : blocks) PrintBlock(document, at, table, block, run);
}

void StartContinuationPage(PageDocument& document, Cursor& at) {
  at = document.StartPage(true, kContinuationTopMm);
  document.Add(at.page, PrintedText{{5, kContinuationTopMm}, TableFont(), "Продолжение таблицы"});
  at.y = kContinuedTableTopMm;
}

// More than 16 columns: eight-column groups from the left edge of the page,
// breaking pages where the third group begins and, from 25 columns, after
// the last group, whose rules span eight columns. Groups past the fourth
// follow on as the page allows.
void PrintWideTable(PageDocument& document, Cursor& at, const GridCells& table, TableRun& run) {
  const int cols = table.cols;
  const int left = kWideTableLeftMm;
  const std::vector<int> widths = ColumnWidths(table);
  const auto group = [&](int first, int last, int ruled = 0) {
    PrintBlocks(document, at, table, ColumnsFrom(widths, document.Paper().width, first, last, left, ruled), run);
  };
  group(0, 7);
  group(8, 15);
  if (cols <= 18) {
    group(16, cols - 1);
    at = document.StartPage(true, kContinuationTopMm);
    return;
  }
  StartContinuationPage(document, at);
  run.titledPage = at.page;
  if (cols <= 24) {
    group(16, cols - 1);
    return;
  }
  group(16, 23);
  for (int first = 24; first < cols; first += kBlockColumns) {
    const int last = std::min(first + kBlockColumns - 1, cols - 1);
    group(first, last, last == cols - 1 ? kBlockColumns : 0);
  }
  at = document.StartPage(true, kContinuationTopMm);
}

// The table with a header row of column numbers and a key column of row
// numbers, both counted from 1.
GridCells WithIndices(const GridCells& table) {
  GridCells numbered;
  numbered.rows = table.rows + 1;
  numbered.cols = table.cols + 1;
  for (int c = 0; c < table.cols; ++c) numbered.SetCell(c + 1, 0, std::to_string(c + 1));
  for (int r = 0; r < table.rows; ++r) {
    numbered.SetCell(0, r + 1, std::to_string(r + 1));
    for (int c = 0; c < table.cols; ++c) numbered.SetCell(c + 1, r + 1, table.Cell(c, r));
  }
  return numbered;
}

// A numbered matrix: its columns in blocks as many as fit across the sheet,
// each led by the row numbers, one below another as the pages allow.
void PrintNumberedTable(PageDocument& document, Cursor& at, const GridCells& table, int x0, TableRun& run) {
  const GridCells numbered = WithIndices(table);
  const std::vector<int> widths = ColumnWidths(numbered);
  const int keyWidth = TextCellWidth(std::to_string(table.rows));
  const int across = document.Paper().width;
  PrintBlocks(document, at, numbered, ColumnsFrom(widths, across, 1, numbered.cols - 1, x0, 0, keyWidth), run);
}

}  // namespace

std::vector<int> ColumnWidths(const GridCells& table) {
  std::vector<int> widths(table.cols, kTableCellWidthMm);
  for (int c = 0; c < table.cols; ++c)
    for (int r = 0; r < table.rows; ++r) widths[c] = std::max(widths[c], TextCellWidth(table.Cell(c, r)));
  return widths;
}

int NumberedTableWidthMm(const GridCells& table) {
  const std::vector<int> widths = ColumnWidths(WithIndices(table));
  return TextCellWidth(std::to_string(table.rows)) + std::accumulate(widths.begin() + 1, widths.end(), 0);
}

void PrintLine(PageDocument& document, Cursor& at, int x, int size, int dy, const std::string& text) {
  if (!document.Fits(at.y, dy)) at = document.ContinueOnNextPage(at);
  document.Add(at.page, PrintedText{{x, at.y}, Font{"Times New Roman", size}, text});
  at.y += dy;
}

void PrintHeading(PageDocument& document, Cursor& at, int x, const std::string& text) {
  PrintLine(document, at, x, 10, 6, text);
}

int LinesBeforeBreak(int room, int left) {
  if (left <= room) return left;
  const int carried = left - room;
  if (carried >= kLeastCarriedLines) return room;
  return std::max(0, room - (kLeastCarriedLines - carried));
}

void PrintMemoLines(PageDocument& document, Cursor& at, std::span<const PlacedLine> lines) {
  constexpr int kLineStepMm = 5;
  while (!lines.empty()) {
    const int room = std::max(0, (document.Bottom() - at.y) / kLineStepMm);
    const auto here = static_cast<size_t>(LinesBeforeBreak(room, static_cast<int>(lines.size())));
    for (const PlacedLine& line : lines.first(here)) PrintLine(document, at, line.x, 8, kLineStepMm, line.text);
    lines = lines.subspan(here);
    if (!lines.empty()) at = document.ContinueOnNextPage(at);
  }
}

void PrintMemoLines(PageDocument& document, Cursor& at, int x, std::span<const std::string> lines) {
  std::vector<PlacedLine> placed;
  placed.reserve(lines.size());
  for (const std::string& line : lines) placed.push_back({x, line});
  PrintMemoLines(document, at, placed);
}

void PrintTable(PageDocument& document, Cursor& at, const GridCells& table, int x0, const TableStyle& style) {
  TableRun run{style, at.page, style.numbered ? 1 : style.headerRows};
  if (style.numbered) {
    PrintNumberedTable(document, at, table, x0, run);
    return;
  }
  const int cols = table.cols;
  if (cols > 2 * kBlockColumns) {
    PrintWideTable(document, at, table, run);
    return;
  }
  const std::vector<int> widths = ColumnWidths(table);
  const int across = document.Paper().width;
  if (style.keyColumn && cols > 1) {
    PrintBlocks(document, at, table, ColumnsFrom(widths, across, 1, cols - 1, x0, 0, widths[0]), run);
    return;
  }
  PrintBlocks(document, at, table, ColumnsFrom(widths, across, 0, std::min(cols, kBlockColumns) - 1, x0), run);
  if (cols > kBlockColumns)
    PrintBlocks(document, at, table, ColumnsFrom(widths, across, kBlockColumns, cols - 1, x0), run);
}

}  // namespace ohmara
