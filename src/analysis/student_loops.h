#pragma once
// Loops as a student chose them in a hand solution, typed as node sequences
// ("1-2-3-1", one loop a line, the direction as written; where several
// branches join two nodes, the node reached takes the number of the branch
// taken, as loops name them: "1-2_2-3-1" goes from 1 to 2 along the second
// branch between them): read, checked to
// be a complete set of independent loops along the circuit's branches, and
// solved by loop currents, so the student's own matrix and loop currents can
// be marked.

#include <string>
#include <string_view>
#include <vector>

#include "analysis/linear_solver.h"
#include "model/branch.h"
#include "model/circuit.h"
#include "model/complex.h"

namespace ohmara {

using OrientedLoop = std::vector<LoopStep>;

// Why a set of typed loops cannot be used; loops are numbered from 1 as the
// lines that hold them are counted (blank lines not counted).
struct LoopRefusal {
  enum class Kind {
    Unreadable,  // the line is not a sequence of node numbers
    TooShort,    // fewer than two steps
    NotClosed,   // it does not end where it starts
    NoNode,      // `nodeA` is not a node of the circuit
    NoBranch,    // no branch joins `nodeA` and `nodeB` (none numbered `parallel`, when given)
    Ambiguous,   // several branches join `nodeA` and `nodeB`: `choices` names them
    NodeTwice,   // it passes `nodeA` twice
    Repeats,     // the same loop as loop `other`, in either direction
    Dependent,   // a combination of the loops before it
    TooFew,      // `given` loops where `needed` are needed
    TooMany,
    // The circuit has an ideal current source (the branch in `choices`): the
    // method gives it a loop of its own whose current is known, which typed
    // loops cannot say.
    IdealSource,
  };
  Kind kind = Kind::Unreadable;
  int loop = 0;
  int other = 0;
  int nodeA = 0;
  int nodeB = 0;
  int needed = 0;
  int given = 0;
  int parallel = 0;
  std::vector<std::string> choices;  // the branches as loops name them: "1->2", "2->1_2"
};

struct StudentLoops {
  std::vector<OrientedLoop> loops;
  bool accepted = false;
  LoopRefusal refusal;  // when not accepted
};

// Refuses a circuit with an ideal current source; else reads one loop a line
// and checks them in this order: each line (its
// numbers, nodes, branches, closure), then the count against
// m − n + 1, then independence; the first fault is the refusal. `nodeCount`
// is the number of nodes of the connected circuit of `branches`.
StudentLoops ReadStudentLoops(std::string_view text, const std::vector<CircuitBranch>& branches, int nodeCount);

// A loop as a node sequence "1-2-3-1", the form ReadStudentLoops reads: a
// node reached along one of several branches between two nodes carries that
// branch's number ("1-2_1-3-1").
std::string LoopNodesText(const OrientedLoop& loop, const std::vector<CircuitBranch>& branches);

// The loop-current solution over `loops`: the loop impedance matrix with the
// loop sources as its last column, the loop currents, and every branch's
// current From -> To in table order. Throws SingularSystem as the method does.
struct LoopCurrentSolution {
  ComplexMatrix system;
  std::vector<Complex> loopCurrents;
  std::vector<Complex> branchCurrents;
};
LoopCurrentSolution SolveByLoops(const std::vector<CircuitBranch>& branches, const std::vector<OrientedLoop>& loops);

}  // namespace ohmara
