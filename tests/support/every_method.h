#pragma once
// One circuit through "Тест" and then every method at every zero node it
// offers, checking the rules no input may break: nothing that is not finite
// is shown, a success has finite results and a closed power balance, and
// every refusal is one of the designed errors. Shared by the tests and the
// end-to-end fuzz target.

#include <string>
#include <vector>

#include "analysis/branch_impedances.h"
#include "model/branch.h"
#include "model/results_directory.h"

namespace ohmara {

struct EveryMethodRun {
  bool passed = false;                // the circuit test passed
  int solved = 0;                     // method runs that reported success
  std::vector<std::string> refusals;  // what() of each designed error, in order
};

// Runs everything into `results`. Returns the first broken rule in words, or
// "" when all held. A Refusal of a circuit or its methods (a number, a
// division by zero, a singular system, an unsolvable or refused circuit, a
// value that is not finite) is a refusal; any other exception propagates. `extended`: tested as with "Расширенные
// схемы" on.
std::string CheckEveryMethod(const BranchTable& table, const FrequencySetting& frequency, ResultsDirectory& results,
                             EveryMethodRun& run, bool extended = false);

}  // namespace ohmara
