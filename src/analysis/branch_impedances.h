#pragma once
// Complex impedance and source phasor of every branch, from the numeric
// columns of the branch table at the frequency of the main window.

#include <string>
#include <vector>

#include "model/branch.h"
#include "model/results_directory.h"
#include "model/text_views.h"

namespace ohmara {

struct FrequencySetting {
  std::string text;  // the text of the frequency edit
  int unitIndex =
      0;  // 0 "Гц", 1 "кГц", 2 "МГц", 3 "рад/с" (ω itself); -1 when typed text matches no item (counts as "Гц")
  bool operator==(const FrequencySetting&) const = default;
};

// The unit list's item that gives ω itself rather than f.
constexpr int kRadiansPerSecondUnit = 3;

// 1, 1000 or 1 000 000 for the three units of f; any other index counts as hertz.
double UnitFactor(int unitIndex);

// "Гц", "кГц", "МГц" or "рад/с"; any other index counts as hertz.
const char* UnitName(int unitIndex);

// f in hertz (ω/2π for a frequency given as ω); throws as AngularFrequency
// for text that is no number.
double FrequencyHertz(const FrequencySetting& frequency);

// ω = 2π·f·factor, or the number itself for "рад/с"; throws ConversionError headed "Частота" when the frequency
// text is no number, NonFiniteValue when ω overflows, CircuitRefusal (its
// message in Russian) when the frequency is below 0; 0 is direct current.
double AngularFrequency(const FrequencySetting& frequency);

// Z and E of one branch from its row (`rowNumber`, 1-based, names it in a
// refusal) at angular frequency `omega`. A blank cell is an absent element.
// A cell that is no number throws ConversionError naming the branch and the
// column; a capacitive reactance dividing by an exact zero throws
// DivisionByZero naming "Z<from><to>"; a reactance that overflows throws
// NonFiniteValue naming the branch and the element. A current source J (the
// two last columns) is read only from a row that has them filled; a branch
// of J alone is an ideal current source, and one of J beside an EMF with no
// impedance is refused (CircuitRefusal naming the branch).
void ComputeBranchValues(CircuitBranch& branch, const BranchRow& row, int rowNumber, double omega);

// The label of a branch quantity: the letter and both node numbers run
// together, so 12->3 and 1->23 are both "Z123"; with an empty letter, the
// node numbers alone.
std::string BranchLabel(const char* letter, const CircuitBranch& branch);

// Fills Z and E of every branch from rows 1..N of the table (table[k] is branch k); appends the
// branch lines to out.txt and two lines per branch to branchValues.
void ComputeBranchImpedances(std::vector<CircuitBranch>& branches, const BranchTable& table,
                             const FrequencySetting& frequency, ResultsDirectory& results, MemoView& branchValues);

}  // namespace ohmara
