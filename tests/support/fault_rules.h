#pragma once
// The rules that tie the fault the circuit test names to the test's own
// outcome and to the table it read. Shared by the tests and the fuzz targets.

#include <string>

#include "analysis/circuit_check.h"
#include "model/branch.h"

namespace ohmara {

// For one branch name: an accepted name ends with its two different nodes in
// 1..255; a refused one is refused by the table parse at row 1 for the same
// reason, its number above 255 or its node joined to itself quoted from it.
// The first broken rule in words, or "".
std::string BranchNameRuleBroken(const std::string& name);

// For the outcome of the circuit test of `table`: the fault is None exactly
// when the test passed; its kind belongs to the stage that stopped the test;
// its rows name the table's rows, every row above a bad name reads well, the
// repeated pair is a pair, the missing node is used by no row, the split is
// named by the lowest node and the first node apart from it, the branch on no
// loop is the first such. The first broken rule in words, or "".
std::string FaultRuleBroken(const BranchTable& table, const CircuitCheckOutcome& outcome);

}  // namespace ohmara
