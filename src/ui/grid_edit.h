#pragma once
// A grid cell still being typed into holds its text in the editor, not in
// the cell. Commands that read or replace cells finish that edit first, so
// a name typed just before pressing Enter or a shortcut is neither lost nor
// written later over the cells a command has just filled.

class QTableWidget;

namespace ohmara {

// Takes the text of an open cell editor into its cell and closes the editor.
void CommitPendingEdit(QTableWidget& table);

}  // namespace ohmara
