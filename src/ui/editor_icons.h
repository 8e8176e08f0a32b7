#pragma once
// The small pictures of the editor's tool buttons, drawn by the program.

#include <QIcon>

namespace ohmara {

enum class EditorIcon {
  HorizontalBranch,
  VerticalBranch,
  DeleteBranch,
  Connect,
  TableToFile,
  TableToMainWindow,
  DrawTable,
};

QIcon DrawEditorIcon(EditorIcon icon);

}  // namespace ohmara
