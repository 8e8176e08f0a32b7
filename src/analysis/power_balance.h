#pragma once
// The power balance, the branch currents and the frame of an out.txt section:
// the parts every solving method (mesh currents, both node-potential methods)
// writes alike.

#include <string>
#include <string_view>
#include <vector>

#include "model/circuit.h"
#include "model/complex.h"
#include "model/text_views.h"

namespace ohmara {

// Complex power delivered by the sources (sum of E·conj(I) over branches with
// a source) and consumed by the impedances (sum of I·conj(I)·Z over all
// branches). `currents` has one entry per branch, in the order of `branches`.
// Both outputs are set, not accumulated into. With current sources, the
// impedance of a branch carries its current less J, and each source J adds
// U·conj(J), U its voltage (CurrentSourceVoltages).
void PowerBalance(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents, Complex& source,
                  Complex& consumed);

// Whether any branch carries a current source.
bool HasCurrentSources(const std::vector<CircuitBranch>& branches);

// The voltage each current source gives, φ(To) − φ(From), found from the
// branch currents (the potentials walked over the branches that are not
// ideal current sources); 0 for a branch without J. One per branch.
std::vector<Complex> CurrentSourceVoltages(const std::vector<CircuitBranch>& branches,
                                           const std::vector<Complex>& currents);

// The lines "UJ12 = ..." of the voltage across each current source, for the
// power balance memo; empty without current sources.
std::vector<std::string> CurrentSourceVoltageLines(const std::vector<CircuitBranch>& branches,
                                                   const std::vector<Complex>& currents);

// The power block of the windows and the file of one run: the balance lines
// of `source` and `consumed`, then the voltages across the current sources.
void ShowPowerBlock(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents, Complex source,
                    Complex consumed, MemoView& powerBalance, std::string& section);

// One line of the table of powers: what it belongs to and its P + jQ.
struct BranchPower {
  std::string label;  // "Z12" consumed, "E12" given by the EMF, "J12" given by the current source
  Complex power;
};

// The power of every element of every branch, in table order: each impedance
// consumes (I − J)²·Z, each EMF gives E·conj(I − J), each current source
// gives U·conj(J); then the two totals the balance lines show, the sources'
// first. An element that is absent has no line.
std::vector<BranchPower> BranchPowers(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents);

// The same as the report prints them: "Z12 = 3+j4", one line each.
std::vector<std::string> BranchPowerLines(const std::vector<BranchPower>& powers);

// The power block closing an out.txt section: "\nБаланс мощностей\n" and the
// two lines of source and consumed power.
std::string PowerBalanceFileText(Complex source, Complex consumed);

// The two powerBalance lines: "Мощность источников = ..." and
// "Потребляемая мощность = ...".
void ShowPowerBalance(MemoView& powerBalance, Complex source, Complex consumed);

// Adds the branchCurrents line "I<a><b> = ..." and appends the out.txt line
// "I<a><b>=..." of every branch, in table order.
void ReportBranchCurrents(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents,
                          MemoView& branchCurrents, std::string& section);

// The frame an out.txt section starts with: "\n\n", 32 hyphens, "\n",
// `title` (the bare title, e.g. "Метод контурных токов"), "\n", 32 hyphens
// and "\n\n".
std::string MethodSectionHeader(std::string_view title);

}  // namespace ohmara
