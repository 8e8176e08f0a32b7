#pragma once
// The circuit check behind "Тест": the gate every analysis waits for. It
// rebuilds the circuit model from the branch table in one pass and says which
// of its three checks passed and where the first fault lies; the windows show
// the report.

#include "analysis/branch_impedances.h"
#include "analysis/loop_search.h"
#include "analysis/result_views.h"
#include "model/circuit.h"
#include "model/results_directory.h"

namespace ohmara {

struct CircuitCheckOutcome {
  ParseResult parseResult = ParseResult::Ok;
  LoopSearchResult loopResult = LoopSearchResult::Found;  // meaningful when the table parsed
  bool passed = false;                                    // all three checks passed; NeedsTest cleared
  int m = 0, n = 0;                                       // real branches and real nodes, when passed
  CircuitFault fault;  // the first fault the check met and its place; Kind::None when passed
};

// Everything "Тест" does except showing the report: empties out.txt, sets NeedsTest, parses; once
// the table parsed clears the five memos of the mesh-current window in the order loops, branchValues,
// loopCurrents, powerBalance, branchCurrents, computes impedances, builds adjacency, finds loops, and on
// success counts real nodes and clears NeedsTest. A bad number cell or a zero divisor throws
// (ConversionError, DivisionByZero) with NeedsTest still set. state.Extended, set by the caller, lets
// the table repeat node pairs, hold current sources and be one loop.
CircuitCheckOutcome RunCircuitCheck(CircuitState& state, const BranchTable& table, const FrequencySetting& frequency,
                                    ResultsDirectory& results, MeshViews& views);

// Why `zeroNode` cannot be the zero node of the tested `state`: it is none
// of its nodes; or, where a junction is needed (the optimal method), the
// circuit has no junction at all, or the node is not one. Checked in this order.
enum class ZeroNodeRefusal { None, NotANode, NoJunctions, NotAJunction };
ZeroNodeRefusal ZeroNodeRefusalOf(const CircuitState& state, int zeroNode, bool junctionNeeded);

}  // namespace ohmara
