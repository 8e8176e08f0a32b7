#pragma once
// Textbook circuits as printed — branches between the same two nodes,
// current sources, one loop, ω — as grid rows, and each as a netlist laid
// out here element by element for ngspice (not the program's own export).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/branch_impedances.h"
#include "model/branch.h"
#include "model/text_format.h"
#include "support/spice_oracle.h"

namespace ohmara {

// One branch a->b: R (Ω), L (mH), C (µF), E (V) at its angle, J (A) at its
// angle; 0 is an element left out.
struct Element {
  int a, b;
  double r = 0, l = 0, c = 0, e = 0, eAngle = 0, j = 0, jAngle = 0;
};

struct Textbook {
  std::string what;
  std::vector<Element> branches;
  std::string frequency;
  int unit = 0;
  int zeroNode = 1;
  int nodes = 0;
  bool junctions = true;  // the optimal method applies
};

// The shortest text that reads back to the same double, without an exponent
// where one is not needed ("10", not "1e+01"), as a student types it.
inline std::string Number(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  for (int digits = 1; digits < 17; ++digits) {
    char shorter[32];
    std::snprintf(shorter, sizeof shorter, "%.*g", digits, value);
    if (std::stod(shorter) == value && !std::strchr(shorter, 'e')) return shorter;
  }
  return buffer;
}

inline std::string Cell(double value) { return value == 0 ? std::string() : Number(value); }

inline BranchTable TableOf(const Textbook& circuit) {
  BranchTable table;
  for (const Element& x : circuit.branches)
    table.push_back({Format("%d->%d", x.a, x.b), Cell(x.r), Cell(x.l), Cell(x.c), Cell(x.e),
                     x.e != 0 ? Number(x.eAngle) : "", Cell(x.j), x.j != 0 ? Number(x.jAngle) : ""});
  return table;
}

inline double Hertz(const Textbook& circuit) {
  const double value = std::stod(circuit.frequency);
  return circuit.unit == kRadiansPerSecondUnit ? value / (2 * std::acos(-1.0)) : value;
}

inline std::string SpiceNode(int node, int zero) { return node == zero ? "0" : Format("n%d", node); }

// Branch k: the ammeter VAMk from a, then R, L, C and the EMF (+ towards b)
// in series to b; J drives current from the ammeter's end to b beside them.
inline std::string Netlist(const Textbook& circuit) {
  std::string text = "textbook circuit\n";
  for (int k = 0; k < static_cast<int>(circuit.branches.size()); ++k) {
    const Element& x = circuit.branches[k];
    const std::string start = Format("x%d_0", k), end = SpiceNode(x.b, circuit.zeroNode);
    text += Format("VAM%d ", k) + SpiceNode(x.a, circuit.zeroNode) + " " + start + " DC 0 AC 0\n";
    struct Part {
      std::string name, value;
      bool plusTowardsB;  // an EMF lists its + node first
    };
    std::vector<Part> series;
    if (x.r != 0) series.push_back({Format("R%d", k), Number(x.r), false});
    if (x.l != 0) series.push_back({Format("L%d", k), Number(x.l * 1e-3), false});
    if (x.c != 0) series.push_back({Format("C%d", k), Number(x.c * 1e-6), false});
    if (x.e != 0) series.push_back({Format("VE%d", k), "DC 0 AC " + Number(x.e) + " " + Number(x.eAngle), true});
    std::string at = start;
    for (size_t i = 0; i < series.size(); ++i) {
      const std::string next = i + 1 == series.size() ? end : Format("x%d_%d", k, static_cast<int>(i) + 1);
      const Part& part = series[i];
      text += part.name + " " + (part.plusTowardsB ? next + " " + at : at + " " + next) + " " + part.value + "\n";
      at = next;
    }
    if (x.j != 0)
      text += Format("IJ%d ", k) + start + " " + end + " DC 0 AC " + Number(x.j) + " " + Number(x.jAngle) + "\n";
  }
  const double f = Hertz(circuit);
  text += ".options noopac\n.ac lin 1 " + Number(f) + " " + Number(f) + "\n.control\nset numdgt=15\nrun\n";
  for (int k = 0; k < static_cast<int>(circuit.branches.size()); ++k) text += Format("print i(vam%d)\n", k);
  for (int node = 1; node <= circuit.nodes; ++node)
    if (node != circuit.zeroNode) text += Format("print v(n%d)\n", node);
  return text + "quit\n.endc\n.end\n";
}

inline const std::vector<Textbook>& Circuits() {
  static const std::vector<Textbook> circuits = {
      {"two branches 1->2, an EMF in one, and a third back",
       {{1, 2, 10, 0, 0, 20, 0}, {1, 2, 5, 20}, {2, 1, 2, 0, 100}},
       "50",
       0,
       1,
       2},
      {"an ideal current source with a phase beside an RC branch",
       {{1, 2, 0, 0, 0, 0, 0, 2, 30}, {2, 3, 10}, {3, 1, 5, 10, 0, 10, -45}, {2, 1, 20, 0, 50}},
       "50",
       0,
       1,
       3},
      {"a current source in parallel with R and with L, fed by an EMF",
       {{1, 2, 0, 0, 0, 0, 0, 1.5, 60}, {2, 1, 4}, {2, 1, 0, 15}, {1, 3, 2, 0, 0, 12, 10}, {3, 2, 6}},
       "100",
       0,
       2,
       3},
      {"a current source beside the R and L of one row",
       {{1, 2, 4, 15, 0, 0, 0, 1.5, 60}, {2, 3, 6}, {3, 1, 2, 0, 0, 12, 0}, {1, 3, 3, 0, 500}},
       "50",
       0,
       1,
       3},
      {"one-loop RLC at 1000 rad/s",
       {{1, 2, 10, 0, 0, 10, 0}, {2, 3, 0, 20}, {3, 1, 0, 0, 100}},
       "1000",
       kRadiansPerSecondUnit,
       1,
       3,
       false},
      {"three-phase star with a neutral: four branches between two nodes",
       {{1, 2, 10, 0, 0, 220, 0}, {1, 2, 5, 30, 0, 220, -120}, {1, 2, 8, 0, 300, 220, 120}, {2, 1, 1}},
       "50",
       0,
       1,
       2},
  };
  return circuits;
}

// ngspice's branch currents (table order) and node potentials (nodes 1..n,
// the zero node at 0) for the circuit.
struct SpiceAnswer {
  std::vector<Complex> currents, potentials;
};

inline SpiceAnswer SpiceAnswerOf(const Textbook& circuit) {
  const SpiceValues spice = RunSpiceNetlist(Netlist(circuit));
  SpiceAnswer answer;
  for (int k = 0; k < static_cast<int>(circuit.branches.size()); ++k)
    answer.currents.push_back(spice.Get(Format("i(vam%d)", k)));
  for (int node = 1; node <= circuit.nodes; ++node)
    answer.potentials.push_back(node == circuit.zeroNode ? Complex() : spice.Get(Format("v(n%d)", node)));
  return answer;
}

inline void ExpectAgrees(const std::vector<Complex>& ours, const std::vector<Complex>& spice, const char* what) {
  ASSERT_EQ(ours.size(), spice.size()) << what;
  double scale = 0;
  for (const Complex& value : spice) scale = std::max(scale, std::hypot(value.re, value.im));
  for (size_t k = 0; k < ours.size(); ++k)
    EXPECT_TRUE(AgreesWithSpice(ours[k], spice[k], scale))
        << what << " " << k + 1 << ": ours " << ours[k].re << "+j" << ours[k].im << ", ngspice " << spice[k].re << "+j"
        << spice[k].im;
}

}  // namespace ohmara
