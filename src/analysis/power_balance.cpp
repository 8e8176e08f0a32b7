#include "analysis/power_balance.h"

#include <algorithm>
#include <stdexcept>

#include "analysis/branch_impedances.h"
#include "analysis/source_loops.h"

namespace ohmara {

namespace {
constexpr std::string_view kRule = "--------------------------------";

int HighestNode(const std::vector<CircuitBranch>& branches) {
  int highest = 0;
  for (const CircuitBranch& b : branches) highest = std::max({highest, b.From, b.To});
  return highest;
}

// Potentials by node number, node 1 at 0, down the tree of the branches
// that are not ideal current sources: φ(From) − φ(To) = (I − J)·Z − E.
std::vector<Complex> PotentialsFromCurrents(const std::vector<CircuitBranch>& branches,
                                            const std::vector<Complex>& currents) {
  const SpanningTree tree = SourceFreeTree(branches, HighestNode(branches));
  std::vector<Complex> potential(tree.depth.size());
  for (int node : tree.order) {
    const int k = tree.parentBranch[node];
    if (k < 0) continue;
    const CircuitBranch& b = branches[k];
    const Complex drop = (currents[k] - b.J) * b.Z - b.E;
    potential[node] = b.To == node ? potential[b.From] - drop : potential[b.To] + drop;
  }
  return potential;
}

void BalanceWithCurrentSources(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents,
                               Complex& source, Complex& consumed) {
  const std::vector<Complex> voltages = CurrentSourceVoltages(branches, currents);
  for (size_t k = 0; k < branches.size(); ++k) {
    const CircuitBranch& b = branches[k];
    const Complex throughZ = currents[k] - b.J;
    consumed += throughZ * conj(throughZ) * b.Z;
    source += b.E * conj(throughZ) + voltages[k] * conj(b.J);
  }
}

}  // namespace

bool HasCurrentSources(const std::vector<CircuitBranch>& branches) {
  return std::any_of(branches.begin(), branches.end(), [](const CircuitBranch& b) { return !IsZero(b.J); });
}

std::vector<Complex> CurrentSourceVoltages(const std::vector<CircuitBranch>& branches,
                                           const std::vector<Complex>& currents) {
  const std::vector<Complex> potential = PotentialsFromCurrents(branches, currents);
  std::vector<Complex> voltages(branches.size());
  for (size_t k = 0; k < branches.size(); ++k)
    if (!IsZero(branches[k].J)) voltages[k] = potential[branches[k].To] - potential[branches[k].From];
  return voltages;
}

std::vector<std::string> CurrentSourceVoltageLines(const std::vector<CircuitBranch>& branches,
                                                   const std::vector<Complex>& currents) {
  std::vector<std::string> lines;
  if (!HasCurrentSources(branches)) return lines;
  const std::vector<Complex> voltages = CurrentSourceVoltages(branches, currents);
  for (size_t k = 0; k < branches.size(); ++k)
    if (!IsZero(branches[k].J)) lines.push_back(BranchLabel("UJ", branches[k]) + " = " + ComplexToText(voltages[k]));
  return lines;
}

std::vector<BranchPower> BranchPowers(const std::vector<CircuitBranch>& branches,
                                      const std::vector<Complex>& currents) {
  std::vector<BranchPower> powers;
  const bool sources = HasCurrentSources(branches);
  const std::vector<Complex> voltages =
      sources ? CurrentSourceVoltages(branches, currents) : std::vector<Complex>(branches.size());
  for (size_t k = 0; k < branches.size(); ++k) {
    const CircuitBranch& b = branches[k];
    const Complex throughZ = currents[k] - b.J;
    if (!IsZero(b.Z)) powers.push_back({BranchLabel("Z", b), throughZ * conj(throughZ) * b.Z});
    if (!IsZero(b.E)) powers.push_back({BranchLabel("E", b), b.E * conj(throughZ)});
    if (!IsZero(b.J)) powers.push_back({BranchLabel("J", b), voltages[k] * conj(b.J)});
  }
  Complex source, consumed;
  PowerBalance(branches, currents, source, consumed);
  powers.push_back({"Мощность источников", source});
  powers.push_back({"Потребляемая мощность", consumed});
  return powers;
}

std::vector<std::string> BranchPowerLines(const std::vector<BranchPower>& powers) {
  std::vector<std::string> lines;
  lines.reserve(powers.size());
  for (const BranchPower& power : powers) lines.push_back(power.label + " = " + ComplexToText(power.power));
  return lines;
}

void ShowPowerBlock(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents, Complex source,
                    Complex consumed, MemoView& powerBalance, std::string& section) {
  ShowPowerBalance(powerBalance, source, consumed);
  section += PowerBalanceFileText(source, consumed);
  for (const std::string& line : CurrentSourceVoltageLines(branches, currents)) {
    powerBalance.Add(line);
    section += line + "\n";
  }
}

void PowerBalance(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents, Complex& source,
                  Complex& consumed) {
  if (currents.size() < branches.size()) throw std::invalid_argument("PowerBalance: fewer currents than branches");
  source = {};
  consumed = {};
  if (HasCurrentSources(branches)) return BalanceWithCurrentSources(branches, currents, source, consumed);
  for (size_t k = 0; k < branches.size(); ++k) {
    const Complex current = currents[k];
    // I·conj(I) as a complex product, so a resistive circuit keeps an exactly
    // zero imaginary part and the screen shows the real value alone.
    consumed += current * conj(current) * branches[k].Z;
    if (!IsZero(branches[k].E)) source += branches[k].E * conj(current);
  }
}

std::string PowerBalanceFileText(Complex source, Complex consumed) {
  std::string text = "\nБаланс мощностей\n";
  text += "Мощность источников = ";
  text += ComplexFileText(source, "%7.5lf", "+%7.5lfi\n", "%7.5lfi\n");
  text += "Потребляемая мощность = ";
  text += ComplexFileText(consumed, "%7.5lf", "+%7.5lfi\n", "%7.5lfi\n");
  return text;
}

void ShowPowerBalance(MemoView& powerBalance, Complex source, Complex consumed) {
  powerBalance.Add("Мощность источников = " + ComplexToText(source));
  powerBalance.Add("Потребляемая мощность = " + ComplexToText(consumed));
}

void ReportBranchCurrents(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents,
                          MemoView& branchCurrents, std::string& section) {
  for (size_t k = 0; k < branches.size(); ++k) {
    const std::string label = BranchLabel("I", branches[k]);
    branchCurrents.Add(label + " = " + ComplexToText(currents[k]));
    section += label + "=" + ComplexOutText(currents[k], "\t\t\n");
  }
}

std::string MethodSectionHeader(std::string_view title) {
  std::string text = "\n\n";
  text.append(kRule).append("\n").append(title).append("\n").append(kRule).append("\n\n");
  return text;
}

}  // namespace ohmara
