#include "analysis/student_loops.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <variant>

#include "model/text_format.h"

namespace ohmara {

namespace {

// A node as typed, with the number of the branch that reaches it when the
// student named one ("2_2"; 0 when not).
struct TypedNode {
  int node = 0;
  int parallel = 0;
};
using NodeSequence = std::vector<TypedNode>;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Between two node numbers anything of dashes, arrows, commas and blanks.
bool IsSeparator(std::string_view text, size_t at, size_t& length) {
  static const std::string_view kWide[] = {"\u2013", "\u2014", "\u2192"};  // – — →
  for (std::string_view wide : kWide) {
    if (text.substr(at, wide.size()) == wide) {
      length = wide.size();
      return true;
    }
  }
  length = 1;
  const char c = text[at];
  return c == '-' || c == '>' || c == ',' || c == ';' || c == ' ' || c == '\t' || c == '\r';
}

int NumberAt(std::string_view line, size_t& at) {
  long number = 0;
  while (at < line.size() && IsDigit(line[at])) number = std::min(number * 10 + (line[at++] - '0'), 1000000L);
  return static_cast<int>(number);
}

// The nodes of one line; nothing when it holds anything else.
std::optional<NodeSequence> NodesOfLine(std::string_view line) {
  NodeSequence nodes;
  size_t at = 0;
  while (at < line.size()) {
    if (IsDigit(line[at])) {
      TypedNode& typed = nodes.emplace_back();
      typed.node = NumberAt(line, at);
      if (at + 1 < line.size() && line[at] == '_' && IsDigit(line[at + 1])) {
        ++at;
        typed.parallel = NumberAt(line, at);
        // The first node is reached by no step: a branch number there means nothing.
        if (nodes.size() == 1 || typed.parallel == 0) return std::nullopt;
      }
      continue;
    }
    size_t length = 0;
    if (!IsSeparator(line, at, length)) return std::nullopt;
    at += length;
  }
  return nodes;
}

std::vector<std::string_view> NonBlankLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    if (line.find_first_not_of(" \t\r") != std::string_view::npos) lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool Joins(const CircuitBranch& branch, int a, int b) {
  return (branch.From == a && branch.To == b) || (branch.From == b && branch.To == a);
}

// "2->1", "2->1_2": a branch as loops name it.
std::string LoopBranchName(const CircuitBranch& branch) {
  std::string name = Format("%d->%d", branch.From, branch.To);
  if (branch.Parallel > 1) AppendFormat(name, "_%d", branch.Parallel);
  return name;
}

LoopRefusal Refusal(LoopRefusal::Kind kind, int loop, int nodeA = 0, int nodeB = 0) {
  LoopRefusal refusal;
  refusal.kind = kind;
  refusal.loop = loop;
  refusal.nodeA = nodeA;
  refusal.nodeB = nodeB;
  return refusal;
}

// The step from `a` to `to` along the branch the student named, or along the
// only branch between them; a refusal when there is none or no telling which.
std::variant<LoopStep, LoopRefusal> StepBetween(const std::vector<CircuitBranch>& branches, int a, const TypedNode& to,
                                                int number) {
  std::vector<int> joining;
  for (size_t k = 0; k < branches.size(); ++k)
    if (Joins(branches[k], a, to.node) && (to.parallel == 0 || branches[k].Parallel == to.parallel))
      joining.push_back(static_cast<int>(k));
  if (joining.size() == 1) return LoopStep{joining.front(), branches[joining.front()].From == a ? 1 : -1};
  LoopRefusal refusal =
      Refusal(joining.empty() ? LoopRefusal::Kind::NoBranch : LoopRefusal::Kind::Ambiguous, number, a, to.node);
  refusal.parallel = to.parallel;
  for (int k : joining) refusal.choices.push_back(LoopBranchName(branches[k]));
  return refusal;
}

// The loop along the branches of `nodes`, or why it is none.
std::optional<LoopRefusal> LoopOfNodes(const NodeSequence& nodes, int number,
                                       const std::vector<CircuitBranch>& branches, int nodeCount, OrientedLoop& loop) {
  using Kind = LoopRefusal::Kind;
  for (const TypedNode& typed : nodes)
    if (typed.node < 1 || typed.node > nodeCount) return Refusal(Kind::NoNode, number, typed.node);
  if (nodes.size() < 3) return Refusal(Kind::TooShort, number);
  if (nodes.front().node != nodes.back().node) return Refusal(Kind::NotClosed, number);
  for (size_t i = 0; i + 1 < nodes.size(); ++i) {
    for (size_t j = 0; j < i; ++j)
      if (nodes[j].node == nodes[i].node) return Refusal(Kind::NodeTwice, number, nodes[i].node);
    const std::variant<LoopStep, LoopRefusal> step = StepBetween(branches, nodes[i].node, nodes[i + 1], number);
    if (const auto* refusal = std::get_if<LoopRefusal>(&step)) return *refusal;
    loop.push_back(std::get<LoopStep>(step));
  }
  // Two steps along one branch go there and back.
  if (loop.size() == 2 && loop[0].branch == loop[1].branch) return Refusal(Kind::TooShort, number);
  return std::nullopt;
}

// +1, −1 or 0 per branch: how the loop travels it.
std::vector<double> Incidence(const OrientedLoop& loop, size_t branchCount) {
  std::vector<double> row(branchCount, 0.0);
  for (const LoopStep& step : loop) row[step.branch] += step.direction;
  return row;
}

// Gaussian elimination kept in step with the loops added: a loop whose
// incidence reduces to zero is a combination of those before it.
class IndependenceCheck {
 public:
  bool Add(std::vector<double> row) {
    for (const auto& [pivot, basis] : rows_) {
      const double factor = row[pivot] / basis[pivot];
      if (factor == 0.0) continue;
      for (size_t k = 0; k < row.size(); ++k) row[k] -= factor * basis[k];
    }
    for (size_t k = 0; k < row.size(); ++k) {
      if (std::fabs(row[k]) > 1e-9) {
        rows_.push_back({k, std::move(row)});
        return true;
      }
    }
    return false;
  }

 private:
  std::vector<std::pair<size_t, std::vector<double>>> rows_;
};

std::optional<int> RepeatedLoop(const std::vector<std::vector<double>>& earlier, const std::vector<double>& row) {
  std::vector<double> negated(row);
  for (double& entry : negated) entry = -entry;
  for (size_t j = 0; j < earlier.size(); ++j)
    if (earlier[j] == row || earlier[j] == negated) return static_cast<int>(j) + 1;
  return std::nullopt;
}

std::optional<LoopRefusal> CheckSet(const std::vector<OrientedLoop>& loops, size_t branchCount, int needed) {
  const int given = static_cast<int>(loops.size());
  if (given != needed) {
    LoopRefusal refusal = Refusal(given < needed ? LoopRefusal::Kind::TooFew : LoopRefusal::Kind::TooMany, 0);
    refusal.needed = needed;
    refusal.given = given;
    return refusal;
  }
  std::vector<std::vector<double>> rows;
  IndependenceCheck independence;
  for (int p = 0; p < given; ++p) {
    std::vector<double> row = Incidence(loops[p], branchCount);
    if (const std::optional<int> same = RepeatedLoop(rows, row)) {
      LoopRefusal refusal = Refusal(LoopRefusal::Kind::Repeats, p + 1);
      refusal.other = *same;
      return refusal;
    }
    if (!independence.Add(row)) return Refusal(LoopRefusal::Kind::Dependent, p + 1);
    rows.push_back(std::move(row));
  }
  return std::nullopt;
}

}  // namespace

StudentLoops ReadStudentLoops(std::string_view text, const std::vector<CircuitBranch>& branches, int nodeCount) {
  StudentLoops result;
  for (const CircuitBranch& branch : branches) {
    if (branch.IdealCurrentSource) {
      result.refusal = Refusal(LoopRefusal::Kind::IdealSource, 0);
      result.refusal.choices = {LoopBranchName(branch)};
      return result;
    }
  }
  int number = 0;
  for (std::string_view line : NonBlankLines(text)) {
    ++number;
    const std::optional<NodeSequence> nodes = NodesOfLine(line);
    if (!nodes) {
      result.refusal = Refusal(LoopRefusal::Kind::Unreadable, number);
      return result;
    }
    OrientedLoop loop;
    if (const std::optional<LoopRefusal> refusal = LoopOfNodes(*nodes, number, branches, nodeCount, loop)) {
      result.refusal = *refusal;
      return result;
    }
    result.loops.push_back(std::move(loop));
  }
  const int needed = static_cast<int>(branches.size()) - nodeCount + 1;
  if (const std::optional<LoopRefusal> refusal = CheckSet(result.loops, branches.size(), needed)) {
    result.refusal = *refusal;
    return result;
  }
  result.accepted = true;
  return result;
}

std::string LoopNodesText(const OrientedLoop& loop, const std::vector<CircuitBranch>& branches) {
  auto start = [&](const LoopStep& step) {
    const CircuitBranch& branch = branches[step.branch];
    return step.direction > 0 ? branch.From : branch.To;
  };
  std::string text = std::to_string(start(loop.front()));
  for (size_t i = 0; i < loop.size(); ++i) {
    const CircuitBranch& branch = branches[loop[i].branch];
    AppendFormat(text, "-%d", start(loop[(i + 1) % loop.size()]));
    const bool shared = std::count_if(branches.begin(), branches.end(), [&](const CircuitBranch& other) {
                          return Joins(other, branch.From, branch.To);
                        }) > 1;
    if (shared) AppendFormat(text, "_%d", branch.Parallel);
  }
  return text;
}

LoopCurrentSolution SolveByLoops(const std::vector<CircuitBranch>& branches, const std::vector<OrientedLoop>& loops) {
  const int count = static_cast<int>(loops.size());
  std::vector<std::vector<double>> incidence;
  for (const OrientedLoop& loop : loops) incidence.push_back(Incidence(loop, branches.size()));
  LoopCurrentSolution solution;
  solution.system.assign(count, std::vector<Complex>(count + 1));
  for (int p = 0; p < count; ++p) {
    for (size_t b = 0; b < branches.size(); ++b) {
      if (incidence[p][b] == 0.0) continue;
      // A current source beside the elements drives the loop as the EMF J·Z would.
      solution.system[p][count] += TheveninEmf(branches[b]) * incidence[p][b];
      for (int q = 0; q < count; ++q) solution.system[p][q] += branches[b].Z * (incidence[p][b] * incidence[q][b]);
    }
  }
  ComplexMatrix rows = solution.system;
  std::string trace;
  solution.loopCurrents = SolveLinearSystemTrace(rows, count, trace);
  solution.branchCurrents.assign(branches.size(), Complex());
  for (int p = 0; p < count; ++p)
    for (size_t b = 0; b < branches.size(); ++b)
      solution.branchCurrents[b] += solution.loopCurrents[p] * incidence[p][b];
  return solution;
}

}  // namespace ohmara
