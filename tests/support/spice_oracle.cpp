#include "support/spice_oracle.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "analysis/spice_netlist.h"
#include "support/scratch_directory.h"

namespace ohmara {

namespace {

// Spice finds the current of an element from the potentials at its ends, each
// good to about one double rounding (2.2e-16) of the largest voltage in the
// circuit; an element of large admittance turns that rounding into a current
// error of about rounding x voltage x admittance. The factor leaves a margin
// of some twenty times over the worst error seen on generated circuits.
constexpr double kSpiceRoundingFactor = 1e-15;

// The largest admittance of a single element and the largest voltage any
// element of the circuit carries (bounded by its branch current times the
// element's impedance, plus the largest node potential).
void CircuitScales(const std::vector<CircuitBranch>& branches, const BranchTable& table, double omega,
                   const SpiceSolution& solution, double& admittance, double& voltage) {
  admittance = 0.0;
  double elementVoltage = 0.0;
  for (size_t k = 0; k < solution.currents.size(); ++k) {
    const SpiceBranchElements e = SpiceElementsOf(branches[k], table[k], static_cast<int>(k) + 1, omega);
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

// ngspice prints every vector name in lower case.
std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
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

std::map<std::string, Complex> RunSpice(const std::filesystem::path& netlist, std::string& log) {
  if (!SpiceAvailable()) throw SpiceError(kSpiceMissing);
  ScratchDirectory dir("ohmara-spice-run");
  const std::string command =
      "cd '" + dir.Path().string() + "' && ngspice -b '" + netlist.string() + "' > run.log 2>&1";
  const int status = std::system(command.c_str());
  log = dir.Text("run.log");
  if (status != 0) throw SpiceError("ngspice failed (status " + std::to_string(status) + "):\n" + log);
  return ParsePrinted(log);
}

Complex SpiceValues::Get(const std::string& name) const { return Printed(values, name, log); }

SpiceValues RunSpiceNetlist(const std::string& netlist) {
  ScratchDirectory dir("ohmara-spice-text");
  const std::filesystem::path path = dir.Path() / "circuit.cir";
  std::ofstream(path, std::ios::binary) << netlist;
  SpiceValues result;
  result.values = RunSpice(path, result.log);
  return result;
}

bool SpiceAvailable() { return std::system("command -v ngspice >/dev/null 2>&1") == 0; }

SpiceSolution SolveWithSpice(const std::vector<CircuitBranch>& branches, const BranchTable& table,
                             const FrequencySetting& frequency, int nodeCount, int zeroNode) {
  ScratchDirectory dir("ohmara-spice");
  const std::filesystem::path netlist = dir.Path() / "circuit.cir";
  if (SaveSpiceNetlist(netlist, branches, table, frequency, zeroNode) != SaveProblem::None)
    throw SpiceError("cannot write the netlist into " + dir.Path().string());
  return SolveSpiceFile(netlist, branches, table, frequency, nodeCount, zeroNode);
}

SpiceSolution SolveSpiceFile(const std::filesystem::path& netlist, const std::vector<CircuitBranch>& branches,
                             const BranchTable& table, const FrequencySetting& frequency, int nodeCount, int zeroNode) {
  std::string log;
  const std::map<std::string, Complex> values = RunSpice(netlist, log);
  SpiceSolution solution;
  for (const CircuitBranch& branch : branches)
    solution.currents.push_back(Printed(values, "i(" + Lowered(SpiceAmmeterName(branch)) + ")", log));
  for (int node = 1; node <= nodeCount; ++node)
    solution.potentials.push_back(node == zeroNode ? Complex()
                                                   : Printed(values, "v(" + SpiceNodeName(node, zeroNode) + ")", log));
  double admittance = 0.0, voltage = 0.0;
  CircuitScales(branches, table, AngularFrequency(frequency), solution, admittance, voltage);
  solution.currentFloor = kSpiceRoundingFactor * admittance * voltage;
  return solution;
}

bool AgreesWithSpice(Complex ours, Complex spice, double scale, double floor) {
  const double difference = std::hypot(ours.re - spice.re, ours.im - spice.im);
  return difference <= 1e-6 * std::hypot(spice.re, spice.im) || difference <= std::max(1e-9 * scale, floor);
}

}  // namespace ohmara
