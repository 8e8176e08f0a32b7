#include "model/circuit.h"

#include <algorithm>
#include <array>

namespace ohmara {

bool ParseBranchName(const std::string& name, int& from, int& to) {
  enum class State { FirstDigit, Digits, Arrow };
  State state = State::FirstDigit;
  int accumulator = 0;
  bool arrow = false;
  const size_t length = name.size();
  size_t pos = 0;
  auto nextIsDash = [&] { return pos < length && name[pos] == '-'; };
  while (pos < length) {
    const char c = name[pos];
    switch (state) {
      case State::FirstDigit:
        if (c < '1' || c > '9') return false;
        accumulator = c - '0';
        ++pos;
        state = State::Digits;
        break;
      case State::Digits:
        if (c < '0' || c > '9') return false;
        accumulator = accumulator * 10 + (c - '0');
        if (accumulator > kMaxNode) return false;
        ++pos;
        break;
      case State::Arrow:
        arrow = true;
        ++pos;
        if (pos >= length || name[pos] != '>') return false;
        ++pos;
        state = State::FirstDigit;
        continue;
    }
    if (nextIsDash()) {
      from = accumulator;
      state = State::Arrow;
    }
  }
  if (!arrow) return false;
  to = accumulator;
  return to != from;
}

namespace {

// Connected pieces of the nodes met so far, merged branch by branch.
class ComponentTracker {
 public:
  void Join(int a, int b) {
    const int ca = Find(a), cb = Find(b);
    if (ca >= 0 && ca == cb) return;
    if (ca >= 0 && cb >= 0) {
      const int low = ca < cb ? ca : cb, high = ca < cb ? cb : ca;
      components_[low].unite(components_[high]);
      live_.remove(high);
    } else if (ca >= 0) {
      components_[ca].add(b);
    } else if (cb >= 0) {
      components_[cb].add(a);
    } else {
      IntSet fresh;
      fresh.add(a);
      fresh.add(b);
      live_.add(static_cast<int>(components_.size()));
      components_.push_back(fresh);
    }
  }
  int LiveCount() const {
    int count = 0;
    for (int i = 0; i < static_cast<int>(components_.size()); ++i) count += live_.contains(i);
    return count;
  }

 private:
  int Find(int node) const {
    for (int i = 0; i < static_cast<int>(components_.size()); ++i)
      if (live_.contains(i) && components_[i].contains(node)) return i;
    return -1;
  }
  std::vector<IntSet> components_;
  IntSet live_;
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

// The highest node number when 1..highest are all used, else -1.
int NodeCountWithoutGaps(const std::vector<CircuitBranch>& branches) {
  std::array<bool, kMaxNode + 1> present{};
  int highest = 0;
  for (const CircuitBranch& b : branches) {
    present[b.From] = present[b.To] = true;
    highest = std::max({highest, b.From, b.To});
  }
  for (int node = 1; node <= highest; ++node)
    if (!present[node]) return -1;
  return highest;
}

}  // namespace

bool HasRepeatedPair(const std::vector<CircuitBranch>& branches) {
  for (size_t i = 0; i < branches.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (SamePair(branches[i], branches[j])) return true;
  return false;
}

ParseResult ParseBranchTable(const std::vector<std::string>& names, std::vector<CircuitBranch>& branches,
                             int& nodeCount, bool repeatedPairs) {
  branches.assign(names.size(), CircuitBranch{});
  ComponentTracker components;
  for (size_t i = 0; i < names.size(); ++i) {
    if (!ParseBranchName(names[i], branches[i].From, branches[i].To)) return ParseResult::Malformed;
    components.Join(branches[i].From, branches[i].To);
  }
  if (components.LiveCount() > 1) return ParseResult::Disconnected;
  if (repeatedPairs) NumberParallelBranches(branches);
  else if (HasRepeatedPair(branches)) return ParseResult::Malformed;
  const int highest = NodeCountWithoutGaps(branches);
  if (highest < 0) return ParseResult::Malformed;
  nodeCount = highest;
  return ParseResult::Ok;
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
