#include "support/spice_oracle.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numbers>
#include <optional>
#include <sstream>

#include "model/number_text.h"
#include "support/scratch_directory.h"

namespace ohmara {

namespace {

// Shortest text that reads back as the same double, whatever the locale.
std::string SpiceNumber(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// Spice finds the current of an element from the potentials at its ends, each
// good to about one double rounding (2.2e-16) of the largest voltage in the
// circuit; an element of large admittance turns that rounding into a current
// error of about rounding x voltage x admittance. The factor leaves a margin
// of some twenty times over the worst error seen on generated circuits.
constexpr double kSpiceRoundingFactor = 1e-15;

std::string NodeName(int node, int groundNode) { return node == groundNode ? "0" : "n" + std::to_string(node); }

// Lays the elements of one branch in series from its start node to its end
// node, naming the joints between them b<k>_<i>.
class BranchChain {
 public:
  BranchChain(std::string& netlist, int index, std::string from, std::string to)
      : netlist_(netlist), index_(index), current_(std::move(from)), end_(std::move(to)) {}

  // One element card: `values` follow the two nodes; `last` ends the chain
  // at the branch's end node; `reversedNodes` puts the + node second.
  void Add(const std::string& name, const std::string& values, bool last, bool reversedNodes = false) {
    const std::string next = last ? end_ : "b" + std::to_string(index_) + "_" + std::to_string(++joints_);
    const std::string& plus = reversedNodes ? next : current_;
    const std::string& minus = reversedNodes ? current_ : next;
    netlist_ += name + std::to_string(index_) + " " + plus + " " + minus + " " + values + "\n";
    current_ = next;
  }

 private:
  std::string& netlist_;
  int index_;
  std::string current_;
  std::string end_;
  int joints_ = 0;
};

// The elements of one branch row in SI units; an empty cell is an absent
// element, and so is an R or L of 0 (a plain wire, which spice would refuse
// as a zero resistance).
struct BranchElements {
  std::optional<double> resistance, inductance, capacitance;
  std::optional<Complex> source;  // magnitude, phase in spice's (true) degrees
};

std::optional<double> Cell(const BranchRow& row, int column, double unit, bool zeroIsAbsent) {
  if (IsBlank(row[column])) return std::nullopt;
  const double value = StrToFloat(row[column]);
  if (zeroIsAbsent && value == 0.0) return std::nullopt;
  return value * unit;
}

BranchElements ReadElements(const BranchRow& row) {
  BranchElements elements;
  elements.resistance = Cell(row, kRColumn, 1.0, true);
  elements.inductance = Cell(row, kLColumn, 1e-3, true);
  elements.capacitance = Cell(row, kCColumn, 1e-6, false);
  if (!IsBlank(row[kEColumn])) {
    // The program turns the angle into radians with π = 3.141592, spice with the real π.
    double magnitude = StrToFloat(row[kEColumn]);
    double phase = StrToFloat(row[kAngleColumn]) * 3.141592 / std::numbers::pi;
    if (magnitude < 0) {
      magnitude = -magnitude;
      phase += 180.0;
    }
    elements.source = Complex(magnitude, phase);
  }
  return elements;
}

void LayBranch(std::string& netlist, int index, const BranchElements& elements, const std::string& from,
               const std::string& to) {
  const int count = 1 + elements.source.has_value() + elements.resistance.has_value() +
                    elements.inductance.has_value() + elements.capacitance.has_value();
  BranchChain chain(netlist, index, from, to);
  int laid = 0;
  chain.Add("vam", "DC 0 AC 0", ++laid == count);
  // The source's + terminal is towards the branch's end node.
  if (elements.source)
    chain.Add("VE", "DC 0 AC " + SpiceNumber(elements.source->re) + " " + SpiceNumber(elements.source->im),
              ++laid == count, true);
  if (elements.resistance) chain.Add("R", SpiceNumber(*elements.resistance), ++laid == count);
  if (elements.inductance) chain.Add("L", SpiceNumber(*elements.inductance), ++laid == count);
  if (elements.capacitance) chain.Add("C", SpiceNumber(*elements.capacitance), ++laid == count);
}

// The largest admittance of a single element and the largest voltage any
// element of the circuit carries (bounded by its branch current times the
// element's impedance, plus the largest node potential).
void CircuitScales(const BranchTable& table, double omega, const SpiceSolution& solution, double& admittance,
                   double& voltage) {
  admittance = 0.0;
  double elementVoltage = 0.0;
  for (size_t k = 0; k < solution.currents.size(); ++k) {
    const BranchElements e = ReadElements(table[k]);
    const double current = std::hypot(solution.currents[k].re, solution.currents[k].im);
    std::vector<double> impedances;
    if (e.resistance) impedances.push_back(std::fabs(*e.resistance));
    if (e.inductance) impedances.push_back(std::fabs(omega * *e.inductance));
    if (e.capacitance) impedances.push_back(1.0 / std::fabs(omega * *e.capacitance));
    for (double z : impedances) {
      if (z > 0.0) admittance = std::max(admittance, 1.0 / z);
      elementVoltage = std::max(elementVoltage, current * z);
    }
  }
  voltage = LargestMagnitude(solution.potentials) + elementVoltage;
}

std::string AmmeterName(int index) { return "vam" + std::to_string(index); }

std::string PrintCommands(int branchCount, int nodeCount, int groundNode) {
  std::string commands;
  for (int k = 0; k < branchCount; ++k) commands += "print " + AmmeterName(k) + "#branch\n";
  for (int node = 1; node <= nodeCount; ++node)
    if (node != groundNode) commands += "print v(" + NodeName(node, groundNode) + ")\n";
  return commands;
}

// Lines "name = re,im" of ngspice's print for a single data row.
std::map<std::string, Complex> ParsePrinted(const std::string& output) {
  std::map<std::string, Complex> values;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t equals = line.find(" = ");
    const size_t comma = line.find(',', equals == std::string::npos ? 0 : equals);
    if (equals == std::string::npos || comma == std::string::npos) continue;
    const std::string name = line.substr(0, equals);
    const std::string re = line.substr(equals + 3, comma - equals - 3);
    std::string im = line.substr(comma + 1);
    while (!im.empty() && (im.back() == '\r' || im.back() == ' ')) im.pop_back();
    Complex value;
    const auto r1 = std::from_chars(re.data(), re.data() + re.size(), value.re);
    const auto r2 = std::from_chars(im.data(), im.data() + im.size(), value.im);
    if (r1.ec == std::errc() && r2.ec == std::errc()) values[name] = value;
  }
  return values;
}

Complex Printed(const std::map<std::string, Complex>& values, const std::string& name, const std::string& log) {
  auto it = values.find(name);
  if (it == values.end())
    throw SpiceError("ngspice printed no value for " + name + "; the end of its output:\n" +
                     log.substr(log.size() > 2000 ? log.size() - 2000 : 0));
  return it->second;
}

}  // namespace

std::string SpiceNetlist(const std::vector<TBranch>& branches, const BranchTable& table, double frequencyHz,
                         int nodeCount, int groundNode) {
  if (table.size() < branches.size()) throw std::invalid_argument("SpiceNetlist: fewer table rows than branches");
  std::string netlist = "* Ohmara circuit\n";
  for (size_t k = 0; k < branches.size(); ++k) {
    const int index = static_cast<int>(k);
    LayBranch(netlist, index, ReadElements(table[k]), NodeName(branches[k].From, groundNode),
              NodeName(branches[k].To, groundNode));
  }
  const std::string f = SpiceNumber(frequencyHz);
  // Without noopac a node reached only through capacitors has no DC path and
  // the operating point stops the AC run.
  netlist += ".options noopac\n.ac lin 1 " + f + " " + f + "\n";
  netlist += ".control\nset numdgt=15\nrun\n" + PrintCommands(static_cast<int>(branches.size()), nodeCount, groundNode);
  netlist += "quit\n.endc\n.end\n";
  return netlist;
}

bool SpiceAvailable() { return std::system("command -v ngspice >/dev/null 2>&1") == 0; }

SpiceSolution SolveWithSpice(const std::vector<TBranch>& branches, const BranchTable& table, double frequencyHz,
                             int nodeCount, int groundNode) {
  if (!SpiceAvailable()) throw SpiceError(kSpiceMissing);
  ScratchDirectory dir("ohmara-spice");
  {
    std::ofstream netlist(dir.Path() / "circuit.cir", std::ios::binary);
    netlist << SpiceNetlist(branches, table, frequencyHz, nodeCount, groundNode);
    if (!netlist.flush()) throw SpiceError("cannot write the netlist into " + dir.Path().string());
  }
  const std::string command = "cd '" + dir.Path().string() + "' && ngspice -b circuit.cir > run.log 2>&1";
  const int status = std::system(command.c_str());
  const std::string log = dir.Text("run.log");
  if (status != 0) throw SpiceError("ngspice failed (status " + std::to_string(status) + "):\n" + log);

  const std::map<std::string, Complex> values = ParsePrinted(log);
  SpiceSolution solution;
  for (size_t k = 0; k < branches.size(); ++k)
    solution.currents.push_back(Printed(values, AmmeterName(static_cast<int>(k)) + "#branch", log));
  for (int node = 1; node <= nodeCount; ++node)
    solution.potentials.push_back(node == groundNode ? Complex()
                                                     : Printed(values, "v(" + NodeName(node, groundNode) + ")", log));
  double admittance = 0.0, voltage = 0.0;
  CircuitScales(table, 2.0 * std::numbers::pi * frequencyHz, solution, admittance, voltage);
  solution.currentFloor = kSpiceRoundingFactor * admittance * voltage;
  return solution;
}

bool AgreesWithSpice(Complex ours, Complex spice, double scale, double floor) {
  const double difference = std::hypot(ours.re - spice.re, ours.im - spice.im);
  return difference <= 1e-6 * std::hypot(spice.re, spice.im) || difference <= std::max(1e-9 * scale, floor);
}

double LargestMagnitude(const std::vector<Complex>& values) {
  double largest = 0.0;
  for (Complex z : values) largest = std::max(largest, std::hypot(z.re, z.im));
  return largest;
}

}  // namespace ohmara
