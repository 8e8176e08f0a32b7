#include "analysis/spice_netlist.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "model/circuit.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

// The shortest text that reads back as the same double, whatever the locale:
// the simulator must get exactly the values the methods use.
std::string SpiceNumber(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

const char* UnitName(int unitIndex) {
  switch (unitIndex) {
    case 1:
      return "kHz";
    case 2:
      return "MHz";
    case kRadiansPerSecondUnit:
      return "rad/s";
    default:
      return "Hz";
  }
}

std::string BranchSuffix(const CircuitBranch& branch) {
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on "literal" + string.
  std::string suffix(1, '_');
  suffix += std::to_string(branch.From);
  suffix += '_';
  suffix += std::to_string(branch.To);
  // Branches between the same two nodes: each its own ammeter.
  if (branch.Parallel > 1) {
    suffix += 'p';
    suffix += std::to_string(branch.Parallel);
  }
  return suffix;
}

// "AC <magnitude> <degrees>" of a phasor the methods computed, so that the
// program's π of 3.141592 is already in the phase.
std::string AcPhasor(Complex value) {
  const double magnitude = std::hypot(value.re, value.im);
  const double degrees = std::atan2(value.im, value.re) * (180.0 / std::numbers::pi);
  return "DC 0 AC " + SpiceNumber(magnitude) + " " + SpiceNumber(degrees);
}

// Empty cell: no element; a zero value also none when `zeroIsWire`.
std::optional<double> ElementValue(const std::string& cell, double unit, bool zeroIsWire) {
  if (IsBlank(cell)) return std::nullopt;
  const double value = StrToFloat(cell);
  if (zeroIsWire && value == 0.0) return std::nullopt;
  return value * unit;
}

// Lays the cards of one branch in series from its start node to its end
// node, naming the joints between them after the branch.
class BranchChain {
 public:
  BranchChain(std::string& netlist, const CircuitBranch& branch, int cards, int zeroNode)
      : netlist_(netlist),
        suffix_(BranchSuffix(branch)),
        at_(SpiceNodeName(branch.From, zeroNode)),
        end_(SpiceNodeName(branch.To, zeroNode)),
        cardsLeft_(cards) {}

  // One card `letter` + suffix from the chain's current point to the next
  // joint (or the end node for the last card), then its `values`.
  // `plusAhead` puts the card's + terminal towards the end node.
  // The point the chain has reached and its end node.
  const std::string& Here() const { return at_; }
  // A card from `from` straight to the end node, beside the ones laid there.
  void AddBeside(const std::string& letter, const std::string& from, const std::string& values) {
    netlist_ += letter + suffix_ + " " + from + " " + end_ + " " + values + "\n";
  }
  void Add(const std::string& letter, const std::string& values, bool plusAhead = false) {
    const std::string next = --cardsLeft_ == 0 ? end_ : JointName(++joints_);
    const std::string& first = plusAhead ? next : at_;
    const std::string& second = plusAhead ? at_ : next;
    netlist_ += letter + suffix_ + " " + first + " " + second + " " + values + "\n";
    at_ = next;
  }

 private:
  std::string JointName(int joint) const { return suffix_.substr(1) + "_" + std::to_string(joint); }

  std::string& netlist_;
  std::string suffix_;
  std::string at_;
  std::string end_;
  int cardsLeft_;
  int joints_ = 0;
};

void LayBranch(std::string& netlist, const CircuitBranch& branch, const SpiceBranchElements& elements, int zeroNode) {
  const int series = elements.resistance.has_value() + elements.inductance.has_value() +
                     elements.capacitance.has_value() + elements.source.has_value();
  // An ideal current source is the one card after the ammeter; beside series
  // elements it spans them from the ammeter to the end node.
  const bool alone = elements.current && series == 0;
  BranchChain chain(netlist, branch, 1 + series + alone, zeroNode);
  chain.Add("VI", "DC 0 AC 0");
  const std::string parallelStart = chain.Here();
  if (alone) chain.Add("IJ", AcPhasor(*elements.current));
  if (elements.resistance) chain.Add("R", SpiceNumber(*elements.resistance));
  if (elements.inductance) chain.Add("L", SpiceNumber(*elements.inductance));
  if (elements.capacitance) chain.Add("C", SpiceNumber(*elements.capacitance));
  if (elements.source) chain.Add("VE", AcPhasor(*elements.source), true);
  if (elements.current && !alone) chain.AddBeside("IJ", parallelStart, AcPhasor(*elements.current));
}

int LargestNode(const std::vector<CircuitBranch>& branches) {
  int largest = 0;
  for (const CircuitBranch& branch : branches) largest = std::max({largest, branch.From, branch.To});
  return largest;
}

std::string Heading(const FrequencySetting& frequency, double hertz, int zeroNode, bool extended) {
  std::string text = "Ohmara circuit\n";
  text += "* Written by Ohmara from its branch table; run it with: ngspice -b <this file>\n";
  text += "* Frequency: " + SpiceNumber(StrToFloat(frequency.text)) + " " + UnitName(frequency.unitIndex) + " (" +
          SpiceNumber(hertz) + " Hz)\n";
  text += "* Zero node: " + std::to_string(zeroNode) + " (SPICE node 0); the other nodes keep their numbers\n";
  text += "* Branch a->b: ammeter VI_a_b, then R, L, C, then the EMF VE_a_b with + towards b\n";
  if (extended)
    text += "* A current source IJ_a_b drives a -> b beside them; the k-th branch between a and b ends in pk\n";
  return text;
}

std::string ControlBlock(const std::vector<CircuitBranch>& branches, int zeroNode) {
  std::string text = ".control\nset numdgt=15\nrun\n";
  for (const CircuitBranch& branch : branches) text += "print i(" + SpiceAmmeterName(branch) + ")\n";
  for (int node = 1; node <= LargestNode(branches); ++node)
    if (node != zeroNode) text += "print v(" + SpiceNodeName(node, zeroNode) + ")\n";
  // Without quit, ngspice -b ends with a failure status after the block.
  return text + "quit\n.endc\n";
}

}  // namespace

SpiceBranchElements SpiceElementsOf(const CircuitBranch& branch, const BranchRow& row, int rowNumber, double omega) {
  // Computed as the circuit test computes it first, which refuses what the
  // test refuses (a cell that is no number, named by its row and column; a C
  // of 0) before any cell is read here.
  CircuitBranch computed = branch;
  ComputeBranchValues(computed, row, rowNumber, omega);
  SpiceBranchElements elements;
  elements.resistance = ElementValue(row[kRColumn], 1.0, true);
  elements.inductance = ElementValue(row[kLColumn], 1e-3, true);
  elements.capacitance = ElementValue(row[kCColumn], 1e-6, false);
  if (!IsBlank(row[kEColumn])) elements.source = computed.E;
  if (!IsBlank(row[kJColumn])) elements.current = computed.J;
  return elements;
}

std::string SpiceAmmeterName(const CircuitBranch& branch) { return "VI" + BranchSuffix(branch); }

std::string SpiceNodeName(int node, int zeroNode) { return node == zeroNode ? "0" : std::to_string(node); }

std::string SpiceNetlist(const std::vector<CircuitBranch>& branches, const BranchTable& table,
                         const FrequencySetting& frequency, int zeroNode) {
  if (table.size() < branches.size()) throw std::invalid_argument("SpiceNetlist: fewer table rows than branches");
  if (zeroNode < 1 || zeroNode > LargestNode(branches))
    throw std::invalid_argument("SpiceNetlist: the zero node " + std::to_string(zeroNode) +
                                " is not a node of the circuit");
  const double omega = AngularFrequency(frequency);
  const double hertz = FrequencyHertz(frequency);
  if (!(hertz > 0.0)) throw std::invalid_argument(SpiceFrequencyRefusal(frequency));
  std::string netlist = Heading(frequency, hertz, zeroNode, UsesCurrentSource(table) || HasRepeatedPair(branches));
  for (size_t k = 0; k < branches.size(); ++k)
    LayBranch(netlist, branches[k], SpiceElementsOf(branches[k], table[k], static_cast<int>(k) + 1, omega), zeroNode);
  // Without noopac a node reached only through capacitors has no DC path,
  // and the operating point would stop the AC run.
  netlist += ".options noopac\n.ac lin 1 " + SpiceNumber(hertz) + " " + SpiceNumber(hertz) + "\n";
  netlist += ControlBlock(branches, zeroNode);
  return netlist + ".end\n";
}

std::string SpiceFrequencyRefusal(const FrequencySetting& frequency) {
  if (StrToFloat(frequency.text) > 0.0) return "";
  return Format(
      "Экспорт в SPICE невозможен: частота %s %s, а ngspice рассчитывает цепь переменного тока только "
      "при частоте больше 0.",
      SpiceNumber(StrToFloat(frequency.text)), ohmara::UnitName(frequency.unitIndex));
}

SaveProblem SaveSpiceNetlist(const std::filesystem::path& path, const std::vector<CircuitBranch>& branches,
                             const BranchTable& table, const FrequencySetting& frequency, int zeroNode) {
  return SaveTextFileSafely(path, SpiceNetlist(branches, table, frequency, zeroNode));
}

}  // namespace ohmara
