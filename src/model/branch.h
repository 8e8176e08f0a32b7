#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/complex.h"

namespace ohmara {

// One branch a->b of the circuit: a series R, L, C and source. The element
// values live in the table; the model keeps what the analysis computed.
struct TBranch {
  int From = 0;
  int To = 0;
  Complex Z;        // impedance, ohms
  Complex E;        // source phasor, volts, driving From -> To
};

// Columns of one row of the branch table.
enum BranchColumn { kNameColumn = 0, kRColumn, kLColumn, kCColumn, kEColumn, kAngleColumn, kBranchColumns };

// The texts of one data row of the branch table, exactly as typed.
using BranchRow = std::array<std::string, kBranchColumns>;
// Data rows 1..BranchCount of the table (the title row is not part of it).
using BranchTable = std::vector<BranchRow>;

// The six column titles of the title row.
const BranchRow& BranchTableTitles();

}  // namespace ohmara
