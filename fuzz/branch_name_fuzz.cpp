// The branch-name reader and the table parse that reports its refusals: a
// name is accepted with two different nodes in 1..255 that it ends with, or
// refused with the reason the parse of a one-row table names at row 1.

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/circuit_faults.h"
#include "fuzz_check.h"
#include "model/circuit.h"

namespace {

using namespace ohmara;
using Kind = CircuitFault::Kind;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool Digits(const std::string& text) { return text.find_first_not_of("0123456789") == std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  const BranchNameReading reading = ReadBranchName(name);
  if (reading.accepted()) {
    FUZZ_CHECK(reading.from >= 1 && reading.from <= kMaxNode && reading.to >= 1 && reading.to <= kMaxNode &&
                   reading.from != reading.to,
               "accepted nodes");
    FUZZ_CHECK(EndsWith(name, std::to_string(reading.from) + "->" + std::to_string(reading.to)),
               "the last two numbers count");
  }

  std::vector<CircuitBranch> branches;
  int nodeCount = 0;
  CircuitFault fault;
  const ParseResult parsed = ParseBranchTable({name}, branches, nodeCount, false, &fault);
  if (reading.accepted()) {
    // A lone branch leaves no node unused only between nodes 1 and 2.
    const bool gapless = std::min(reading.from, reading.to) == 1 && std::max(reading.from, reading.to) == 2;
    FUZZ_CHECK(gapless ? parsed == ParseResult::Ok && nodeCount == 2 && fault.kind == Kind::None
                       : fault.kind == Kind::MissingNode && fault.otherNode == std::max(reading.from, reading.to),
               "the parse takes the nodes the reader read");
    return 0;
  }
  FUZZ_CHECK(parsed == ParseResult::Malformed, "a refused name is malformed");
  FUZZ_CHECK(fault.kind == reading.fault && fault.row == 1 && fault.name == name, "the parse names the refusal");
  FUZZ_CHECK(!CircuitFaultLine(fault).empty(), "a refused name is worded");
  if (fault.kind == Kind::NodeAboveLimit)
    FUZZ_CHECK(Digits(fault.detail) && fault.detail[0] != '0' &&
                   (fault.detail.size() > 3 || std::stoi(fault.detail) > kMaxNode) &&
                   name.find(fault.detail) != std::string::npos,
               "the number above 255 is quoted from the name");
  if (fault.kind == Kind::SelfLoop)
    FUZZ_CHECK(EndsWith(name, std::to_string(fault.node) + "->" + std::to_string(fault.node)),
               "the node joined to itself");
  return 0;
}
