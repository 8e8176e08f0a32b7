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

const Font& TableFont() {
  static const Font font{"Arial", 7};
  return font;
}

// Columns firstCol .. firstCol + textCols - 1 of the table, ruled
// ruledCols wide (more than textCols only for the last block of the widest
// tables, whose rules always span eight columns); widths[j] is the j-th
// ruled column's width.
struct Block {
  int firstCol = 0;
  int textCols = 0;
  int ruledCols = 0;
  int left = 0;
  std::vector<int> widths;

  int ColumnLeft(int j) const { return left + std::accumulate(widths.begin(), widths.begin() + j, 0); }
};

// Columns firstCol .. lastCol at `left`, ruled at least ruledCols wide, as
// blocks one below another: a block takes as many columns as fit across the
// sheet, at least one.
std::vector<Block> ColumnsFrom(const std::vector<int>& widths, int firstCol, int lastCol, int left,
                               int ruledCols = 0) {
  std::vector<Block> blocks;
  for (int col = firstCol; col <= lastCol;) {
    Block block{col, 0, 0, left, {}};
    int right = left;
    while (col <= lastCol && (block.textCols == 0 || right + widths[col] <= kSheetWidthMm)) {
      right += widths[col];
      block.widths.push_back(widths[col++]);
      ++block.textCols;
    }
    block.ruledCols = block.textCols;
    blocks.push_back(std::move(block));
  }
  Block& last = blocks.back();
  int right = last.ColumnLeft(last.ruledCols);
  while (last.ruledCols < ruledCols && right + kTableCellWidthMm <= kSheetWidthMm) {
    last.widths.push_back(kTableCellWidthMm);
    right += kTableCellWidthMm;
    ++last.ruledCols;
  }
  return blocks;
}

// Rows firstRow .. firstRow + rowCount - 1 of a block, top at `top`: their
// texts, then the horizontal and the vertical rules.
void PrintBlockPiece(PageDocument& document, int page, int top, const GridCells& table, const Block& block,
                     int firstRow, int rowCount) {
  for (int r = 0; r < rowCount; ++r)
    for (int j = 0; j < block.textCols; ++j)
      document.Add(page, PrintedText{{block.ColumnLeft(j) + 1, top + kTableRowHeightMm * r + 1},
                                     TableFont(), table.Cell(block.firstCol + j, firstRow + r)});
  const int right = block.ColumnLeft(block.ruledCols);
  for (int r = 0; r <= rowCount; ++r) {
    const int y = top + kTableRowHeightMm * r;
    document.Add(page, PrintedLine{{block.left, y}, {right, y}});
  }
  const int bottom = top + kTableRowHeightMm * rowCount;
  for (int j = 0; j <= block.ruledCols; ++j) {
    const int x = block.ColumnLeft(j);
    document.Add(page, PrintedLine{{x, top}, {x, bottom}});
  }
}

// A block that would run past the bottom of the page moves to the next page
// when it fits there whole; one taller than a page is split between rows,
// each piece ruled as a table of its own. Leaves a 5 mm gap below.
void PrintBlock(PageDocument& document, Cursor& at, const GridCells& table, const Block& block) {
  const int height = kTableRowHeightMm * table.rows;
  if (!FitsOnPage(at.y, height) && FitsOnPage(kContinuationTopMm, height)) at = document.ContinueOnNextPage(at);
  int row = 0;
  do {
    if (row < table.rows && !FitsOnPage(at.y, kTableRowHeightMm)) at = document.ContinueOnNextPage(at);
    const int roomRows = (kPageBottomMm - at.y) / kTableRowHeightMm;
    const int rowCount = std::max(0, std::min(roomRows, table.rows - row));
    PrintBlockPiece(document, at.page, at.y, table, block, row, rowCount);
    at.y += kTableRowHeightMm * rowCount;
    row += rowCount;
  } while (row < table.rows);
  at.y += kTableRowHeightMm;
}

void PrintBlocks(PageDocument& document, Cursor& at, const GridCells& table, const std::vector<Block>& blocks) {
  for (const Block& block : blocks) PrintBlock(document, at, table, block);
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
void PrintWideTable(PageDocument& document, Cursor& at, const GridCells& table) {
  const int cols = table.cols;
  const int left = kWideTableLeftMm;
  const std::vector<int> widths = ColumnWidths(table);
  const auto group = [&](int first, int last, int ruled = 0) {
    PrintBlocks(document, at, table, ColumnsFrom(widths, first, last, left, ruled));
  };
  group(0, 7);
  group(8, 15);
  if (cols <= 18) {
    group(16, cols - 1);
    at = document.StartPage(true, kContinuationTopMm);
    return;
  }
  StartContinuationPage(document, at);
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

}  // namespace

std::vector<int> ColumnWidths(const GridCells& table) {
  std::vector<int> widths(table.cols, kTableCellWidthMm);
  for (int c = 0; c < table.cols; ++c)
    for (int r = 0; r < table.rows; ++r)
      widths[c] = std::max(widths[c], static_cast<int>(std::ceil(TextWidthMm(TableFont(), table.Cell(c, r)))) + 2);
  return widths;
}

void PrintLine(PageDocument& document, Cursor& at, int x, int size, int dy, const std::string& text) {
  if (!FitsOnPage(at.y, dy)) at = document.ContinueOnNextPage(at);
  document.Add(at.page, PrintedText{{x, at.y}, Font{"Times New Roman", size}, text});
  at.y += dy;
}

void PrintHeading(PageDocument& document, Cursor& at, int x, const std::string& text) {
  PrintLine(document, at, x, 10, 6, text);
}

void PrintMemoLines(PageDocument& document, Cursor& at, int x, std::span<const std::string> lines) {
  for (const std::string& line : lines) PrintLine(document, at, x, 8, 5, line);
}

void PrintTable(PageDocument& document, Cursor& at, const GridCells& table, int x0) {
  const int cols = table.cols;
  if (cols > 2 * kBlockColumns) {
    PrintWideTable(document, at, table);
    return;
  }
  const std::vector<int> widths = ColumnWidths(table);
  PrintBlocks(document, at, table, ColumnsFrom(widths, 0, std::min(cols, kBlockColumns) - 1, x0));
  if (cols > kBlockColumns) PrintBlocks(document, at, table, ColumnsFrom(widths, kBlockColumns, cols - 1, x0));
}

}  // namespace ohmara
