#include "printing/table_layout.h"

#include <algorithm>

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
// tables, whose rules always span eight columns).
struct Block {
  int firstCol = 0;
  int textCols = 0;
  int ruledCols = 0;
  int left = 0;
};

Block ColumnsFrom(int firstCol, int lastCol, int left) {
  const int count = lastCol - firstCol + 1;
  return {firstCol, count, count, left};
}

// Rows firstRow .. firstRow + rowCount - 1 of a block, top at `top`: their
// texts, then the horizontal and the vertical rules.
void PrintBlockPiece(PageDocument& document, int page, int top, const GridCells& table, const Block& block,
                     int firstRow, int rowCount) {
  for (int r = 0; r < rowCount; ++r)
    for (int j = 0; j < block.textCols; ++j)
      document.Add(page, PrintedText{{block.left + kTableCellWidthMm * j + 1, top + kTableRowHeightMm * r + 1},
                                     TableFont(), table.Cell(block.firstCol + j, firstRow + r)});
  const int right = block.left + kTableCellWidthMm * block.ruledCols;
  for (int r = 0; r <= rowCount; ++r) {
    const int y = top + kTableRowHeightMm * r;
    document.Add(page, PrintedLine{{block.left, y}, {right, y}});
  }
  const int bottom = top + kTableRowHeightMm * rowCount;
  for (int j = 0; j <= block.ruledCols; ++j) {
    const int x = block.left + kTableCellWidthMm * j;
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

void StartContinuationPage(PageDocument& document, Cursor& at) {
  at = document.StartPage(true, kContinuationTopMm);
  document.Add(at.page, PrintedText{{5, kContinuationTopMm}, TableFont(), "Продолжение таблицы"});
  at.y = kContinuedTableTopMm;
}

// 17 to 32 columns: eight-column blocks from the left edge of the page,
// breaking pages where the third block begins or ends.
void PrintWideTable(PageDocument& document, Cursor& at, const GridCells& table) {
  const int cols = table.cols;
  if (cols > kWidestPrintableTable) {
    document.AddMessage(kTableTooWideMessage);
    return;
  }
  const int left = kWideTableLeftMm;
  PrintBlock(document, at, table, ColumnsFrom(0, 7, left));
  PrintBlock(document, at, table, ColumnsFrom(8, 15, left));
  if (cols <= 18) {
    PrintBlock(document, at, table, ColumnsFrom(16, cols - 1, left));
    at = document.StartPage(true, kContinuationTopMm);
    return;
  }
  StartContinuationPage(document, at);
  if (cols <= 24) {
    PrintBlock(document, at, table, ColumnsFrom(16, cols - 1, left));
    return;
  }
  PrintBlock(document, at, table, ColumnsFrom(16, 23, left));
  PrintBlock(document, at, table, {24, cols - 24, kBlockColumns, left});
  at = document.StartPage(false, kContinuationTopMm);
}

}  // namespace

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
  } else if (cols <= kBlockColumns) {
    PrintBlock(document, at, table, ColumnsFrom(0, cols - 1, x0));
  } else {
    PrintBlock(document, at, table, ColumnsFrom(0, 7, x0));
    PrintBlock(document, at, table, ColumnsFrom(8, cols - 1, x0));
  }
}

}  // namespace ohmara
