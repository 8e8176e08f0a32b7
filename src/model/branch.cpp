#include "model/branch.h"

#include "model/quoted_text.h"
#include "model/text_format.h"

namespace ohmara {

const BranchRow& BranchTableTitles() {
  static const BranchRow titles = {"Ветвь", "R, Ом", "L, мГн", "C, мкФ", "E, В", "Угол"};
  return titles;
}

std::string BranchCellPlace(const BranchRow& row, int rowNumber, int column) {
  return Format("Ветвь %d (%s), столбец «%s»", rowNumber, QuotedText(row[kNameColumn]), BranchTableTitles()[column]);
}

}  // namespace ohmara
