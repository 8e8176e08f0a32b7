#pragma once
// Circuits as they are typed into the grid, for the tests that solve one
// circuit by several methods and by ngspice, and the check of our values
// against ngspice's.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "analysis/branch_impedances.h"
#include "analysis/circuit_check.h"
#include "analysis/result_views.h"
#include "generator/random_circuit.h"
#include "model/branch.h"
#include "support/spice_oracle.h"

namespace ohmara {

struct TableCircuit {
  std::string what;
  BranchTable table;
  FrequencySetting frequency;
};

inline BranchRow Row(const char* name, const char* r, const char* l, const char* c, const char* e, const char* angle) {
  return {name, r, l, c, e, angle};
}

// The circuit as "Тест" leaves it; false when it does not pass.
inline bool Tested(const TableCircuit& circuit, CircuitState& state, ResultsDirectory& results) {
  MeshTexts window;
  MeshViews views = window.Views();
  return RunCircuitCheck(state, circuit.table, circuit.frequency, results, views).passed;
}

// A circuit of the random generator, its frequency taken in the unit `unitIndex`.
inline TableCircuit GeneratedCircuit(std::string what, const RandomCircuit& circuit, int unitIndex) {
  return {std::move(what), circuit.Table, {std::to_string(circuit.Frequency), unitIndex}};
}

// Every element kind and sources at several phases, at kilohertz.
inline TableCircuit RlcWithPhases() {
  return {"RLC with phases, kHz",
          {Row("1->2", "10", "2", "", "100", "30"), Row("2->3", "5", "", "4.7", "", ""),
           Row("3->1", "22", "1.5", "10", "50", "-45"), Row("2->4", "", "3", "", "20", "90"),
           Row("4->3", "8", "", "2.2", "", "")},
          {"1", 1}};
}

// At megahertz the millihenries and microfarads give impedances over seven
// decades.
inline TableCircuit CompleteGraphAtMegahertz() {
  return {"complete graph on four nodes, MHz",
          {Row("1->2", "50", "0.01", "", "5", "120"), Row("1->3", "", "", "0.001", "", ""),
           Row("1->4", "75", "", "", "", ""), Row("2->3", "33", "0.002", "0.0005", "3", "270"),
           Row("2->4", "", "0.004", "", "", ""), Row("3->4", "100", "", "0.002", "7", "-180")},
          {"2", 2}};
}

// Each of `ours` against the same entry of `spice`, on the scale of the whole
// set; `floor` is spice's own rounding (SpiceSolution::currentFloor).
inline void ExpectAgreesWithSpice(const std::vector<Complex>& ours, const std::vector<Complex>& spice,
                                  const std::string& what, double floor = 0.0) {
  ASSERT_EQ(ours.size(), spice.size()) << what;
  const double scale = LargestMagnitude(spice);
  for (size_t k = 0; k < ours.size(); ++k)
    EXPECT_TRUE(AgreesWithSpice(ours[k], spice[k], scale, floor))
        << what << " #" << k + 1 << ": " << ours[k].re << "+" << ours[k].im << "i, ngspice " << spice[k].re << "+"
        << spice[k].im << "i";
}

}  // namespace ohmara
