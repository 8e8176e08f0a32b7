#pragma once
// Lines of text and ruled tables at whole-millimetre positions, each moving
// the caller's cursor down past what it printed.

#include <span>
#include <string>

#include "model/text_views.h"
#include "printing/page_document.h"

namespace ohmara {

constexpr int kTableCellWidthMm = 26;
constexpr int kTableRowHeightMm = 5;
constexpr int kWidestPrintableTable = 32;
inline constexpr const char* kTableTooWideMessage = "Can't print - table is very big ";

// `text` in "Times New Roman" of `size` points with its top-left corner at
// (x, at.y); then at.y += dy.
void PrintLine(PageDocument& document, Cursor& at, int x, int size, int dy, const std::string& text);

// A heading: 10 points, 6 mm down.
void PrintHeading(PageDocument& document, Cursor& at, int x, const std::string& text);

// The lines of a memo: 8 points, 5 mm apart.
void PrintMemoLines(PageDocument& document, Cursor& at, int x, std::span<const std::string> lines);

// A ruled table of table.rows x table.cols cells 26 x 5 mm in "Arial" 7,
// drawn in blocks of up to eight columns one below another, with its left
// edge at x0 (at 1 mm when it has more than 16 columns, which also breaks
// pages at fixed points). A table of more than 32 columns is not printed:
// the document gets kTableTooWideMessage instead.
void PrintTable(PageDocument& document, Cursor& at, const GridCells& table, int x0);

}  // namespace ohmara
