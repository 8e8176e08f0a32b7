#pragma once
// The circuit model every analysis works on, as the last circuit test left
// it, and the operations that build it from the branch table.

#include <optional>
#include <string>
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

// Reads "a->b" into from/to; false for a malformed name, a node above 255 or a
// branch from a node to itself. Several arrows are accepted and the last two
// numbers count ("1->2->3" is 2 -> 3).
bool ParseBranchName(const std::string& name, int& from, int& to);

// Replaces `branches` with one branch per name and checks, in this order: every
// name (each followed by its connectivity step), the number of connected
// pieces, repeated node pairs, gaps in the node numbers. `nodeCount` is set on
// Ok only. On failure the branches up to the failing one carry nodes.
// With `repeatedPairs` allowed, a repeated pair is no fault and each branch
// gets its number among those joining its two nodes (CircuitBranch::Parallel).
ParseResult ParseBranchTable(const std::vector<std::string>& names, std::vector<CircuitBranch>& branches,
                             int& nodeCount, bool repeatedPairs = false);

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
