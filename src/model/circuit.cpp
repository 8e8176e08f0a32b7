#include "model/circuit.h"

#include <algorithm>
#include <array>
#include <utility>

namespace ohmara {

namespace {

using Kind = CircuitFault::Kind;

// A node number as typed: digits, the first of them not 0.
bool Spelled(std::string_view part) {
  if (part.empty() || part[0] == '0') return false;
  for (char c : part)
    if (c < '0' || c > '9') return false;
  return true;
}

// The value of a spelled number, or kMaxNode + 1 for any above kMaxNode.
int NodeNumber(std::string_view part) {
  if (part.size() > 3) return kMaxNode + 1;
  int value = 0;
  for (char c : part) value = value * 10 + (c - '0');
  return std::min(value, kMaxNode + 1);
}

}  // namespace

BranchNameReading ReadBranchName(std::string_view name) {
  BranchNameReading reading;
  int numbers = 0, previous = 0, last = 0;
  std::string_view tooLarge;
  for (size_t start = 0;;) {
    const size_t arrow = name.find("->", start);
    const std::string_view part = name.substr(start, arrow == std::string_view::npos ? arrow : arrow - start);
    // A misspelling anywhere outweighs a number out of range.
    if (!Spelled(part)) return reading;
    ++numbers;
    previous = last;
    last = NodeNumber(part);
    if (last > kMaxNode && tooLarge.empty()) tooLarge = part;
    if (arrow == std::string_view::npos) break;
    start = arrow + 2;
  }
  if (numbers < 2) return reading;
  if (!tooLarge.empty()) {
    reading.fault = Kind::NodeAboveLimit;
    reading.detail = std::string(tooLarge);
  } else if (previous == last) {
    reading.fault = Kind::SelfLoop;
    reading.to = last;
  } else {
    reading.fault = Kind::None;
    reading.from = previous;
    reading.to = last;
  }
  return reading;
}

bool ParseBranchName(std::string_view name, int& from, int& to) {
  const BranchNameReading reading = ReadBranchName(name);
  if (!reading.accepted()) return false;
  from = reading.from;
  to = reading.to;
  return true;
}

namespace {

// Connected pieces of the nodes joined so far, by union-find over the node
// numbers.
class NodePieces {
 public:
  NodePieces() {
    for (int node = 0; node <= kMaxNode; ++node) parent_[node] = node;
  }
  void Join(int a, int b) {
    used_[a] = used_[b] = true;
    parent_[Root(a)] = Root(b);
  }
  // The lowest node used apart from the piece of the lowest node used, 0
  // when all are together.
  int FirstApart(int& lowest) {
    lowest = 0;
    for (int node = 1; node <= kMaxNode; ++node) {
      if (!used_[node]) continue;
      if (lowest == 0) lowest = node;
      else if (Root(node) != Root(lowest)) return node;
    }
    return 0;
  }
  bool Together(int a, int b) { return Root(a) == Root(b); }

 private:
  int Root(int node) {
    while (parent_[node] != node) node = parent_[node] = parent_[parent_[node]];
    return node;
  }
  std::array<int, kMaxNode + 1> parent_{};
  std::array<bool, kMaxNode + 1> used_{};
};

bool SamePair(const CircuitBranch& a, const CircuitBranch& b) {
  return (a.From == b.From && a.To == b.To) || (a.From == b.To && a.To == b.From);
}

// Numbers the branches that join one pair of nodes 1, 2, 3... in table order.
void NumberParallelBranches(std::vector<CircuitBranch>& branches) {
  for (size_t i = 0; i < branches.size(); ++i) {
    branches[i].Parallel = 1;
    for (size_t j = 0; j < i; ++j) branches[i].Parallel += SamePair(branches[i], branches[j]);
  }
}

// The later and the earlier row (0-based) of the first branch, in table
// order, that repeats the node pair of an earlier one.
std::optional<std::pair<int, int>> FirstRepeatedPair(const std::vector<CircuitBranch>& branches) {
  for (size_t i = 0; i < branches.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (SamePair(branches[i], branches[j])) return std::pair{static_cast<int>(i), static_cast<int>(j)};
  return std::nullopt;
}

// The lowest node number that no branch uses below the highest one, or 0.
int FirstMissingNode(const std::vector<CircuitBranch>& branches, int& highest) {
  std::array<bool, kMaxNode + 1> present{};
  highest = 0;
  for (const CircuitBranch& b : branches) {
    present[b.From] = present[b.To] = true;
    highest = std::max({highest, b.From, b.To});
  }
  for (int node = 1; node <= highest; ++node)
    if (!present[node]) return node;
  return 0;
}

CircuitFault NameFault(const BranchNameReading& reading, int row, const std::string& name) {
  CircuitFault fault;
  fault.kind = reading.fault;
  fault.row = row + 1;
  fault.name = name;
  fault.detail = reading.detail;
  if (reading.fault == Kind::SelfLoop) fault.node = reading.to;
  return fault;
}

// The first fault of the table, with branches and nodeCount as
// ParseBranchTable leaves them.
CircuitFault TableFault(const std::vector<std::string>& names, std::vector<CircuitBranch>& branches, int& nodeCount,
                        bool repeatedPairs) {
  branches.assign(names.size(), CircuitBranch{});
  NodePieces pieces;
  for (size_t i = 0; i < names.size(); ++i) {
    const BranchNameReading reading = ReadBranchName(names[i]);
    if (!reading.accepted()) return NameFault(reading, static_cast<int>(i), names[i]);
    branches[i].From = reading.from;
    branches[i].To = reading.to;
    pieces.Join(reading.from, reading.to);
  }
  CircuitFault fault;
  int lowest = 0;
  if (const int apart = pieces.FirstApart(lowest)) {
    fault.kind = Kind::Unreachable;
    fault.node = apart;
    fault.otherNode = lowest;
    return fault;
  }
  if (repeatedPairs) {
    NumberParallelBranches(branches);
  } else if (const auto pair = FirstRepeatedPair(branches)) {
    const auto [later, earlier] = *pair;
    fault.kind = Kind::RepeatedPair;
    fault.row = later + 1;
    fault.name = names[later];
    fault.otherRow = earlier + 1;
    fault.otherName = names[earlier];
    fault.node = std::min(branches[later].From, branches[later].To);
    fault.otherNode = std::max(branches[later].From, branches[later].To);
    return fault;
  }
  int highest = 0;
  if (const int missing = FirstMissingNode(branches, highest)) {
    fault.kind = Kind::MissingNode;
    fault.node = missing;
    fault.otherNode = highest;
    return fault;
  }
  nodeCount = highest;
  return fault;
}

ParseResult ResultOf(Kind kind) {
  switch (kind) {
    case Kind::None:
      return ParseResult::Ok;
    case Kind::Unreachable:
      return ParseResult::Disconnected;
    default:
      return ParseResult::Malformed;
  }
}

}  // namespace

bool HasRepeatedPair(const std::vector<CircuitBranch>& branches) { return FirstRepeatedPair(branches).has_value(); }

ParseResult ParseBranchTable(const std::vector<std::string>& names, std::vector<CircuitBranch>& branches,
                             int& nodeCount, bool repeatedPairs, CircuitFault* fault) {
  CircuitFault found = TableFault(names, branches, nodeCount, repeatedPairs);
  const ParseResult result = ResultOf(found.kind);
  if (fault) *fault = std::move(found);
  return result;
}

std::optional<int> FirstBranchOnNoLoop(const std::vector<CircuitBranch>& branches) {
  for (size_t k = 0; k < branches.size(); ++k) {
    NodePieces pieces;
    for (size_t other = 0; other < branches.size(); ++other)
      if (other != k) pieces.Join(branches[other].From, branches[other].To);
    if (!pieces.Together(branches[k].From, branches[k].To)) return static_cast<int>(k);
  }
  return std::nullopt;
}

std::vector<std::string> BranchNames(const BranchTable& table) {
  std::vector<std::string> names;
  names.reserve(table.size());
  for (const BranchRow& row : table) names.push_back(row[kNameColumn]);
  return names;
}

void BuildAdjacency(const std::vector<CircuitBranch>& branches, int nodeCount,
                    std::vector<std::vector<int>>& adjacency) {
  adjacency.assign(nodeCount, std::vector<int>(nodeCount, 0));
  for (const CircuitBranch& b : branches) {
    adjacency[b.From - 1][b.To - 1] = 1;
    adjacency[b.To - 1][b.From - 1] = 1;
  }
}

void CountRealNodes(CircuitState& state, int& m, int& n) {
  m = state.BranchCount();
  n = 0;
  state.RealNodes.clear();
  std::vector<int> branchEnds(state.Adjacency.size(), 0);
  if (state.Extended)
    for (const CircuitBranch& b : state.Branches) ++branchEnds[b.From - 1], ++branchEnds[b.To - 1];
  for (int i = 0; i < static_cast<int>(state.Adjacency.size()); ++i) {
    int neighbours = 0;
    for (int entry : state.Adjacency[i]) neighbours += entry == 1;
    if (state.Extended) neighbours = branchEnds[i];
    if (neighbours >= 3) {
      state.RealNodes.add(i + 1);
      ++n;
    } else {
      --m;
    }
  }
}

std::optional<int> FindBranch(const std::vector<CircuitBranch>& branches, int a, int b) {
  for (int i = 0; i < static_cast<int>(branches.size()); ++i) {
    const CircuitBranch& br = branches[i];
    if ((br.From == a && br.To == b) || (br.From == b && br.To == a)) return i;
  }
  return std::nullopt;
}

}  // namespace ohmara
