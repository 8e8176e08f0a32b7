// The branch-name reader and the table parse that reports its refusals: a
// name is accepted with two different nodes in 1..255 that it ends with, or
// refused with the reason the parse of a one-row table names at row 1.

#include <string>

#include "fuzz_check.h"
#include "support/fault_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  const std::string broken = ohmara::BranchNameRuleBroken(name);
  FUZZ_CHECK(broken.empty(), broken);
  return 0;
}
