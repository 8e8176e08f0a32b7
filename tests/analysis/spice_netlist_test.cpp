// The exported SPICE netlist: its text, and the file ngspice solves to the
// program's own currents and potentials whichever node is the zero node.

#include "analysis/spice_netlist.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "analysis/table_circuits.h"
#include "generator/random_circuit.h"
#include "model/errors.h"
#include "model/text_file.h"
#include "support/results_fixture.h"
#include "support/scratch_directory.h"
#include "support/spice_oracle.h"

namespace ohmara {
namespace {

// A branch known by its ends alone: the netlist computes Z and E itself.
CircuitBranch Between(int from, int to) {
  CircuitBranch branch;
  branch.From = from;
  branch.To = to;
  return branch;
}

// The phasor SPICE builds from the "AC magnitude phase" at the end of a card.
Complex SpicePhasor(const std::string& netlist, const std::string& card) {
  const size_t at = netlist.find(card);
  if (at == std::string::npos) return {};
  std::istringstream line(netlist.substr(netlist.find(" AC ", at) + 4));
  double magnitude = 0.0, degrees = 0.0;
  line >> magnitude >> degrees;
  const double radians = degrees * std::numbers::pi / 180.0;
  return {magnitude * std::cos(radians), magnitude * std::sin(radians)};
}

// A full branch, a bare wire and a capacitor alone, node 2 grounded, at a
// frequency typed with a decimal comma in kilohertz.
TEST(SpiceNetlist, CardsOfEveryKindOfBranch) {
  const std::vector<CircuitBranch> branches = {Between(1, 2), Between(2, 3), Between(3, 1), Between(1, 3)};
  const BranchTable table = {Row("1->2", "5", "10", "1", "12", "90"), Row("2->3", "", "", "", "", ""),
                             Row("3->1", "", "", "4.7", "", ""), Row("1->3", "0", "0", "", "-3", "-45")};
  const std::string netlist = SpiceNetlist(branches, table, {"1,5", 1}, 2);

  for (const char* expected : {
           "Ohmara circuit\n",
           "\n* Frequency: 1.5 kHz (1500 Hz)\n",
           "\n* Zero node: 2 (SPICE node 0)",
           // Ammeter first, R, L (henries), C (farads), then the source with + towards the end node.
           "\nVI_1_2 1 1_2_1 DC 0 AC 0\nR_1_2 1_2_1 1_2_2 5\nL_1_2 1_2_2 1_2_3 0.01\nC_1_2 1_2_3 1_2_4 1e-06\n"
           "VE_1_2 0 1_2_4 DC 0 AC 12 ",
           "\nVI_2_3 0 3 DC 0 AC 0\nVI_3_1 3 3_1_1 DC 0 AC 0\nC_3_1 3_1_1 1 4.7e-06\n",
           // An R and L of 0 are a wire; a negative source keeps its phasor.
           "\nVI_1_3 1 1_3_1 DC 0 AC 0\nVE_1_3 3 1_3_1 DC 0 AC 3 ",
           "\n.options noopac\n.ac lin 1 1500 1500\n.control\nset numdgt=15\nrun\n"
           "print i(VI_1_2)\nprint i(VI_2_3)\nprint i(VI_3_1)\nprint i(VI_1_3)\nprint v(1)\nprint "
           "v(3)\nquit\n.endc\n.end\n",
       })
    EXPECT_NE(netlist.find(expected), std::string::npos) << "missing:\n" << expected << "\nin:\n" << netlist;

  // The phasor the simulator builds is the program's own, π of 3.141592 included.
  for (const auto& [card, phasor] : {std::pair{"VE_1_2", PolarDeg(12, 90)}, std::pair{"VE_1_3", PolarDeg(-3, -45)}}) {
    const Complex spice = SpicePhasor(netlist, card);
    EXPECT_LE(std::hypot(spice.re - phasor.re, spice.im - phasor.im), 1e-14) << card;
  }

  EXPECT_THROW(SpiceNetlist(branches, table, {"1", 0}, 4), std::invalid_argument);
  EXPECT_THROW(SpiceNetlist(branches, table, {"1", 0}, 0), std::invalid_argument);
}

TEST(SpiceNetlist, SavedAsTheProgramsTextFile) {
  ScratchDirectory dir;
  const std::vector<CircuitBranch> branches = {Between(1, 2), Between(2, 1)};
  const BranchTable table = {Row("1->2", "1", "", "", "5", "0"), Row("2->1", "2", "", "", "", "")};
  ASSERT_EQ(SaveSpiceNetlist(dir.Path() / "circuit.cir", branches, table, {"50", 0}, 1), SaveProblem::None);
  EXPECT_EQ(dir.Bytes("circuit.cir"), ToFileBytes(SpiceNetlist(branches, table, {"50", 0}, 1)));
  EXPECT_EQ(SaveSpiceNetlist(dir.Path() / "missing" / "circuit.cir", branches, table, {"50", 0}, 1),
            SaveProblem::CannotWrite);
}

struct ExportCase {
  TableCircuit circuit;
  int zeroNode;  // 0: the circuit's last node
  // Generated circuits at megahertz span twelve decades of impedance; there
  // ngspice's potentials are good to some 1e-5 only (its currents carry a
  // floor of their own in SpiceSolution).
  bool potentials = true;
};

std::vector<ExportCase> ExportCases(ResultsDirectory& results) {
  std::vector<ExportCase> cases = {
      {{"five branches, two loops",
        {Row("1->2", "1", "", "", "10", "0"), Row("2->3", "1", "", "", "", ""), Row("3->1", "1", "", "", "", ""),
         Row("2->4", "1", "", "", "", ""), Row("4->3", "1", "", "", "", "")},
        {"15", 0}},
       3},
      {{"square with a diagonal",
        {Row("1->2", "1", "", "", "10", "0"), Row("2->3", "1", "", "", "", ""), Row("3->4", "1", "", "", "", ""),
         Row("4->1", "1", "", "", "", ""), Row("1->3", "2", "", "", "", "")},
        {"15", 0}},
       3},
      {RlcWithPhases(), 2},
      {CompleteGraphAtMegahertz(), 4},
  };
  EngineRandomSource random(777);
  for (int unit = 0; unit < 3; ++unit)
    cases.push_back({GeneratedCircuit("generated, unit " + std::to_string(unit),
                                      GenerateRandomCircuit(3 + unit, 6 + 2 * unit, random, results), unit),
                     0, false});
  return cases;
}

// ngspice solves the saved file to the currents of the mesh-current method
// and, with the same zero node, to the potentials of the node-potential
// method.
TEST(SpiceNetlist, ExportedFileSolvesToTheProgramsSolution) {
  ASSERT_TRUE(SpiceAvailable()) << kSpiceMissing;
  ScratchResults dir;
  for (const ExportCase& c : ExportCases(dir.Results())) {
    SCOPED_TRACE(c.circuit.what);
    CircuitState state;
    ASSERT_TRUE(Tested(c.circuit, state, dir.Results()));
    const int z = c.zeroNode != 0 ? c.zeroNode : state.NodeCount;
    ASSERT_NE(z, 1);

    const std::filesystem::path file = dir.Path() / "export.cir";
    ASSERT_EQ(SaveSpiceNetlist(file, state.Branches, c.circuit.table, c.circuit.frequency, z), SaveProblem::None);
    const SpiceSolution spice =
        SolveSpiceFile(file, state.Branches, c.circuit.table, c.circuit.frequency, state.NodeCount, z);

    MeshTexts mesh;
    MeshViews meshViews = mesh.Views();
    MeshSolution byLoops;
    ASSERT_TRUE(MeshCurrentMethod(state, dir.Results(), meshViews, byLoops));
    ExpectAgreesWithSpice(byLoops.branchCurrents, spice.currents, "current of branch", spice.currentFloor);

    if (!c.potentials) continue;
    NodeTexts nodal;
    NodeViews nodalViews = nodal.Views();
    NodalSolution byNodes;
    ASSERT_TRUE(NodePotentialMethod(state, z, dir.Results(), nodalViews, &byNodes));
    ExpectAgreesWithSpice(byNodes.Potentials, spice.potentials, "potential of node");
  }
}

// ngspice refuses an AC run at a negative frequency and computes none at 0:
// the export says so before any file is asked for, and the circuit test
// refuses a negative frequency outright while 0 stays direct current.
TEST(SpiceNetlist, FrequencyAtOrBelowZeroIsRefusedWithAMessage) {
  struct Case {
    FrequencySetting frequency;
    const char* refusal;
  };
  const Case cases[] = {
      {{"50", 0}, ""},
      {{"0,5", 1}, ""},
      {{"0", 0},
       "Экспорт в SPICE невозможен: частота 0 Гц, а ngspice рассчитывает цепь переменного тока только "
       "при частоте больше 0."},
      {{" -50 ", 1},
       "Экспорт в SPICE невозможен: частота -50 кГц, а ngspice рассчитывает цепь переменного тока "
       "только при частоте больше 0."},
  };
  std::vector<CircuitBranch> branches(2);
  branches[0].From = branches[1].To = 1;
  branches[0].To = branches[1].From = 2;
  const BranchTable table = {{"1->2", "1", "", "", "1", ""}, {"2->1", "1", "", "", "", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frequency.text);
    EXPECT_EQ(SpiceFrequencyRefusal(c.frequency), c.refusal);
    if (*c.refusal != '\0') {
      EXPECT_ANY_THROW(SpiceNetlist(branches, table, c.frequency, 1));
    }
  }
  EXPECT_EQ(AngularFrequency({"0", 0}), 0.0);
  try {
    AngularFrequency({" -50 ", 0});
    ADD_FAILURE() << "a negative frequency was taken";
  } catch (const CircuitRefusal& refusal) {
    EXPECT_STREQ(refusal.what(),
                 "Частота -50 Гц отрицательна, а отрицательной частоты не бывает. Задайте частоту "
                 "не меньше 0 (0 — постоянный ток).");
  }
}

}  // namespace
}  // namespace ohmara
