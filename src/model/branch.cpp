#include "model/branch.h"

#include "model/number_text.h"
#include "model/quoted_text.h"
#include "model/text_format.h"

namespace ohmara {

const BranchRow& BranchTableTitles() {
  static const BranchRow titles = {"Ветвь", "R, Ом", "L, мГн", "C, мкФ", "E, В", "Угол", "J, А", "Угол J"};
  return titles;
}

Complex TheveninEmf(const CircuitBranch& branch) {
  if (IsZero(branch.J)) return branch.E;
  return branch.E + branch.J * branch.Z;
}

bool UsesCurrentSource(const BranchRow& row) { return !IsBlank(row[kJColumn]) || !IsBlank(row[kJAngleColumn]); }

bool UsesCurrentSource(const BranchTable& table) {
  for (const BranchRow& row : table)
    if (UsesCurrentSource(row)) return true;
  return false;
}

std::string BranchCellPlace(const BranchRow& row, int rowNumber, int column) {
  return Format("Ветвь %d (%s), столбец «%s»", rowNumber, QuotedText(row[kNameColumn]), BranchTableTitles()[column]);
}

}  // namespace ohmara
