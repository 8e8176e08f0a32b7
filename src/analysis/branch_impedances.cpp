#include "analysis/branch_impedances.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "model/complex.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/quoted_text.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// The cell of `column` in branch row `rowNumber`, converted; a refusal names
// the branch and the column.
double CellValue(const BranchRow& row, int rowNumber, BranchColumn column) {
  return FieldToFloat(row[column], BranchCellPlace(row, rowNumber, column));
}

// Six significant digits, as %g writes them: a frequency recovered from ω
// reads "50", not "50.000000000000007".
std::string ShortNumber(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return std::string(buffer, result.ptr);
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// An element whose reactance overflows: the branch, the element as typed and
// the frequency it was taken at, since either may be the mistake.
[[noreturn]] void RefuseInfiniteReactance(const CircuitBranch& branch, const BranchRow& row, BranchColumn column,
                                          double omega) {
  const bool inductance = column == kLColumn;
  throw NonFiniteValue(
      BranchLabel("Z", branch),
      Format("Сопротивление ветви %d->%d бесконечно: %s %s %s слишком %s для частоты %s Гц.", branch.From, branch.To,
             inductance ? "индуктивность" : "ёмкость", QuotedText(Trimmed(row[column])), inductance ? "мГн" : "мкФ",
             inductance ? "велика" : "мала", ShortNumber(omega / kTwoPi)));
}

// -10^6/(ωC) ohms for C in microfarads. A product ωC of exactly 0 is a
// division by zero; one so small that the reactance overflows is refused by
// the caller, naming the capacitance.
double CapacitiveReactance(double omega, double capacitance, const std::string& label) {
  const double omegaC = omega * capacitance;
  if (omegaC == 0.0) throw DivisionByZero(label);
  return -(1000000.0 / omegaC);
}

// The angle is converted before the magnitude, and only when a source is
// there at all: a filled E with an empty angle is a conversion error.
Complex SourcePhasor(const BranchRow& row, int rowNumber, BranchColumn magnitudeColumn, BranchColumn angleColumn) {
  const double angle = CellValue(row, rowNumber, angleColumn);
  const double magnitude = CellValue(row, rowNumber, magnitudeColumn);
  return PolarDeg(magnitude, angle);
}

// J of the row; a blank angle beside a filled J is 0°, as a student writes a
// direct current source.
Complex CurrentSourcePhasor(const BranchRow& row, int rowNumber) {
  if (IsBlank(row[kJColumn])) return Complex();
  const double angle = IsBlank(row[kJAngleColumn]) ? 0.0 : CellValue(row, rowNumber, kJAngleColumn);
  return PolarDeg(CellValue(row, rowNumber, kJColumn), angle);
}

// A current source whose parallel path is an ideal EMF alone has no current
// of its own to give: the EMF fixes the voltage, and nothing fixes its share.
void RefuseShortedCurrentSource(const CircuitBranch& branch, int rowNumber) {
  throw CircuitRefusal(CircuitRefusal::Kind::ShortedCurrentSource,
                       Format("Ветвь %d (%d->%d): источник тока J параллелен источнику ЭДС без сопротивления. "
                              "Добавьте R, L или C в ветвь или вынесите J в отдельную ветвь.",
                              rowNumber, branch.From, branch.To));
}

std::string OutLine(int number, const CircuitBranch& branch) {
  std::string line = Format("%d)\t", number) + BranchLabel("Z", branch) + "=";
  line += ComplexOutText(branch.Z, "\t\t");
  line += BranchLabel("E", branch) + "=";
  line += ComplexOutText(branch.E, "\t\t");
  if (!IsZero(branch.J)) {
    line += BranchLabel("J", branch) + "=";
    line += ComplexOutText(branch.J, "\t\t");
  }
  line += "\n";
  return line;
}

}  // namespace

double UnitFactor(int unitIndex) {
  switch (unitIndex) {
    case 1:
      return 1000.0;
    case 2:
      return 1000000.0;
    default:
      return 1.0;
  }
}

const char* UnitName(int unitIndex) {
  switch (unitIndex) {
    case 1:
      return "кГц";
    case 2:
      return "МГц";
    case kRadiansPerSecondUnit:
      return "рад/с";
    default:
      return "Гц";
  }
}

double FrequencyHertz(const FrequencySetting& frequency) {
  const double value = FieldToFloat(frequency.text, "Частота");
  return frequency.unitIndex == kRadiansPerSecondUnit ? value / kTwoPi : value * UnitFactor(frequency.unitIndex);
}

double AngularFrequency(const FrequencySetting& frequency) {
  const double value = FieldToFloat(frequency.text, "Частота");
  const bool radians = frequency.unitIndex == kRadiansPerSecondUnit;
  const double hertz = radians ? value : value * UnitFactor(frequency.unitIndex);
  if (hertz < 0.0)
    throw CircuitRefusal(CircuitRefusal::Kind::NegativeFrequency,
                         Format("Частота %s %s отрицательна, а отрицательной частоты не бывает. Задайте частоту "
                                "не меньше 0 (0 — постоянный ток).",
                                QuotedText(Trimmed(frequency.text)), UnitName(frequency.unitIndex)));
  const double omega = radians ? value : kTwoPi * hertz;
  if (!std::isfinite(omega))
    throw NonFiniteValue("ω", Format("Частота %s %s слишком велика: угловая частота ω = 2πf бесконечна.",
                                     QuotedText(Trimmed(frequency.text)), UnitName(frequency.unitIndex)));
  return omega;
}

std::string BranchLabel(const char* letter, const CircuitBranch& branch) {
  if (branch.Parallel > 1) return Format("%s%d%d_%d", letter, branch.From, branch.To, branch.Parallel);
  return Format("%s%d%d", letter, branch.From, branch.To);
}

void ComputeBranchValues(CircuitBranch& branch, const BranchRow& row, int rowNumber, double omega) {
  branch.Z = Complex();
  branch.E = Complex();
  if (!IsBlank(row[kRColumn])) branch.Z = Complex(CellValue(row, rowNumber, kRColumn), 0.0);
  if (!IsBlank(row[kLColumn])) {
    const double reactance = omega * CellValue(row, rowNumber, kLColumn) * 0.001;
    if (!std::isfinite(reactance)) RefuseInfiniteReactance(branch, row, kLColumn, omega);
    branch.Z += Complex(0.0, reactance);
  }
  if (!IsBlank(row[kCColumn])) {
    const double reactance = CapacitiveReactance(omega, CellValue(row, rowNumber, kCColumn), BranchLabel("Z", branch));
    if (!std::isfinite(reactance)) RefuseInfiniteReactance(branch, row, kCColumn, omega);
    branch.Z += Complex(0.0, reactance);
  }
  if (!IsBlank(row[kEColumn])) branch.E = SourcePhasor(row, rowNumber, kEColumn, kAngleColumn);
  branch.J = CurrentSourcePhasor(row, rowNumber);
  branch.IdealCurrentSource = !IsBlank(row[kJColumn]) && IsZero(branch.Z) && IsZero(branch.E);
  if (!IsBlank(row[kJColumn]) && IsZero(branch.Z) && !IsZero(branch.E)) RefuseShortedCurrentSource(branch, rowNumber);
}

void ComputeBranchImpedances(std::vector<CircuitBranch>& branches, const BranchTable& table,
                             const FrequencySetting& frequency, ResultsDirectory& results, MemoView& branchValues) {
  const double omega = AngularFrequency(frequency);
  // Every branch is computed before anything is written, so a bad cell
  // leaves out.txt and the memo as the test left them.
  for (size_t k = 0; k < branches.size(); ++k)
    ComputeBranchValues(branches[k], table.at(k), static_cast<int>(k) + 1, omega);

  std::string block;
  for (size_t k = 0; k < branches.size(); ++k) {
    const CircuitBranch& branch = branches[k];
    block += OutLine(static_cast<int>(k) + 1, branch);
    branchValues.Add(BranchLabel("Z", branch) + " = " + ComplexToText(branch.Z));
    branchValues.Add(BranchLabel("E", branch) + " = " + ComplexToText(branch.E));
    if (!IsZero(branch.J)) branchValues.Add(BranchLabel("J", branch) + " = " + ComplexToText(branch.J));
  }
  results.Append("out.txt", block);
}

}  // namespace ohmara
