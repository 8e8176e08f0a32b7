#pragma once
// What the editor's fuzz targets share: reading a scheme text without a file,
// comparing drawings the way a save and a load must keep them, and checking
// that a drawing's table is one the branch-table reader and "Тест" accept.

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "editor/drawing_to_table.h"
#include "editor/editor_error.h"
#include "editor/scheme_file.h"
#include "fuzz_check.h"
#include "model/branch_table_file.h"
#include "model/number_text.h"

namespace ohmara::fuzz {

inline std::optional<SheetDrawing> ReadScheme(const std::string& text) {
  try {
    return ParseSchemeText(text, "fuzz.sch");
  } catch (const EditorError& refusal) {
    FUZZ_CHECK(std::string(refusal.what()).starts_with("Файл «fuzz.sch», строка "), "a refusal names file and line");
    return std::nullopt;
  }
}

using CellSet = std::set<std::pair<int, int>>;

inline CellSet Cells(const std::vector<GridCell>& cells) {
  CellSet set;
  for (const GridCell& c : cells) set.insert({c.X, c.Y});
  return set;
}

// The cells a drawing's branches and wires stand on.
inline CellSet DrawnCells(const SheetDrawing& drawing) {
  CellSet set;
  for (const SheetBranch& b : drawing.Branches()) set.merge(Cells(Footprint(b)));
  for (const Connection& w : drawing.Connections()) set.merge(Cells(w.Points));
  return set;
}

inline bool SameDrawing(const SheetDrawing& a, const SheetDrawing& b) {
  return a.Branches() == b.Branches() && a.Connections() == b.Connections() &&
         Cells(a.Occupied().Cells()) == Cells(b.Occupied().Cells());
}

inline bool IsNodeNumber(std::string_view text) {
  return !text.empty() && text.size() <= 9 && text.front() != '0' &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A value cell as "Тест" reads it: empty is 0.
inline double CellValue(const std::string& text) { return text.empty() ? 0.0 : StrToFloat(text); }

// The exported table reads back whole; every name is "a->b" with nodes
// numbered 1, 2, ... in order of first appearance; every value is a number.
inline BranchTable CheckDrawingTable(const SheetDrawing& drawing, const std::string& text) {
  const BranchFileReading reading = ParseBranchTableText(text);
  FUZZ_CHECK(reading.ok(), "the drawing's table reads back");
  FUZZ_CHECK(reading.table.size() == drawing.Branches().size(), "one row per drawn branch");
  int nextNode = 1;
  for (const BranchRow& row : reading.table) {
    const std::string& name = row[kNameColumn];
    const size_t arrow = name.find("->");
    FUZZ_CHECK(arrow != std::string::npos, "a name holds an arrow");
    for (const std::string_view node :
         {std::string_view(name).substr(0, arrow), std::string_view(name).substr(arrow + 2)}) {
      FUZZ_CHECK(IsNodeNumber(node), "a node is a number from 1");
      const int number = std::stoi(std::string(node));
      FUZZ_CHECK(number <= nextNode, "nodes are numbered in order of first appearance");
      if (number == nextNode) ++nextNode;
    }
    for (int c = kNameColumn + 1; c < kBranchColumns; ++c) CellValue(row[c]);  // throws on a non-number
  }
  return reading.table;
}

}  // namespace ohmara::fuzz
