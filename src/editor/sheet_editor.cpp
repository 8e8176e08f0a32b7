#include "editor/sheet_editor.h"

#include "editor/scheme_file.h"
#include "editor/table_to_drawing.h"

namespace ohmara {

namespace {

std::optional<SheetTool> ToolOf(SheetMode mode) {
  switch (mode) {
    case SheetMode::AddHorizontal: return SheetTool::AddHorizontal;
    case SheetMode::AddVertical: return SheetTool::AddVertical;
    case SheetMode::DeleteBranch: return SheetTool::DeleteBranch;
    case SheetMode::PickFirstTerminal:
    case SheetMode::PickSecondTerminal: return SheetTool::Connect;
    case SheetMode::Idle: break;
  }
  return std::nullopt;
}

SheetMode ModeOf(SheetTool tool) {
  switch (tool) {
    case SheetTool::AddHorizontal: return SheetMode::AddHorizontal;
    case SheetTool::AddVertical: return SheetMode::AddVertical;
    case SheetTool::DeleteBranch: return SheetMode::DeleteBranch;
    case SheetTool::Connect: break;
  }
  return SheetMode::PickFirstTerminal;
}

// The nearest grid point to a pressed pixel.
int Snapped(int pixel) { return (pixel + 5) / 10 * 10; }

PressResult ResultOf(RouteResult route) {
  switch (route) {
    case RouteResult::Routed: return PressResult::WireRouted;
    case RouteResult::GuardTripped: return PressResult::RoutingGuard;
    case RouteResult::NoRoute: break;
  }
  return PressResult::NoRoute;
}

}  // namespace

void SheetEditor::SelectTool(SheetTool tool) { mode_ = ModeOf(tool); }

bool SheetEditor::IsToolEnabled(SheetTool tool) const { return ToolOf(mode_) != tool; }

PressOutcome SheetEditor::Press(int x, int y) {
  switch (mode_) {
    case SheetMode::Idle: return {};
    case SheetMode::AddHorizontal:
    case SheetMode::AddVertical:
      return {PressResult::NeedElementValues,
              BranchPlacement{Snapped(x), Snapped(y), mode_ == SheetMode::AddVertical}, {}};
    case SheetMode::DeleteBranch: return DeleteBranchAt(x, y);
    case SheetMode::PickFirstTerminal:
      firstTerminal_ = PickTerminal(x, y);
      if (!firstTerminal_) return {};
      mode_ = SheetMode::PickSecondTerminal;
      return {PressResult::FirstTerminalPicked, std::nullopt, {}};
    case SheetMode::PickSecondTerminal:
      if (const std::optional<TTerminal> second = PickTerminal(x, y)) return JoinPickedTerminals(*second);
      return {};
  }
  return {};
}

PaintList SheetEditor::PlaceBranch(const BranchPlacement& placement, const ElementValues& values) {
  const TSheetBranch branch =
      MakeSheetBranch(placement.x, placement.y, nextNode_, nextNode_ + 1, placement.vertical, values);
  drawing_.AppendBranch(branch);
  drawing_.BlockFootprint(branch);
  nextNode_ += 2;
  PaintList paint;
  AppendSheetBranch(paint, branch);
  return paint;
}

PressOutcome SheetEditor::DeleteBranchAt(int x, int y) {
  const std::optional<TSheetBranch> removed = drawing_.RemoveBranchAt(x, y);
  if (!removed) return {};
  drawing_.RemoveConnectionsOf(removed->From, removed->To);
  // A removed wire or band may have shared cells with a remaining band: keep
  // every remaining band whole, so no later wire can pass through it.
  drawing_.BlockAllFootprints();
  return {PressResult::BranchDeleted, std::nullopt, RedrawSheet(drawing_)};
}

// The terminal next to the third of the first branch hit there; a branch hit
// in its middle third is passed over.
std::optional<TTerminal> SheetEditor::PickTerminal(int x, int y) const {
  for (const TSheetBranch& branch : drawing_.Branches()) {
    const BranchHit hit = HitTest(branch, x, y);
    if (hit == BranchHit::StartThird) return StartTerminal(branch);
    if (hit == BranchHit::EndThird) return EndTerminal(branch);
  }
  return std::nullopt;
}

PressOutcome SheetEditor::JoinPickedTerminals(const TTerminal& second) {
  mode_ = SheetMode::PickFirstTerminal;
  const JoinOutcome join = JoinTerminals(drawing_, *firstTerminal_, second);
  PressOutcome outcome{ResultOf(join.result), std::nullopt, {}};
  if (join.wireIndex >= 0) AppendConnection(outcome.paint, drawing_.Connections()[join.wireIndex]);
  return outcome;
}

PaintList SheetEditor::Clear() {
  drawing_.Clear();
  return RedrawSheet(drawing_);
}

void SheetEditor::Replace(SheetDrawing drawing) {
  drawing_ = std::move(drawing);
  // New branches need numbers that no terminal on the sheet carries yet.
  nextNode_ = drawing_.LargestNode() + 1;
}

PaintList SheetEditor::LoadScheme(const std::filesystem::path& path) {
  Replace(LoadSchemeFile(path));
  return RedrawSheet(drawing_);
}

void SheetEditor::SaveScheme(const std::filesystem::path& path) const { SaveSchemeFile(path, drawing_); }

TableDrawingOutcome SheetEditor::DrawTable(const BranchTable& table) {
  TableLayout layout = LayOutBranchTable(table);
  Replace(std::move(layout.drawing));
  return {std::move(layout.paint), layout.routingGuardTrips};
}

}  // namespace ohmara
