#pragma once
// An independent check of the solving methods: the circuit exported as the
// program's own SPICE netlist (analysis/spice_netlist.h), solved by ngspice's
// AC analysis, its branch currents and node potentials read back.

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/answer_marks.h"
#include "analysis/branch_impedances.h"
#include "model/branch.h"
#include "model/circuit.h"
#include "model/complex.h"

namespace ohmara {

// Why the oracle cannot run without ngspice, and what to do about it.
inline constexpr char kSpiceMissing[] =
    "ngspice is not on PATH: install it (apt-get install -y ngspice) to run the circuit oracle";

// ngspice is missing or did not give the results asked for.
class SpiceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct SpiceSolution {
  std::vector<Complex> currents;    // one per branch, in table order
  std::vector<Complex> potentials;  // of nodes 1..NodeCount against the zero node (0 there)
  // The absolute error spice's own rounding may leave in a current: in a
  // circuit where a large admittance (a big capacitor at megahertz) sits
  // beside large voltages, spice is good to far less than 1e-6 of a small
  // current.
  double currentFloor = 0.0;
};

// Saves the netlist of the branches (their From and To) with the element
// cells of `table` (row k for branch k) at `frequency`, node `zeroNode`
// grounded, runs `ngspice -b` on the saved file in a scratch directory and
// parses what it prints. Throws SpiceError naming the cause (ngspice not on
// PATH, a failed run with the tail of its log, a value missing from its
// output).
SpiceSolution SolveWithSpice(const std::vector<CircuitBranch>& branches, const BranchTable& table,
                             const FrequencySetting& frequency, int nodeCount, int zeroNode = 1);

// Runs `ngspice -b` on a netlist file written for `branches` with `zeroNode`
// grounded and parses what it prints; throws as SolveWithSpice.
SpiceSolution SolveSpiceFile(const std::filesystem::path& netlist, const std::vector<CircuitBranch>& branches,
                             const BranchTable& table, const FrequencySetting& frequency, int nodeCount, int zeroNode);

// What ngspice printed for a netlist: the values by their lower-case names
// ("i(vam1)", "v(n2)").
struct SpiceValues {
  std::map<std::string, Complex> values;
  std::string log;
  // The value printed as `name`; throws SpiceError naming it when missing.
  Complex Get(const std::string& name) const;
};

// Runs `ngspice -b` on a netlist given as text (it must print what is asked
// for in its control block); throws as SolveWithSpice.
SpiceValues RunSpiceNetlist(const std::string& netlist);

// True when ngspice can be started.
bool SpiceAvailable();

// Whether a value of ours agrees with spice's: within 1e-6 of its magnitude,
// or within 1e-9 of `scale` (the largest magnitude of the set compared, so
// that values that are zero up to rounding compare on the scale of the
// circuit), or within `floor` (for currents SpiceSolution::currentFloor,
// spice's own rounding in stiff circuits).
bool AgreesWithSpice(Complex ours, Complex spice, double scale, double floor = 0.0);

}  // namespace ohmara
