#include "analysis/optimal_node_potential.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "analysis/branch_impedances.h"
#include "analysis/finite_results.h"
#include "analysis/linear_solver.h"
#include "analysis/power_balance.h"
#include "model/errors.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

bool IsReal(const CircuitState& state, int node) { return state.RealNodes.contains(node); }

bool Joins(const CircuitBranch& branch, int p, int q) {
  return (branch.From == p && branch.To == q) || (branch.From == q && branch.To == p);
}

// The working marks of one chain search: which branches a chain has taken.
// They live in the search, so a circuit the method refuses is left as it was.
using GroupedMarks = std::vector<bool>;

// Index of the first branch joining p and q that no chain has taken, or -1.
// The walk asks only for pairs the adjacency joins, but -1 here keeps an
// inconsistent state from sending it round forever.
int FreeJoiningBranch(const std::vector<CircuitBranch>& branches, const GroupedMarks& grouped, int p, int q) {
  for (size_t k = 0; k < branches.size(); ++k)
    if (Joins(branches[k], p, q) && !grouped[k]) return static_cast<int>(k);
  return -1;
}

// Takes a branch into a chain travelled from node `from`.
void AddToChain(Chain& chain, const CircuitBranch& branch, int from) {
  const double along = branch.From == from ? 1.0 : -1.0;
  if (branch.IdealCurrentSource) {
    chain.FixedCurrent = true;
    chain.J = branch.J * along;
    return;
  }
  chain.Z += branch.Z;
  chain.E += TheveninEmf(branch) * along;
}

// Opens a chain at the real end of `first`, whose other end is not real, and
// returns that other end, where the walk goes on.
int StartChain(const CircuitState& state, const CircuitBranch& first, Chain& chain) {
  chain.Prev.assign(state.NodeCount + 1, 0);
  const bool forward = IsReal(state, first.From);
  const int start = forward ? first.From : first.To;
  const int next = forward ? first.To : first.From;
  chain.From = start;
  chain.Inner.add(next);
  chain.Prev[next] = start;
  AddToChain(chain, first, start);
  return next;
}

// The lowest-numbered neighbour of q joined by a branch not yet in a chain;
// 0 when there is none.
int NextPoint(const CircuitState& state, const GroupedMarks& grouped, int q) {
  const std::vector<int>& neighbours = state.Adjacency[q - 1];
  for (int s = 1; s <= static_cast<int>(neighbours.size()); ++s) {
    if (neighbours[s - 1] != 1) continue;
    if (FreeJoiningBranch(state.Branches, grouped, q, s) >= 0) return s;
  }
  return 0;
}

// Follows the chain from q through points that are not real until it reaches
// a real node. Every step takes one more branch into the chain, so the walk
// ends after at most BranchCount steps.
void WalkChain(const CircuitState& state, Chain& chain, int q, GroupedMarks& grouped) {
  while (!IsReal(state, q)) {
    const int s = NextPoint(state, grouped, q);
    if (s == 0)
      throw UnsolvableCircuit(Format("The branches in series from junction %d end at node %d, which joins no "
                                     "further branch",
                                     chain.From, q),
                              q);
    const int joining = FreeJoiningBranch(state.Branches, grouped, q, s);
    chain.Prev[s] = q;
    grouped[joining] = true;
    AddToChain(chain, state.Branches[joining], q);
    if (!IsReal(state, s)) chain.Inner.add(s);
    q = s;
  }
  chain.To = q;
}

// Both ends of a ring share one row, so it would stand in the system as an
// admittance from a node to itself, and a ring at the zero node would address
// a row the system does not have. It is refused instead.
void RefuseRing(const Chain& chain) {
  if (chain.From != chain.To) return;
  throw UnsolvableCircuit(Format("The branches in series from junction %d return to it (a ring); the optimal "
                                 "node-potential method needs every chain to join two different junctions",
                                 chain.From),
                          chain.From);
}

// After the walk every branch is direct or in a chain; one that is neither
// (a circuit without junctions) would get no current.
void RefuseUncoveredBranches(const CircuitState& state, const GroupedMarks& grouped) {
  for (size_t k = 0; k < state.Branches.size(); ++k) {
    const CircuitBranch& branch = state.Branches[k];
    const bool direct = IsReal(state, branch.From) && IsReal(state, branch.To);
    if (!direct && !grouped[k])
      throw UnsolvableCircuit(Format("Branch %d->%d lies on no chain between two junctions", branch.From, branch.To),
                              branch.From);
  }
}

// Rows of the system: the real nodes other than z ascending, then z as row t.
struct RowNumbering {
  std::vector<int> NodeOfRow;
  std::vector<int> RowOfNode;  // by node number, -1 for nodes without a row
  int t = 0;
};

RowNumbering NumberRows(const CircuitState& state, int z) {
  RowNumbering rows;
  rows.RowOfNode.assign(state.NodeCount + 1, -1);
  for (int node = 1; node <= state.NodeCount; ++node) {
    if (node == z || !IsReal(state, node)) continue;
    rows.RowOfNode[node] = static_cast<int>(rows.NodeOfRow.size());
    rows.NodeOfRow.push_back(node);
  }
  rows.t = static_cast<int>(rows.NodeOfRow.size());
  rows.RowOfNode[z] = rows.t;
  rows.NodeOfRow.push_back(z);
  return rows;
}

// Enters the admittance of a direct branch or a chain a->b, with its source,
// into the system and keeps its values. A direct branch is the first to touch its
// mutual entries, so it sets them; chains add theirs, so each mutual entry
// ends as the sum over everything joining the two nodes.
void EnterAdmittance(ComplexMatrix& m, const RowNumbering& rows, int a, int b, Complex z, Complex e,
                     const std::string& label, bool addMutual, std::vector<LabelledValue>& branchValues) {
  RequireFinite(z, "Z" + label, "сопротивления Z" + label);
  const Complex y = Divide(Complex(1.0, 0.0), z, "Y" + label);
  RequireFinite(y, "Y" + label, "проводимости Y" + label);
  const Complex sourceCurrent = e / z;
  RequireFinite(sourceCurrent, "Y*E" + label, "тока источника Y*E" + label);
  branchValues.push_back({"Y" + label, y});
  branchValues.push_back({"Y*E" + label, sourceCurrent});
  const Complex s = y * e;
  RequireFinite(s, "Y*E" + label, "тока источника Y*E" + label);
  const int t = rows.t, ra = rows.RowOfNode[a], rb = rows.RowOfNode[b];
  if (rb == t) {
    m[ra][ra] += y;
    m[ra][t] -= s;
  } else if (ra == t) {
    m[rb][rb] += y;
    m[rb][t] += s;
  } else {
    if (addMutual) {
      m[rb][ra] += y;
      m[ra][rb] += y;
    } else {
      m[rb][ra] = y;
      m[ra][rb] = y;
    }
    m[ra][ra] += y;
    m[rb][rb] += y;
    m[ra][t] -= s;
    m[rb][t] += s;
  }
}

// A current source J from a to b adds no admittance: J leaves a's row and
// enters b's.
void EnterCurrentSource(ComplexMatrix& m, const RowNumbering& rows, int a, int b, Complex j, const std::string& label,
                        std::vector<LabelledValue>& branchValues) {
  branchValues.push_back({"J" + label, j});
  const int t = rows.t, ra = rows.RowOfNode[a], rb = rows.RowOfNode[b];
  if (ra != t) m[ra][t] -= j;
  if (rb != t) m[rb][t] += j;
}

ComplexMatrix AssembleSystem(const CircuitState& state, const std::vector<Chain>& chains, const RowNumbering& rows,
                             std::vector<LabelledValue>& branchValues) {
  ComplexMatrix m(rows.t, std::vector<Complex>(rows.t + 1));
  for (const CircuitBranch& branch : state.Branches) {
    if (!IsReal(state, branch.From) || !IsReal(state, branch.To)) continue;
    if (branch.IdealCurrentSource) {
      EnterCurrentSource(m, rows, branch.From, branch.To, branch.J, BranchLabel("", branch), branchValues);
      continue;
    }
    EnterAdmittance(m, rows, branch.From, branch.To, branch.Z, TheveninEmf(branch), BranchLabel("", branch),
                    branch.Parallel > 1, branchValues);
  }
  for (const Chain& chain : chains) {
    if (chain.FixedCurrent) EnterCurrentSource(m, rows, chain.From, chain.To, chain.J, ChainLabel(chain), branchValues);
    else EnterAdmittance(m, rows, chain.From, chain.To, chain.Z, chain.E, ChainLabel(chain), true, branchValues);
  }
  return m;
}

// The system was summed with mutual admittances; the equations carry them
// with a minus sign.
void NegateMutualEntries(ComplexMatrix& m, int t) {
  for (int r = 0; r < t; ++r)
    for (int c = 0; c < t; ++c)
      if (c != r) m[r][c] = m[r][c] * -1.0;
}

// The chain whose inner points hold an end of `branch`.
const Chain* ChainOf(const std::vector<Chain>& chains, const CircuitBranch& branch) {
  for (const Chain& chain : chains)
    if (chain.Inner.contains(branch.From) || chain.Inner.contains(branch.To)) return &chain;
  return nullptr;
}

// -1 when the branch points against the chain (from To towards From), else 1.
double OrientationAlong(const Chain& chain, const CircuitBranch& branch) {
  for (int u = chain.To; u != chain.From && u > 0;) {
    const int p = chain.Prev[u];
    if (branch.From == p && branch.To == u) return 1.0;
    if (branch.From == u && branch.To == p) return -1.0;
    u = p;
  }
  return 1.0;
}

std::vector<Complex> BranchCurrents(const CircuitState& state, const std::vector<Chain>& chains,
                                    const RowNumbering& rows, const std::vector<Complex>& potentials) {
  auto potentialOf = [&](int node) { return potentials[rows.RowOfNode[node]]; };
  std::vector<Complex> currents;
  currents.reserve(state.Branches.size());
  for (const CircuitBranch& branch : state.Branches) {
    const Chain* chain = ChainOf(chains, branch);
    if (!chain) {
      currents.push_back(branch.IdealCurrentSource
                             ? branch.J
                             : BranchCurrentFromPotentials(potentialOf(branch.From), potentialOf(branch.To),
                                                           TheveninEmf(branch), branch.Z));
      continue;
    }
    Complex current = chain->FixedCurrent ? chain->J
                                          : BranchCurrentFromPotentials(potentialOf(chain->From),
                                                                        potentialOf(chain->To), chain->E, chain->Z);
    if (OrientationAlong(*chain, branch) < 0) current = current * -1.0;
    currents.push_back(current);
  }
  return currents;
}

}  // namespace

std::vector<Chain> BuildChains(const CircuitState& state) {
  GroupedMarks grouped(state.Branches.size(), false);
  std::vector<Chain> chains;
  for (size_t k = 0; k < state.Branches.size(); ++k) {
    const CircuitBranch& branch = state.Branches[k];
    if (grouped[k] || IsReal(state, branch.From) == IsReal(state, branch.To)) continue;
    grouped[k] = true;
    Chain chain;
    const int next = StartChain(state, branch, chain);
    WalkChain(state, chain, next, grouped);
    RefuseRing(chain);
    chains.push_back(std::move(chain));
  }
  RefuseUncoveredBranches(state, grouped);
  return chains;
}

std::string ChainLabel(const Chain& chain) {
  std::string label = std::to_string(chain.From);
  for (int node = 0; node < IntSet::kLimit; ++node)
    if (chain.Inner.contains(node)) label += std::to_string(node);
  return label + std::to_string(chain.To);
}

NodeRun SolveOptimalNodePotentials(const CircuitState& state, int z) {
  NodeRun run;
  run.optimal = true;
  RunSteps(run, [&] {
    if (!state.NeedsTest && state.BranchCount() > 0 && state.RealNodes.empty())
      throw CircuitRefusal(CircuitRefusal::Kind::NoJunction, kOptimalNeedsJunctionText);
    if (state.NeedsTest || state.BranchCount() == 0 || !IsReal(state, z) || z > state.NodeCount) return;
    const std::vector<Chain> chains = BuildChains(state);
    run.reached = RunStage::Started;

    const RowNumbering rows = NumberRows(state, z);
    run.unknowns = rows.t;
    ComplexMatrix m = AssembleSystem(state, chains, rows, run.branchValues);
    NegateMutualEntries(m, rows.t);
    RequireFiniteSystem(m, rows.t);
    run.numbers.system = m;
    run.reached = RunStage::SystemBuilt;
    std::vector<Complex> potentials = SolveLinearSystem(m, rows.t);
    potentials.push_back(Complex());
    std::vector<Complex> currents = BranchCurrents(state, chains, rows, potentials);
    FinishNodeRun(state, rows.NodeOfRow, std::move(potentials), std::move(currents), run);
  });
  return run;
}

bool OptimalNodePotentialMethod(const CircuitState& state, int z, ResultsDirectory& results, NodeViews& views,
                                NodalSolution* solution) {
  return ShowAndWriteNodeRun(state, SolveOptimalNodePotentials(state, z), results, views, solution);
}

}  // namespace ohmara
