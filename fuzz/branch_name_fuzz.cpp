// The branch-name parser and the fault finder that explains its refusals:
// a name is accepted with two different nodes in 1..255, or refused with a
// fault line naming row 1.

#include <string>

#include "analysis/circuit_faults.h"
#include "fuzz_check.h"
#include "model/circuit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ohmara;
  const std::string name(reinterpret_cast<const char*>(data), size);
  int from = 0, to = 0;
  const bool parsed = ParseBranchName(name, from, to);
  if (parsed) FUZZ_CHECK(from >= 1 && from <= kMaxNode && to >= 1 && to <= kMaxNode && from != to, "accepted nodes");

  const CircuitFault fault = FindCircuitFault({{name, "1", "", "", "", ""}}, CircuitState());
  const bool nameFault = fault.kind == CircuitFault::Kind::MalformedName ||
                         fault.kind == CircuitFault::Kind::NodeAboveLimit || fault.kind == CircuitFault::Kind::SelfLoop;
  FUZZ_CHECK(nameFault != parsed, "the fault finder agrees with the parser");
  if (nameFault) FUZZ_CHECK(fault.row == 1 && !CircuitFaultLine(fault).empty(), "a refused name is named");
  return 0;
}
