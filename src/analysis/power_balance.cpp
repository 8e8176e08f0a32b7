#include "analysis/power_balance.h"

#include <stdexcept>

#include "analysis/branch_impedances.h"

namespace ohmara {

namespace {
constexpr std::string_view kRule = "--------------------------------";
}  // namespace

void PowerBalance(const std::vector<TBranch>& branches, const std::vector<Complex>& currents, Complex& source,
                  Complex& consumed) {
  if (currents.size() < branches.size()) throw std::invalid_argument("PowerBalance: fewer currents than branches");
  source = {};
  consumed = {};
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

void ReportBranchCurrents(const std::vector<TBranch>& branches, const std::vector<Complex>& currents,
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
