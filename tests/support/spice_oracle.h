#pragma once
// An independent check of the solving methods: the circuit written as an
// ngspice netlist, solved by ngspice's AC analysis, its branch currents and
// node potentials read back.
//
// Each branch a->b becomes, in series from a to b: a zero-volt ammeter (its
// current, positive from a to b, is the branch current), the source with its
// + terminal towards b (V(+) - V(-) = E, so it drives current from a to b),
// then R, L and C as far as their cells are filled.

#include <stdexcept>
#include <string>
#include <vector>

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
  std::vector<Complex> potentials;  // of nodes 1..NodeCount against groundNode (0 there)
  // The absolute error spice's own rounding may leave in a current: in a
  // circuit where a large admittance (a big capacitor at megahertz) sits
  // beside large voltages, spice is good to far less than 1e-6 of a small
  // current.
  double currentFloor = 0.0;
};

// The netlist for the branches (their From and To) with the element cells of
// `table` (row k for branch k) at `frequencyHz`; node `groundNode` is
// spice's ground. The source phase is scaled by 3.141592/π because the
// program's phasors take π as 3.141592.
std::string SpiceNetlist(const std::vector<TBranch>& branches, const BranchTable& table, double frequencyHz,
                         int nodeCount, int groundNode = 1);

// Runs `ngspice -b` on the netlist in a scratch directory and parses the
// results. Throws SpiceError naming the cause (ngspice not on PATH, a failed
// run with the tail of its log, a value missing from its output).
SpiceSolution SolveWithSpice(const std::vector<TBranch>& branches, const BranchTable& table, double frequencyHz,
                             int nodeCount, int groundNode = 1);

// True when ngspice can be started.
bool SpiceAvailable();

// Whether a value of ours agrees with spice's: within 1e-6 of its magnitude,
// or within 1e-9 of `scale` (the largest magnitude of the set compared, so
// that values that are zero up to rounding compare on the scale of the
// circuit), or within `floor` (for currents SpiceSolution::currentFloor,
// spice's own rounding in stiff circuits).
bool AgreesWithSpice(Complex ours, Complex spice, double scale, double floor = 0.0);

// The largest magnitude among `values`.
double LargestMagnitude(const std::vector<Complex>& values);

}  // namespace ohmara
