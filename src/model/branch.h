#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/complex.h"

namespace ohmara {

// One branch a->b of the circuit: a series R, L, C and source. The element
// values live in the table; the model keeps what the analysis computed.
struct CircuitBranch {
  int From = 0;
  int To = 0;
  Complex Z;  // impedance, ohms
  Complex E;  // source phasor, volts, driving From -> To
  Complex J;  // current source in parallel with the series part, amperes, From -> To
  // The branch is an ideal current source alone: no impedance, no EMF.
  bool IdealCurrentSource = false;
  // k for the k-th branch (table order) joining the same two nodes; 1 for the first.
  int Parallel = 1;
};

// The EMF that stands for the branch in a loop or at a node: a current source
// J beside the series impedance Z acts as an EMF J·Z in series with it.
Complex TheveninEmf(const CircuitBranch& branch);

// Columns of one row of the branch table.
enum BranchColumn {
  kNameColumn = 0,
  kRColumn,
  kLColumn,
  kCColumn,
  kEColumn,
  kAngleColumn,
  kJColumn,  // shown only for extended circuits
  kJAngleColumn,
  kBranchColumns
};

// The columns of a table that uses no current source: the grid, the files
// and the report show only these while extended circuits are off.
constexpr int kClassicColumns = kJColumn;

// How many columns the grid shows.
inline int TableColumns(bool extended) { return extended ? kBranchColumns : kClassicColumns; }

// The texts of one data row of the branch table, exactly as typed.
using BranchRow = std::array<std::string, kBranchColumns>;
// Data rows 1..BranchCount of the table (the title row is not part of it).
using BranchTable = std::vector<BranchRow>;

// Whether a row has a current source typed in (its J or its angle).
bool UsesCurrentSource(const BranchRow& row);
bool UsesCurrentSource(const BranchTable& table);

// The column titles of the title row.
const BranchRow& BranchTableTitles();

// Where a cell of the branch table stands, as a refusal names it:
// "Ветвь 3 (2->4), столбец «E, В»" (`rowNumber` 1-based, the branch's name as
// typed, the column title of the grid).
std::string BranchCellPlace(const BranchRow& row, int rowNumber, int column);

}  // namespace ohmara
