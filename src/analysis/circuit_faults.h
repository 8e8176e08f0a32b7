#pragma once
// The place of a fault the loop search of the circuit test met, and the
// Russian line that names any fault under the test report's table.

#include <string>

#include "model/branch.h"
#include "model/circuit.h"

namespace ohmara {

// Why the loops of a parsed `table` could not be found, `state` as the loop
// search left it: no branch at all, a branch on no loop, a cut of current
// sources in an extended circuit, a loop through fewer than two junctions.
// Kind::None when none of these.
CircuitFault LoopFault(const BranchTable& table, const CircuitState& state);

// The line shown under the test report, empty for Kind::None:
// "Ветвь 3: имя «1-2» написано неверно — нужно «a->b», где a и b — номера
// узлов от 1 до 255." and the like.
std::string CircuitFaultLine(const CircuitFault& fault);

}  // namespace ohmara
