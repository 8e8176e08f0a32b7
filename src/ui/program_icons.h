#pragma once
// The small pictures of the tool buttons of the editor and the main window,
// drawn by the program: they look the same on every desktop and cost
// nothing to load.

#include <QIcon>

namespace ohmara {

enum class ProgramIcon {
  AddBranch,
  HorizontalBranch,
  VerticalBranch,
  DeleteBranch,
  Connect,
  TableToFile,
  TableToMainWindow,
  DrawTable,
};

QIcon DrawProgramIcon(ProgramIcon icon);

}  // namespace ohmara
