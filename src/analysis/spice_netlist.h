#pragma once
// The tested circuit as a SPICE netlist, so that a circuit simulator
// (`ngspice -b circuit.cir`) solves the very circuit the methods solve and
// prints every branch current for the student to compare.
//
// Each branch a->b becomes, in series from a to b: a 0 V source VI_a_b used
// as its ammeter (its current, positive from a to b, is the branch current),
// then R, L and C, then the source VE_a_b with its + terminal towards b, so
// that it drives current from a to b as E does in the methods. The zero node
// is SPICE's ground, node 0; every other node keeps its number, and the
// joints inside a branch are named a_b_1, a_b_2, ... so they never clash with
// a node.
//
// The netlist is plain ASCII: the file is meant for other programs, and a
// unit spelled "kHz" reads the same in any of them.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "analysis/branch_impedances.h"
#include "model/branch.h"
#include "model/complex.h"
#include "model/safe_save.h"

namespace ohmara {

// The elements of one branch in SI units. An empty cell is no element, and so
// is an R or L of 0: a plain wire, which SPICE would otherwise turn into a
// small resistance of its own choosing.
struct SpiceBranchElements {
  std::optional<double> resistance;   // ohms
  std::optional<double> inductance;   // henries
  std::optional<double> capacitance;  // farads
  std::optional<Complex> source;      // the branch's E exactly as the methods compute it
  std::optional<Complex> current;     // the branch's J, beside the series elements
};

// The elements of `branch` from its table row (`rowNumber`, 1-based) at
// angular frequency `omega`. The cells are read as the circuit test reads
// them, so a cell that is no number throws ConversionError naming the row and
// column, and a C of 0 throws DivisionByZero.
SpiceBranchElements SpiceElementsOf(const CircuitBranch& branch, const BranchRow& row, int rowNumber, double omega);

// "VI_1_2" for branch 1->2: the ammeter whose current is the branch current.
std::string SpiceAmmeterName(const CircuitBranch& branch);

// "0" for the zero node, the node's own number otherwise.
std::string SpiceNodeName(int node, int zeroNode);

// The netlist of the circuit: `branches` (their From and To) in table order
// with the element cells of `table` (row k for branch k) at `frequency`, node
// `zeroNode` grounded. Its .control block runs the AC analysis and prints the
// current of every ammeter, then the potential of every node but the zero
// node, with 15 digits. Throws std::invalid_argument when the table is
// shorter than the branch list or `zeroNode` is not one of the nodes, and
// the conversion errors of SpiceElementsOf.
std::string SpiceNetlist(const std::vector<CircuitBranch>& branches, const BranchTable& table,
                         const FrequencySetting& frequency, int zeroNode);

// Why a circuit at `frequency` cannot be exported, or "": ngspice computes an
// AC run only at a frequency above 0.
std::string SpiceFrequencyRefusal(const FrequencySetting& frequency);

// Writes the netlist into `path` atomically (the previous file survives a
// failure); the errors of SpiceNetlist propagate before anything is written.
SaveProblem SaveSpiceNetlist(const std::filesystem::path& path, const std::vector<CircuitBranch>& branches,
                             const BranchTable& table, const FrequencySetting& frequency, int zeroNode);

}  // namespace ohmara
