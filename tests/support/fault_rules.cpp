#include "support/fault_rules.h"

#include <algorithm>
#include <vector>

#include "analysis/circuit_faults.h"
#include "model/circuit.h"

namespace ohmara {

namespace {

using Kind = CircuitFault::Kind;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool AboveLimit(const std::string& number) {
  return !number.empty() && number[0] != '0' && number.find_first_not_of("0123456789") == std::string::npos &&
         (number.size() > 3 || std::stoi(number) > kMaxNode);
}

bool IsNameKind(Kind kind) {
  return kind == Kind::MalformedName || kind == Kind::NodeAboveLimit || kind == Kind::SelfLoop;
}

bool IsParseKind(Kind kind) { return IsNameKind(kind) || kind == Kind::RepeatedPair || kind == Kind::MissingNode; }

bool IsLoopKind(Kind kind) {
  return kind == Kind::NotOnLoop || kind == Kind::LoopWithoutJunctions || kind == Kind::NoBranches ||
         kind == Kind::CurrentSourceCut;
}

bool NamesRow(const BranchTable& table, int row, const std::string& name) {
  return row >= 1 && row <= static_cast<int>(table.size()) && table[row - 1][kNameColumn] == name;
}

bool SamePair(const BranchNameReading& a, const BranchNameReading& b) {
  return std::minmax(a.from, a.to) == std::minmax(b.from, b.to);
}

// The nodes reached from `start` over the rows other than `without`.
std::vector<bool> Reached(const std::vector<BranchNameReading>& rows, int start, int without = -1) {
  std::vector<bool> reached(kMaxNode + 1, false);
  reached[start] = true;
  for (bool grew = true; grew;) {
    grew = false;
    for (int k = 0; k < static_cast<int>(rows.size()); ++k)
      if (k != without && reached[rows[k].from] != reached[rows[k].to])
        grew = reached[rows[k].from] = reached[rows[k].to] = true;
  }
  return reached;
}

// Whether row k lies on a loop: its ends meet without it.
bool OnLoop(const std::vector<BranchNameReading>& rows, int k) { return Reached(rows, rows[k].from, k)[rows[k].to]; }

// The stage that stopped the test and the kinds it may name.
std::string StageRuleBroken(const CircuitCheckOutcome& outcome) {
  const Kind kind = outcome.fault.kind;
  if (outcome.passed) return kind == Kind::None ? "" : "a passed test names a fault";
  if (outcome.parseResult == ParseResult::Malformed) return IsParseKind(kind) ? "" : "a malformed table, not so named";
  if (outcome.parseResult == ParseResult::Disconnected)
    return kind == Kind::Unreachable ? "" : "a split table, not so named";
  if (kind == Kind::None) return "a refusal names no fault";
  if (!IsLoopKind(kind)) return "failed loops named as a table fault";
  if (outcome.loopResult == LoopSearchResult::NotClosed && kind != Kind::NotOnLoop)
    return "an open circuit without the branch on no loop";
  if (outcome.loopResult == LoopSearchResult::CurrentSourceCut && kind != Kind::NotOnLoop &&
      kind != Kind::CurrentSourceCut)
    return "a cut of current sources not so named";
  return "";
}

std::string PlaceRuleBroken(const BranchTable& table, const CircuitFault& fault) {
  std::vector<BranchNameReading> readings;
  for (const BranchRow& row : table) readings.push_back(ReadBranchName(row[kNameColumn]));
  const bool rowNamed = IsNameKind(fault.kind) || fault.kind == Kind::RepeatedPair || fault.kind == Kind::NotOnLoop ||
                        fault.kind == Kind::CurrentSourceCut;
  if (rowNamed && !NamesRow(table, fault.row, fault.name)) return "the fault names no row of the table";
  const int readable = IsNameKind(fault.kind) ? fault.row - 1 : static_cast<int>(table.size());
  for (int k = 0; k < readable; ++k)
    if (!readings[k].accepted()) return "a bad name passed over";
  if (IsNameKind(fault.kind) && readings[fault.row - 1].fault != fault.kind)
    return "the name refused for another reason";
  if (fault.kind == Kind::RepeatedPair &&
      (!NamesRow(table, fault.otherRow, fault.otherName) || fault.otherRow >= fault.row ||
       !SamePair(readings[fault.row - 1], readings[fault.otherRow - 1])))
    return "the repeated pair is no pair";
  auto uses = [&](int node) {
    return std::any_of(readings.begin(), readings.end(),
                       [&](const BranchNameReading& r) { return r.from == node || r.to == node; });
  };
  if (fault.kind == Kind::Unreachable) {
    int lowest = 1;
    while (lowest < kMaxNode && !uses(lowest)) ++lowest;
    const std::vector<bool> reached = Reached(readings, lowest);
    int apart = lowest;
    while (apart <= kMaxNode && (!uses(apart) || reached[apart])) ++apart;
    if (fault.otherNode != lowest || fault.node != apart)
      return "the split is not named by the lowest node and the first node apart from it";
  }
  if (fault.kind == Kind::NotOnLoop) {
    for (int k = 0; k + 1 < fault.row; ++k)
      if (!OnLoop(readings, k)) return "an earlier branch on no loop passed over";
    if (OnLoop(readings, fault.row - 1)) return "the branch named lies on a loop";
  }
  if (fault.kind == Kind::MissingNode && (uses(fault.node) || !uses(fault.otherNode) || fault.node >= fault.otherNode))
    return "the missing node is used or above the highest";
  if (fault.kind == Kind::NoBranches && !table.empty()) return "a table with branches said to have none";
  return "";
}

}  // namespace

std::string BranchNameRuleBroken(const std::string& name) {
  const BranchNameReading reading = ReadBranchName(name);
  std::vector<CircuitBranch> branches;
  int nodeCount = 0;
  CircuitFault fault;
  const ParseResult parsed = ParseBranchTable({name}, branches, nodeCount, false, &fault);
  if (reading.accepted()) {
    if (reading.from < 1 || reading.from > kMaxNode || reading.to < 1 || reading.to > kMaxNode ||
        reading.from == reading.to)
      return "accepted nodes out of range";
    if (!EndsWith(name, std::to_string(reading.from) + "->" + std::to_string(reading.to)))
      return "the last two numbers do not count";
    // A lone branch leaves no node unused only between nodes 1 and 2.
    const int highest = std::max(reading.from, reading.to);
    const bool gapless = std::min(reading.from, reading.to) == 1 && highest == 2;
    if (gapless ? parsed != ParseResult::Ok || nodeCount != 2
                : fault.kind != Kind::MissingNode || fault.otherNode != highest)
      return "the parse takes other nodes than the reader";
    return "";
  }
  if (parsed != ParseResult::Malformed || fault.kind != reading.fault || fault.row != 1 || fault.name != name)
    return "the parse names the refusal otherwise";
  if (CircuitFaultLine(fault).empty()) return "a refused name is not worded";
  if (fault.kind == Kind::NodeAboveLimit && (!AboveLimit(fault.detail) || name.find(fault.detail) == std::string::npos))
    return "the number above 255 is not quoted from the name";
  if (fault.kind == Kind::SelfLoop && !EndsWith(name, std::to_string(fault.node) + "->" + std::to_string(fault.node)))
    return "the node joined to itself is not the last";
  return "";
}

std::string FaultRuleBroken(const BranchTable& table, const CircuitCheckOutcome& outcome) {
  if (std::string broken = StageRuleBroken(outcome); !broken.empty()) return broken;
  if (outcome.fault.kind != Kind::None && CircuitFaultLine(outcome.fault).empty()) return "a fault not worded";
  return PlaceRuleBroken(table, outcome.fault);
}

}  // namespace ohmara
