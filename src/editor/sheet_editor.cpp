#include "editor/sheet_editor.h"

#include <utility>

#include "editor/drawing_to_table.h"
#include "editor/scheme_file.h"
#include "editor/table_to_drawing.h"

namespace ohmara {

namespace {

std::optional<SheetTool> ToolOf(SheetMode mode) {
  switch (mode) {
    case SheetMode::AddHorizontal:
      return SheetTool::AddHorizontal;
    case SheetMode::AddVertical:
      return SheetTool::AddVertical;
    case SheetMode::DeleteBranch:
      return SheetTool::DeleteBranch;
    case SheetMode::PickFirstTerminal:
    case SheetMode::PickSecondTerminal:
      return SheetTool::Connect;
    case SheetMode::Idle:
      break;
  }
  return std::nullopt;
}

SheetMode ModeOf(SheetTool tool) {
  switch (tool) {
    case SheetTool::AddHorizontal:
      return SheetMode::AddHorizontal;
    case SheetTool::AddVertical:
      return SheetMode::AddVertical;
    case SheetTool::DeleteBranch:
      return SheetMode::DeleteBranch;
    case SheetTool::Connect:
      break;
  }
  return SheetMode::PickFirstTerminal;
}

// The nearest grid point to a pressed pixel.
int Snapped(int pixel) { return (pixel + 5) / 10 * 10; }

PressResult ResultOf(RouteResult route) {
  switch (route) {
    case RouteResult::Routed:
      return PressResult::WireRouted;
    case RouteResult::GuardTripped:
      return PressResult::RoutingGuard;
    case RouteResult::NoRoute:
      break;
  }
  return PressResult::NoRoute;
}

}  // namespace

void SheetEditor::SelectTool(SheetTool tool) { mode_ = ModeOf(tool); }

bool SheetEditor::IsToolEnabled(SheetTool tool) const { return ToolOf(mode_) != tool; }

PressOutcome SheetEditor::Press(int x, int y) {
  switch (mode_) {
    case SheetMode::Idle:
      selection_ = ItemAt(x, y);
      return {PressResult::SelectionChanged, std::nullopt, {}};
    case SheetMode::AddHorizontal:
    case SheetMode::AddVertical: {
      const BranchPlacement placement{Snapped(x), Snapped(y), mode_ == SheetMode::AddVertical};
      switch (drawing_.CheckPlacement(MakeSheetBranch(placement.x, placement.y, 0, 0, placement.vertical, {}))) {
        case Placement::Overlaps:
          return {PressResult::PlacementOverlaps, std::nullopt, {}};
        case Placement::OffSheet:
          return {PressResult::PlacementOffSheet, std::nullopt, {}};
        case Placement::Fits:
          break;
      }
      return {PressResult::NeedElementValues, placement, {}};
    }
    case SheetMode::DeleteBranch:
      return DeleteBranchAt(x, y);
    case SheetMode::PickFirstTerminal:
      firstTerminal_ = PickTerminal(x, y);
      if (!firstTerminal_) return {};
      mode_ = SheetMode::PickSecondTerminal;
      return {PressResult::FirstTerminalPicked, std::nullopt, {}};
    case SheetMode::PickSecondTerminal:
      if (const std::optional<Terminal> second = PickTerminal(x, y)) return JoinPickedTerminals(*second);
      return {};
  }
  return {};
}

PaintList SheetEditor::PlaceBranch(const BranchPlacement& placement, const ElementValues& values) {
  const SheetBranch branch =
      MakeSheetBranch(placement.x, placement.y, nextNode_, nextNode_ + 1, placement.vertical, values);
  // The press said where it may go; a placement from elsewhere that does not fit is not made.
  if (drawing_.CheckPlacement(branch) != Placement::Fits) return {};
  Remember();
  drawing_.AppendBranch(branch);
  drawing_.BlockFootprint(branch);
  nextNode_ += 2;
  PaintList paint;
  AppendSheetBranch(paint, branch);
  return paint;
}

PressOutcome SheetEditor::DeleteBranchAt(int x, int y) {
  const int hit = drawing_.BranchAt(x, y);
  if (hit < 0) return {};
  Remember();
  drawing_.RemoveBranch(hit);
  AgreeNodesWithPicture(drawing_, nextNode_);
  return {PressResult::BranchDeleted, std::nullopt, RedrawSheet(drawing_)};
}

// The terminal next to the third of the first branch hit there; a branch hit
// in its middle third is passed over.
std::optional<Terminal> SheetEditor::PickTerminal(int x, int y) const {
  for (const SheetBranch& branch : drawing_.Branches()) {
    const BranchHit hit = HitTest(branch, x, y);
    if (hit == BranchHit::StartThird) return StartTerminal(branch);
    if (hit == BranchHit::EndThird) return EndTerminal(branch);
  }
  return std::nullopt;
}

PressOutcome SheetEditor::JoinPickedTerminals(const Terminal& second) {
  if (second == *firstTerminal_) return {PressResult::SameTerminal, std::nullopt, {}};
  mode_ = SheetMode::PickFirstTerminal;
  const Terminal first = *std::exchange(firstTerminal_, std::nullopt);
  if (CellOf(first) == CellOf(second)) return {PressResult::TerminalsTouch, std::nullopt, {}};
  Remember();
  const JoinOutcome join = JoinTerminals(drawing_, first, second);
  PressOutcome outcome{ResultOf(join.result), std::nullopt, {}};
  if (join.wireIndex >= 0) AppendConnection(outcome.paint, drawing_.Connections()[join.wireIndex]);
  // A failed run leaves the same cells (only their order may differ): no step to undo.
  else Forget();
  return outcome;
}

PaintList SheetEditor::Clear() {
  if (!drawing_.Branches().empty() || !drawing_.Connections().empty() || drawing_.Occupied().Count() > 0) {
    Remember();
    drawing_.Clear();
  }
  DropPick();
  return RedrawSheet(drawing_);
}

void SheetEditor::Replace(SheetDrawing drawing) {
  Remember();
  drawing_ = std::move(drawing);
  // New branches need numbers that no terminal on the sheet carries yet.
  nextNode_ = drawing_.LargestNode() + 1;
  DropPick();
}

void SheetEditor::Remember() {
  undo_.emplace_back(SheetState{drawing_, nextNode_}, revision_);
  if (undo_.size() > kHistorySteps) undo_.pop_front();
  redo_.clear();
  revision_ = ++lastRevision_;
}

void SheetEditor::Forget() {
  revision_ = undo_.back().second;
  undo_.pop_back();
}

void SheetEditor::Restore(SheetState state) {
  drawing_ = std::move(state.drawing);
  nextNode_ = state.nextNode;
  DropPick();
}

void SheetEditor::DropPick() {
  firstTerminal_.reset();
  selection_.reset();
  if (mode_ == SheetMode::PickSecondTerminal) mode_ = SheetMode::PickFirstTerminal;
}

bool SheetEditor::Undo() { return Step(undo_, redo_); }

bool SheetEditor::Redo() { return Step(redo_, undo_); }

bool SheetEditor::Step(History& from, History& to) {
  if (from.empty()) return false;
  to.emplace_back(SheetState{std::move(drawing_), nextNode_}, revision_);
  auto [state, revision] = std::move(from.back());
  from.pop_back();
  Restore(std::move(state));
  revision_ = revision;
  return true;
}

bool SheetEditor::Cancel() {
  if (firstTerminal_) {
    DropPick();
    return true;
  }
  if (selection_) {
    selection_.reset();
    return true;
  }
  if (mode_ == SheetMode::Idle) return false;
  mode_ = SheetMode::Idle;
  return true;
}

std::optional<SheetSelection> SheetEditor::ItemAt(int x, int y) const {
  if (const int branch = drawing_.BranchAt(x, y); branch >= 0)
    return SheetSelection{SheetSelection::Kind::Branch, branch};
  if (const int wire = drawing_.ConnectionAt(x, y); wire >= 0)
    return SheetSelection{SheetSelection::Kind::Connection, wire};
  return std::nullopt;
}

namespace {

// The terminal at a wire's end: a branch's, or where the wire meets another wire.
Terminal TerminalAt(const SheetDrawing& drawing, GridCell cell, int node) {
  for (const SheetBranch& b : drawing.Branches())
    for (const Terminal& t : {StartTerminal(b), EndTerminal(b)})
      if (CellOf(t) == cell) return t;
  return {node, 10 * cell.X, 10 * cell.Y, false};
}

EditResult EditResultOf(Placement placement) {
  return placement == Placement::OffSheet ? EditResult::OffSheet : EditResult::Overlaps;
}

}  // namespace

PaintList SheetEditor::Marks(int dragRight, int dragDown) const {
  PaintList marks;
  if (selection_ && selection_->kind == SheetSelection::Kind::Branch) {
    const SheetBranch& b = drawing_.Branches()[selection_->index];
    marks =
        BranchMark(MakeSheetBranch(b.X1 + 10 * dragRight, b.Y1 + 10 * dragDown, b.From, b.To, b.Vertical, b.Values));
  } else if (selection_) {
    marks = ConnectionMark(drawing_.Connections()[selection_->index]);
  }
  if (firstTerminal_)
    for (PaintOp& op : TerminalMark(*firstTerminal_)) marks.push_back(std::move(op));
  return marks;
}

EditResult SheetEditor::MoveSelection(int cellsRight, int cellsDown) {
  if (!selection_ || selection_->kind != SheetSelection::Kind::Branch) return EditResult::NothingSelected;
  return MoveBranch(selection_->index, cellsRight, cellsDown);
}

EditResult SheetEditor::MoveBranch(int index, int cellsRight, int cellsDown) {
  SheetState before{drawing_, nextNode_};
  const SheetBranch old = drawing_.Branches()[index];
  const GridCell oldEnds[] = {CellOf(StartTerminal(old)), CellOf(EndTerminal(old))};
  const SheetBranch moved =
      MakeSheetBranch(old.X1 + 10 * cellsRight, old.Y1 + 10 * cellsDown, old.From, old.To, old.Vertical, old.Values);
  const GridCell newEnds[] = {CellOf(StartTerminal(moved)), CellOf(EndTerminal(moved))};
  auto follow = [&](GridCell c) { return c == oldEnds[0] ? newEnds[0] : c == oldEnds[1] ? newEnds[1] : c; };
  // Each own wire again from the terminal picked first (its last point) to the one picked second.
  std::vector<std::pair<Connection, std::pair<GridCell, GridCell>>> wires;
  for (const int w : drawing_.OwnConnections(index)) {
    const Connection& wire = drawing_.Connections()[w];
    wires.push_back({wire, {follow(wire.Points.back()), follow(wire.Points.front())}});
  }
  drawing_.RemoveBranch(index);
  if (const Placement fits = drawing_.CheckPlacement(moved); fits != Placement::Fits) {
    drawing_ = std::move(before.drawing);
    return EditResultOf(fits);
  }
  drawing_.InsertBranch(index, moved);
  for (const auto& [wire, ends] : wires) {
    const JoinOutcome join = JoinTerminals(drawing_, TerminalAt(drawing_, ends.first, wire.From),
                                           TerminalAt(drawing_, ends.second, wire.To));
    if (join.result != RouteResult::Routed) {
      drawing_ = std::move(before.drawing);
      return EditResult::NoRoute;
    }
  }
  std::swap(drawing_, before.drawing);
  Remember();
  drawing_ = std::move(before.drawing);
  AgreeNodesWithPicture(drawing_, nextNode_);
  return EditResult::Done;
}

EditResult SheetEditor::SetSelectedValues(const ElementValues& values) {
  if (!selection_ || selection_->kind != SheetSelection::Kind::Branch) return EditResult::NothingSelected;
  Remember();
  drawing_.SetValues(selection_->index, values);
  return EditResult::Done;
}

EditResult SheetEditor::DeleteSelection() {
  if (!selection_) return EditResult::NothingSelected;
  Remember();
  if (selection_->kind == SheetSelection::Kind::Branch) drawing_.RemoveBranch(selection_->index);
  else drawing_.RemoveConnection(selection_->index);
  AgreeNodesWithPicture(drawing_, nextNode_);
  selection_.reset();
  return EditResult::Done;
}

std::optional<PaintList> SheetEditor::LoadScheme(const std::filesystem::path& path, WorkProgress* progress) {
  if (!progress) {
    Replace(LoadSchemeFile(path));
  } else {
    std::optional<SheetDrawing> loaded = LoadSchemeFile(path, *progress);
    if (!loaded) return std::nullopt;
    Replace(std::move(*loaded));
  }
  savedRevision_ = revision_;
  return RedrawSheet(drawing_);
}

SaveProblem SheetEditor::SaveScheme(const std::filesystem::path& path) {
  const SaveProblem problem = SaveSchemeFile(path, drawing_);
  if (problem == SaveProblem::None) savedRevision_ = revision_;
  return problem;
}

TableDrawingOutcome SheetEditor::DrawTable(const BranchTable& table, WorkProgress* progress) {
  TableLayout layout = LayOutBranchTable(table, progress);
  if (layout.stopped) {
    TableDrawingOutcome stopped;
    stopped.stopped = true;
    return stopped;
  }
  Replace(std::move(layout.drawing));
  return {std::move(layout.paint), layout.routingGuardTrips, false, std::move(layout.nodesApart)};
}

}  // namespace ohmara
