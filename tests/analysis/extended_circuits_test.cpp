// Textbook circuits typed as printed — branches between the same two nodes,
// current sources, one loop, ω — solved by every method that applies and
// checked against ngspice on a netlist laid out here, element by element.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/circuit_faults.h"
#include "analysis/circuit_session.h"
#include "analysis/optimal_node_potential.h"
#include "model/branch_table_file.h"
#include "model/text_format.h"
#include "support/results_fixture.h"
#include "support/spice_oracle.h"

namespace ohmara {
namespace {

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

// The shortest text that reads back to the same double.
std::string Number(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  for (int digits = 1; digits < 17; ++digits) {
    char shorter[32];
    std::snprintf(shorter, sizeof shorter, "%.*g", digits, value);
    if (std::stod(shorter) == value) return shorter;
  }
  return buffer;
}

std::string Cell(double value) { return value == 0 ? std::string() : Number(value); }

BranchTable TableOf(const Textbook& circuit) {
  BranchTable table;
  for (const Element& x : circuit.branches)
    table.push_back({Format("%d->%d", x.a, x.b), Cell(x.r), Cell(x.l), Cell(x.c), Cell(x.e),
                     x.e != 0 ? Number(x.eAngle) : "", Cell(x.j), x.j != 0 ? Number(x.jAngle) : ""});
  return table;
}

double Hertz(const Textbook& circuit) {
  const double value = std::stod(circuit.frequency);
  return circuit.unit == kRadiansPerSecondUnit ? value / (2 * std::acos(-1.0)) : value;
}

std::string Node(int node, int zero) { return node == zero ? "0" : Format("n%d", node); }

// Branch k: the ammeter VAMk from a, then R, L, C and the EMF (+ towards b)
// in series to b; J drives current from the ammeter's end to b beside them.
std::string Netlist(const Textbook& circuit) {
  std::string text = "textbook circuit\n";
  for (int k = 0; k < static_cast<int>(circuit.branches.size()); ++k) {
    const Element& x = circuit.branches[k];
    const std::string start = Format("x%d_0", k), end = Node(x.b, circuit.zeroNode);
    text += Format("VAM%d ", k) + Node(x.a, circuit.zeroNode) + " " + start + " DC 0 AC 0\n";
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

const std::vector<Textbook>& Circuits() {
  static const std::vector<Textbook> circuits = {
      {"two branches 1->2, an EMF in one, and a third back",
       {{1, 2, 10, 0, 0, 20, 0}, {1, 2, 5, 20}, {2, 1, 2, 0, 100}}, "50", 0, 1, 2},
      {"an ideal current source with a phase beside an RC branch",
       {{1, 2, 0, 0, 0, 0, 0, 2, 30}, {2, 3, 10}, {3, 1, 5, 10, 0, 10, -45}, {2, 1, 20, 0, 50}}, "50", 0, 1, 3},
      {"a current source in parallel with R and with L, fed by an EMF",
       {{1, 2, 0, 0, 0, 0, 0, 1.5, 60}, {2, 1, 4}, {2, 1, 0, 15}, {1, 3, 2, 0, 0, 12, 10}, {3, 2, 6}}, "100", 0, 2, 3},
      {"a current source beside the R and L of one row",
       {{1, 2, 4, 15, 0, 0, 0, 1.5, 60}, {2, 3, 6}, {3, 1, 2, 0, 0, 12, 0}, {1, 3, 3, 0, 500}}, "50", 0, 1, 3},
      {"one-loop RLC at 1000 rad/s", {{1, 2, 10, 0, 0, 10, 0}, {2, 3, 0, 20}, {3, 1, 0, 0, 100}}, "1000",
       kRadiansPerSecondUnit, 1, 3, false},
      {"three-phase star with a neutral: four branches between two nodes",
       {{1, 2, 10, 0, 0, 220, 0}, {1, 2, 5, 30, 0, 220, -120}, {1, 2, 8, 0, 300, 220, 120}, {2, 1, 1}}, "50", 0, 1,
       2},
  };
  return circuits;
}

void ExpectAgrees(const std::vector<Complex>& ours, const std::vector<Complex>& spice, const char* what) {
  ASSERT_EQ(ours.size(), spice.size()) << what;
  double scale = 0;
  for (const Complex& value : spice) scale = std::max(scale, std::hypot(value.re, value.im));
  for (size_t k = 0; k < ours.size(); ++k)
    EXPECT_TRUE(AgreesWithSpice(ours[k], spice[k], scale))
        << what << " " << k + 1 << ": ours " << ours[k].re << "+j" << ours[k].im << ", ngspice " << spice[k].re
        << "+j" << spice[k].im;
}

class ExtendedCircuits : public ResultsFixture {
 protected:
  CircuitState working_;
};

TEST_F(ExtendedCircuits, EveryMethodGivesNgspicesCurrentsAndPotentials) {
  if (!SpiceAvailable()) GTEST_SKIP() << kSpiceMissing;
  for (const Textbook& circuit : Circuits()) {
    SCOPED_TRACE(circuit.what);
    const SpiceValues spice = RunSpiceNetlist(Netlist(circuit));
    std::vector<Complex> currents, potentials;
    for (int k = 0; k < static_cast<int>(circuit.branches.size()); ++k)
      currents.push_back(spice.Get(Format("i(vam%d)", k)));
    for (int node = 1; node <= circuit.nodes; ++node)
      potentials.push_back(node == circuit.zeroNode ? Complex() : spice.Get(Format("v(n%d)", node)));

    CircuitSession session(working_, Results());
    session.Edit({TableOf(circuit), {circuit.frequency, circuit.unit}, std::to_string(circuit.zeroNode), true});
    const CircuitCheckOutcome outcome = session.Test();
    ASSERT_TRUE(outcome.passed) << CircuitFaultLine(FindCircuitFault(TableOf(circuit), session.checkedState()));
    EXPECT_EQ(outcome.n == 0, !circuit.junctions);

    ASSERT_TRUE(session.SolveMesh());
    ExpectAgrees(session.mesh().solution.branchCurrents, currents, "mesh: branch");
    ASSERT_TRUE(session.SolveNodes(NodePotentialMethod, circuit.zeroNode));
    ExpectAgrees(session.nodes().solution.Currents, currents, "nodal: branch");
    ExpectAgrees(session.nodes().solution.Potentials, potentials, "nodal: node");
    if (circuit.junctions) {
      ASSERT_TRUE(session.SolveNodes(OptimalNodePotentialMethod, circuit.zeroNode));
      ExpectAgrees(session.nodes().solution.Currents, currents, "optimal: branch");
    } else {
      try {
        session.SolveNodes(OptimalNodePotentialMethod, circuit.zeroNode);
        ADD_FAILURE() << "the optimal method solved a circuit without junctions";
      } catch (const std::domain_error& refusal) {
        EXPECT_STREQ(refusal.what(), kOptimalNeedsJunctionText);
      }
    }
  }
}

// What a student reads for a current source and for parallel branches.
TEST_F(ExtendedCircuits, WindowsNameParallelBranchesAndShowGivenLoopCurrents) {
  const Textbook& source = Circuits()[2];
  CircuitSession session(working_, Results());
  session.Edit({TableOf(source), {source.frequency, source.unit}, "3", true});
  ASSERT_TRUE(session.Test().passed);
  ASSERT_TRUE(session.SolveMesh());
  const std::vector<std::string>& loops = session.meshTexts().loopCurrents.lines;
  ASSERT_EQ(loops.size(), 3u);
  EXPECT_EQ(loops.back(), "I33 = 1.5 ∠ 60° (задан источником тока J)");
  // The system solved is the two loops whose currents are unknown.
  EXPECT_EQ(session.meshTexts().impedanceMatrix.rows, 2);
  const std::vector<std::string>& currents = session.meshTexts().branchCurrents.lines;
  EXPECT_EQ(currents[0].rfind("I12 = ", 0), 0u);
  EXPECT_EQ(currents[1].rfind("I21_2 = ", 0), 0u);
  EXPECT_EQ(currents[2].rfind("I21_3 = ", 0), 0u);
  const std::vector<std::string>& power = session.meshTexts().powerBalance.lines;
  ASSERT_EQ(power.size(), 3u);
  EXPECT_EQ(power[2].rfind("UJ12 = ", 0), 0u);
}

TEST_F(ExtendedCircuits, CurrentSourcesThatAloneJoinTwoPartsAreRefusedByName) {
  // Node 3 hangs on two current sources; nodes 1 and 2 form a loop of their own.
  const BranchTable table = {{"1->2", "5"}, {"2->1", "7"}, {"2->3", "", "", "", "", "", "1", ""},
                             {"3->1", "", "", "", "", "", "1", ""}};
  CircuitSession session(working_, Results());
  session.Edit({table, {"50", 0}, "1", true});
  EXPECT_FALSE(session.Test().passed);
  EXPECT_EQ(CircuitFaultLine(FindCircuitFault(table, session.checkedState())),
            "Источники тока в ветвях 3 (2->3) и 4 (3->1) образуют сечение: без них цепь распадается на части, и их "
            "токи нельзя задать независимо. Добавьте ветвь с сопротивлением между этими частями.");
}

// Extended circuits are an addition: a table that uses none of it reads,
// writes and solves byte for byte as before with the item on.
TEST_F(ExtendedCircuits, AClassicTableGivesTheSameTextsAndFilesWithTheItemOn) {
  const BranchTable table = {{"1->2", "10", "", "", "100", "0"}, {"2->3", "3", "20"}, {"3->1", "2", "", "100"},
                             {"2->4", "5"}, {"4->3", "7", "", "", "20", "45"}};
  EXPECT_FALSE(UsesExtendedFeatures(table));
  EXPECT_EQ(BranchTableFileText(table).substr(0, 2), "5\n");
  std::vector<std::string> seen[2];
  for (bool extended : {false, true}) {
    ScratchResults dir;
    CircuitState state;
    CircuitSession session(state, dir.Results());
    session.Edit({table, {"50", 0}, "3", extended});
    ASSERT_TRUE(session.Test().passed);
    ASSERT_TRUE(session.SolveMesh());
    ASSERT_TRUE(session.SolveNodes(NodePotentialMethod, 3));
    std::vector<std::string>& texts = seen[extended];
    texts = session.meshTexts().loops.lines;
    for (const auto* memo : {&session.meshTexts().loopCurrents, &session.meshTexts().branchCurrents,
                             &session.nodeTexts().potentials, &session.nodeTexts().powerBalance})
      texts.insert(texts.end(), memo->lines.begin(), memo->lines.end());
    ASSERT_TRUE(session.SolveNodes(OptimalNodePotentialMethod, 3));
    texts.insert(texts.end(), session.nodeTexts().branchCurrents.lines.begin(),
                 session.nodeTexts().branchCurrents.lines.end());
    for (const char* file : {"out.txt", "adjTable.txt", "Currents.txt", "Potential.txt"})
      texts.push_back(dir.Bytes(file));
  }
  EXPECT_EQ(seen[0], seen[1]);
}

TEST(ExtendedTableFile, MarkedCountAndEightFieldsReadBackToTheSameGrid) {
  for (const Textbook& circuit : Circuits()) {
    SCOPED_TRACE(circuit.what);
    const BranchTable table = TableOf(circuit);
    // One loop alone needs no new column: its file is the classic one.
    const bool marked = circuit.junctions;
    EXPECT_EQ(UsesExtendedFeatures(table), marked);
    const std::string text = BranchTableFileText(table);
    EXPECT_EQ(text.substr(0, text.find('\n')), std::to_string(table.size()) + (marked ? "J" : ""));
    const BranchFileReading reading = ParseBranchTableText(text);
    ASSERT_TRUE(reading.ok());
    EXPECT_EQ(reading.extended, marked);
    EXPECT_EQ(reading.table, table);
  }
}

}  // namespace
}  // namespace ohmara
