#pragma once
// Drawing a branch table: horizontal branches in rows of up to seven, each
// joined by routed wires to what is already drawn of its nodes.

#include <vector>

#include "editor/sheet_model.h"
#include "editor/sheet_painting.h"
#include "editor/work_progress.h"
#include "model/branch.h"

namespace ohmara {

struct TableLayout {
  SheetDrawing drawing;
  PaintList paint;            // background, the wires as routed, then the branches
  int routingGuardTrips = 0;  // routing runs that exceeded a limit
  bool stopped = false;       // `progress` stopped it: nothing else holds
  // The table's nodes that no wire could join: the picture shows each of
  // them in pieces, ascending. Empty when the picture joins what the table does.
  std::vector<int> nodesApart;
};

// Reads every row first: a name that is not "a->b" or a value cell that is
// not a number throws EditorError naming the row and column, before
// anything is drawn. Reports each branch placed and joined to `progress`.
TableLayout LayOutBranchTable(const BranchTable& table, WorkProgress* progress = nullptr);

}  // namespace ohmara
