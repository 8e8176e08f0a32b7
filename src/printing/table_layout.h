#pragma once
// Lines of text and ruled tables at whole-millimetre positions, each moving
// the caller's cursor down past what it printed.

#include <span>
#include <string>
#include <vector>

#include "model/text_views.h"
#include "printing/page_document.h"

namespace ohmara {

constexpr int kTableCellWidthMm = 26;
constexpr int kTableRowHeightMm = 5;

// What a table's title is followed by on the pages it continues on.
inline constexpr const char* kContinued = " (продолжение)";

// How a table is headed and numbered.
struct TableStyle {
  // Printed, with " (продолжение)", at titleX above the first piece of the
  // table on every page after the one it began on; empty: nothing.
  std::string title;
  int titleX = 10;
  // Rows at the top repeated above every piece the table is split into.
  int headerRows = 0;
  // A header row of column numbers and a key column of row numbers are added
  // (and repeated), and the columns go in blocks as many as fit across the
  // sheet, with no fixed page breaks.
  bool numbered = false;
  // Column 0 names the rows: repeated at the left of every block the other
  // columns go on in when they do not fit across the sheet.
  bool keyColumn = false;
};

// The width of the table printed numbered in one block.
int NumberedTableWidthMm(const GridCells& table);

// Each column's width in a printed table: its widest text with a millimetre
// either side, and never narrower than the standard cell.
std::vector<int> ColumnWidths(const GridCells& table);

// Fewer lines than this are never carried alone onto another page when
// breaking earlier avoids it.
constexpr int kLeastCarriedLines = 3;

// Of `left` lines (or table rows) with room for `room` of them on this page,
// how many go here: all that fit, less as many as the next page needs to
// carry at least kLeastCarriedLines.
int LinesBeforeBreak(int room, int left);

// `text` in "Times New Roman" of `size` points with its top-left corner at
// (x, at.y); then at.y += dy.
void PrintLine(PageDocument& document, Cursor& at, int x, int size, int dy, const std::string& text);

// A heading: 10 points, 6 mm down.
void PrintHeading(PageDocument& document, Cursor& at, int x, const std::string& text);

// The lines of a memo: 8 points, 5 mm apart, never a continuation of
// fewer than kLeastCarriedLines on the next page when avoidable.
void PrintMemoLines(PageDocument& document, Cursor& at, int x, std::span<const std::string> lines);

// The same with each line at a place of its own across the page (the pieces
// of wrapped lines, indented under the first).
struct PlacedLine {
  int x = 0;
  std::string text;
};
void PrintMemoLines(PageDocument& document, Cursor& at, std::span<const PlacedLine> lines);

// A ruled table of table.rows x table.cols cells in "Arial" 7, 5 mm high and
// 26 mm wide or as wide as the column's widest text, drawn in blocks of up
// to eight columns one below another (fewer when eight would not fit across
// the sheet), with its left edge at x0 (at 1 mm when it has more than 16
// columns, which also breaks pages at fixed points). Every column is printed,
// however many there are.
void PrintTable(PageDocument& document, Cursor& at, const GridCells& table, int x0, const TableStyle& style = {});

}  // namespace ohmara
