#include "ui/grid_edit.h"

#include <QAbstractItemDelegate>
#include <QTableWidget>

namespace ohmara {

void CommitPendingEdit(QTableWidget& table) {
  const QModelIndex index = table.currentIndex();
  QWidget* editor = index.isValid() ? table.indexWidget(index) : nullptr;
  if (!editor) return;
  // The view listens to its delegate for these two; they are how an editor
  // normally hands its text back.
  QAbstractItemDelegate* delegate = table.itemDelegateForIndex(index);
  emit delegate->commitData(editor);
  emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

}  // namespace ohmara
