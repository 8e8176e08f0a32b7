#include "model/branch.h"

namespace ohmara {

const BranchRow& BranchTableTitles() {
  static const BranchRow titles = {"Ветвь", "R, Ом", "L, мГн", "C, мкФ", "E, В", "Угол"};
  return titles;
}

}  // namespace ohmara
