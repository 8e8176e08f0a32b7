#include "analysis/branch_impedances.h"

#include <cmath>

#include "model/complex.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// -10^6/(ωC) ohms for C in microfarads. A product ωC that is 0, or so small
// that its reciprocal overflows, is a division by zero: the student must see
// which branch, not an infinite reactance.
double CapacitiveReactance(double omega, double capacitance, const std::string& label) {
  const double omegaC = omega * capacitance;
  if (omegaC == 0.0) throw DivisionByZero(label);
  const double reciprocal = 1.0 / omegaC;
  if (!std::isfinite(reciprocal)) throw DivisionByZero(label);
  return -reciprocal * 1000000.0;
}

// The angle is converted before the magnitude, and only when a source is
// there at all: a filled E with an empty angle is a conversion error.
Complex SourcePhasor(const BranchRow& row) {
  const double angle = StrToFloat(row[kAngleColumn]);
  const double magnitude = StrToFloat(row[kEColumn]);
  return PolarDeg(magnitude, angle);
}

std::string OutLine(int number, const TBranch& branch) {
  std::string line = Format("%d)\tZ%d%d=", number, branch.From, branch.To);
  line += ComplexOutText(branch.Z, "\t\t");
  AppendFormat(line, "E%d%d=", branch.From, branch.To);
  line += ComplexOutText(branch.E, "\t\t");
  line += "\n";
  return line;
}

}  // namespace

double UnitFactor(int unitIndex) {
  switch (unitIndex) {
    case 1: return 1000.0;
    case 2: return 1000000.0;
    default: return 1.0;
  }
}

double AngularFrequency(const FrequencySetting& frequency) {
  return kTwoPi * (StrToFloat(frequency.text) * UnitFactor(frequency.unitIndex));
}

std::string BranchLabel(const char* letter, const TBranch& branch) {
  return Format("%s%d%d", letter, branch.From, branch.To);
}

void ComputeBranchValues(TBranch& branch, const BranchRow& row, double omega, const std::string& label) {
  branch.Z = Complex();
  branch.E = Complex();
  if (!IsBlank(row[kRColumn])) branch.Z = Complex(StrToFloat(row[kRColumn]), 0.0);
  if (!IsBlank(row[kLColumn])) branch.Z += Complex(0.0, omega * StrToFloat(row[kLColumn]) * 0.001);
  if (!IsBlank(row[kCColumn]))
    branch.Z += Complex(0.0, CapacitiveReactance(omega, StrToFloat(row[kCColumn]), label));
  if (!IsBlank(row[kEColumn])) branch.E = SourcePhasor(row);
}

void ComputeBranchImpedances(std::vector<TBranch>& branches, const BranchTable& table,
                             const FrequencySetting& frequency, ResultsDirectory& results, MemoView& InValMem) {
  const double omega = AngularFrequency(frequency);
  // Every branch is computed before anything is written, so a bad cell
  // leaves out.txt and the memo as the test left them.
  for (size_t k = 0; k < branches.size(); ++k)
    ComputeBranchValues(branches[k], table.at(k), omega, BranchLabel("Z", branches[k]));

  std::string block;
  for (size_t k = 0; k < branches.size(); ++k) {
    const TBranch& branch = branches[k];
    block += OutLine(static_cast<int>(k) + 1, branch);
    InValMem.Add(BranchLabel("Z", branch) + " = " + ComplexToText(branch.Z));
    InValMem.Add(BranchLabel("E", branch) + " = " + ComplexToText(branch.E));
  }
  results.Append("out.txt", block);
}

}  // namespace ohmara
