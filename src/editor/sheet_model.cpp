#include "editor/sheet_model.h"

#include <algorithm>

namespace ohmara {

TSheetBranch MakeSheetBranch(int x1, int y1, int from, int to, bool vertical, const ElementValues& values) {
  TSheetBranch branch;
  branch.From = from;
  branch.To = to;
  branch.X1 = x1;
  branch.Y1 = y1;
  branch.X2 = vertical ? x1 : x1 + kSheetBranchLength;
  branch.Y2 = vertical ? y1 + kSheetBranchLength : y1;
  branch.Vertical = vertical;
  branch.Values = values;
  return branch;
}

std::vector<TCell> Footprint(const TSheetBranch& branch) {
  std::vector<TCell> cells;
  cells.reserve(39);
  const int x = branch.X1 / 10;
  const int y = branch.Y1 / 10;
  for (int along = 0; along <= kSheetBranchLength / 10; ++along)
    for (int aside = -1; aside <= 1; ++aside)
      cells.push_back(branch.Vertical ? TCell{x + aside, y + along} : TCell{x + along, y + aside});
  return cells;
}

BranchHit HitTest(const TSheetBranch& branch, int x, int y) {
  const int third = kSheetBranchLength / 3;
  // Position along the branch and distance across it.
  const int along = branch.Vertical ? y : x;
  const int across = branch.Vertical ? x : y;
  const int start = branch.Vertical ? branch.Y1 : branch.X1;
  const int end = branch.Vertical ? branch.Y2 : branch.X2;
  const int line = branch.Vertical ? branch.X1 : branch.Y1;
  if (!(start < along && along < end && line - 8 < across && across < line + 8)) return BranchHit::Miss;
  if (along < start + third) return BranchHit::StartThird;
  if (along >= end - third) return BranchHit::EndThird;
  return BranchHit::MiddleThird;
}

TTerminal StartTerminal(const TSheetBranch& branch) { return {branch.From, branch.X1, branch.Y1, branch.Vertical}; }
TTerminal EndTerminal(const TSheetBranch& branch) { return {branch.To, branch.X2, branch.Y2, branch.Vertical}; }
TCell CellOf(const TTerminal& terminal) { return {terminal.X / 10, terminal.Y / 10}; }

namespace {

std::vector<TCell> TerminalRow(const TTerminal& terminal) {
  const TCell c = CellOf(terminal);
  if (terminal.Vertical) return {c, {c.X - 1, c.Y}, {c.X + 1, c.Y}};
  return {c, {c.X, c.Y - 1}, {c.X, c.Y + 1}};
}

bool TouchesNode(const TConnection& connection, int a, int b) {
  return connection.From == a || connection.From == b || connection.To == a || connection.To == b;
}

}  // namespace

void ReleaseTerminal(OccupiedCells& cells, const TTerminal& terminal) {
  for (const TCell& c : TerminalRow(terminal)) cells.Remove(c);
}

void BlockTerminal(OccupiedCells& cells, const TTerminal& terminal) {
  for (const TCell& c : TerminalRow(terminal)) cells.Insert(c);
}

void SheetDrawing::BlockFootprint(const TSheetBranch& branch) {
  for (const TCell& c : Footprint(branch)) occupied_.Insert(c);
}

void SheetDrawing::ReleaseFootprint(const TSheetBranch& branch) {
  for (const TCell& c : Footprint(branch)) occupied_.Remove(c);
}

void SheetDrawing::BlockAllFootprints() {
  for (const TSheetBranch& branch : branches_) BlockFootprint(branch);
}

std::optional<TSheetBranch> SheetDrawing::RemoveBranchAt(int x, int y) {
  const auto hit = std::find_if(branches_.begin(), branches_.end(),
                                [&](const TSheetBranch& b) { return HitTest(b, x, y) != BranchHit::Miss; });
  if (hit == branches_.end()) return std::nullopt;
  const TSheetBranch removed = *hit;
  branches_.erase(hit);
  ReleaseFootprint(removed);
  return removed;
}

void SheetDrawing::RemoveConnectionsOf(int a, int b) {
  for (const TConnection& connection : connections_)
    if (TouchesNode(connection, a, b))
      for (const TCell& c : connection.Points) occupied_.Remove(c);
  std::erase_if(connections_, [&](const TConnection& c) { return TouchesNode(c, a, b); });
}

void SheetDrawing::Clear() {
  branches_.clear();
  connections_.clear();
  occupied_.Clear();
}

int SheetDrawing::LargestNode() const {
  int largest = 0;
  for (const TSheetBranch& b : branches_) largest = std::max({largest, b.From, b.To});
  for (const TConnection& c : connections_) largest = std::max({largest, c.From, c.To});
  return largest;
}

}  // namespace ohmara
