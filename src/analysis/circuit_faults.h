#pragma once
// Where the circuit test found a fault: the row, node or branch behind a
// "Нет" of the test report, and the Russian line that names it under the
// report's table.

#include <string>

#include "model/branch.h"
#include "model/circuit.h"

namespace ohmara {

struct CircuitFault {
  enum class Kind {
    None,                  // the test passed
    MalformedName,         // row, name: not "a->b"
    NodeAboveLimit,        // row, name, detail: a node number above 255
    SelfLoop,              // row, name, node: a branch from a node to itself
    Unreachable,           // node cannot be reached from otherNode
    RepeatedPair,          // otherRow and row (later) join the same two nodes
    MissingNode,           // node is used by no branch, though higher ones are
    NotOnLoop,             // row, name: a branch that lies on no loop
    LoopWithoutJunctions,  // detail: a loop through fewer than two junctions
    NoBranches,            // the table has no branch at all
    CurrentSourceCut,      // detail: the rows of current sources that alone join parts of the circuit
  };
  Kind kind = Kind::None;
  int row = 0;       // 1-based row of the branch at fault
  std::string name;  // its name as typed
  int otherRow = 0;  // RepeatedPair: the earlier row
  std::string otherName;
  int node = 0;
  int otherNode = 0;  // Unreachable: the node it was sought from; MissingNode: the highest node
  std::string detail;
};

// The first fault the circuit test meets in `table`, in the order the test
// checks: every name (row by row), the connectivity, repeated node pairs,
// gaps in the node numbers, then the closedness. `tested` is the state the
// circuit test left for this very table; its loops tell a loop that passes
// through fewer than two junctions. An extended circuit (tested.Extended)
// may repeat node pairs and have no junction, but not a cut of current
// sources.
CircuitFault FindCircuitFault(const BranchTable& table, const CircuitState& tested);

// The line shown under the test report, empty for Kind::None:
// "Ветвь 3: имя «1-2» написано неверно — нужно «a->b», где a и b — номера
// узлов от 1 до 255." and the like.
std::string CircuitFaultLine(const CircuitFault& fault);

}  // namespace ohmara
