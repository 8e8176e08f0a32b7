#pragma once
// The circuit model every analysis works on, as the last circuit test left
// it, and the operations that build it from the branch table.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/branch.h"
#include "model/int_set.h"

namespace ohmara {

// One step of a loop by the branch's identity: its 0-based index in the
// table, travelled along its From -> To (+1) or against it (-1).
struct LoopStep {
  int branch = 0;
  int direction = 1;
};

// One independent loop: copies of its branches in the order of travel, each
// oriented along the loop (a branch travelled backwards has From and To
// exchanged and E negated), and the table index of the branch each step
// travels, by which every user knows the branch again.
struct Loop {
  std::vector<CircuitBranch> Steps;
  std::vector<int> Branches;  // Branches[k]: the index of the branch of Steps[k]
  int StepCount() const { return static_cast<int>(Steps.size()); }
  void AddStep(const CircuitBranch& step, int branch) {
    Steps.push_back(step);
    Branches.push_back(branch);
  }
  // Whether step k runs its branch From -> To (the branch as in the table).
  bool Forward(const std::vector<CircuitBranch>& branches, int k) const {
    return branches[Branches[k]].From == Steps[k].From;
  }
};

// The state of one circuit, owned by the application and passed by reference.
struct CircuitState {
  std::vector<CircuitBranch> Branches;
  int NodeCount = 0;
  std::vector<std::vector<int>> Adjacency;  // NodeCount x NodeCount, 0-based
  IntSet RealNodes;                         // nodes with three or more neighbours
  bool NeedsTest = true;                    // cleared only by a fully passed test
  std::vector<Loop> Loops;                  // LoopCount = Loops.size()
  int LoopCapacity = 0;
  // Parsed as an extended circuit: branches may repeat a node pair, carry a
  // current source, and one loop is a circuit.
  bool Extended = false;
  // The last KnownLoops loops each run through one ideal current source (their
  // last step), whose current is theirs.
  int KnownLoops = 0;

  int BranchCount() const { return static_cast<int>(Branches.size()); }
  int LoopCount() const { return static_cast<int>(Loops.size()); }
};

enum class ParseResult { Ok, Malformed, Disconnected };

constexpr int kMaxNode = 255;

// Why the circuit test refused a table, and where: the row, node or branch
// behind a "Нет" of the test report. The parse of the table fills the kinds
// up to MissingNode; the loop search of the check fills the rest.
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

// A branch name as read: "a->b" gives its two nodes. Several arrows are
// accepted and the last two numbers count ("1->2->3" is 2 -> 3).
struct BranchNameReading {
  // None, or why the name is refused: MalformedName (not numbers without
  // leading zeros joined by arrows), NodeAboveLimit (well spelled, but a
  // number above 255: detail), SelfLoop (the last two numbers are one node).
  CircuitFault::Kind fault = CircuitFault::Kind::MalformedName;
  int from = 0;  // when accepted
  int to = 0;    // when accepted; SelfLoop: the node
  std::string detail;
  bool accepted() const { return fault == CircuitFault::Kind::None; }
};

// The one reader of a branch name.
BranchNameReading ReadBranchName(std::string_view name);

// The two nodes of an accepted name into from/to; false for a refused name.
bool ParseBranchName(std::string_view name, int& from, int& to);

// Replaces `branches` with one branch per name and checks, in this order: every
// name (each followed by its connectivity step), the number of connected
// pieces, repeated node pairs, gaps in the node numbers. `nodeCount` is set on
// Ok only. On failure the branches before the failing one carry nodes, and
// `fault`, when given, receives the first fault with its place.
// With `repeatedPairs` allowed, a repeated pair is no fault and each branch
// gets its number among those joining its two nodes (CircuitBranch::Parallel).
ParseResult ParseBranchTable(const std::vector<std::string>& names, std::vector<CircuitBranch>& branches,
                             int& nodeCount, bool repeatedPairs = false, CircuitFault* fault = nullptr);

// The first branch (table order) that lies on no loop: taken away, it leaves
// its two nodes apart. Nothing when every branch lies on a loop.
std::optional<int> FirstBranchOnNoLoop(const std::vector<CircuitBranch>& branches);

// Whether two branches join the same two nodes, in either direction.
bool HasRepeatedPair(const std::vector<CircuitBranch>& branches);

// Column 0 of every row of the table.
std::vector<std::string> BranchNames(const BranchTable& table);

// NodeCount x NodeCount matrix with 1 where a branch joins the two nodes.
void BuildAdjacency(const std::vector<CircuitBranch>& branches, int nodeCount,
                    std::vector<std::vector<int>>& adjacency);

// m = real branches, n = real nodes; rebuilds state.RealNodes. A node is real
// where three or more branches meet (parallel branches count each).
void CountRealNodes(CircuitState& state, int& m, int& n);

// Index of the first branch joining a and b in either direction; nothing when none.
std::optional<int> FindBranch(const std::vector<CircuitBranch>& branches, int a, int b);

}  // namespace ohmara
