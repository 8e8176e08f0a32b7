#pragma once
// The editor's state and what a press on the sheet does in each mode. A
// window forwards presses and tool clicks, replays the returned paint lists
// on its sheet image, asks the add-branch dialog when told to, and words the
// returned results; it computes nothing itself.

#include <filesystem>
#include <optional>
#include <string>

#include "editor/sheet_model.h"
#include "editor/sheet_painting.h"
#include "editor/wire_router.h"
#include "model/branch.h"

namespace ohmara {

enum class SheetMode {
  Idle,
  AddHorizontal,
  AddVertical,
  DeleteBranch,
  PickFirstTerminal,
  PickSecondTerminal,
};

// The four tool buttons (objectNames AddBhBt, AddBvBt, DelBBt, AddCBt).
enum class SheetTool { AddHorizontal, AddVertical, DeleteBranch, Connect };

// Where a new branch goes once the add-branch dialog gives its values.
struct BranchPlacement {
  int x = 0;  // start terminal, snapped to the grid
  int y = 0;
  bool vertical = false;
  friend bool operator==(const BranchPlacement&, const BranchPlacement&) = default;
};

enum class PressResult {
  Nothing,              // nothing hit, or no tool chosen
  NeedElementValues,    // ask the add-branch dialog; on OK call PlaceBranch(placement, values)
  BranchDeleted,        // repaint with `paint` (a full redraw)
  FirstTerminalPicked,  // now waiting for the second terminal
  WireRouted,           // paint the new wire
  NoRoute,              // the terminals cannot be joined: no wire was added
  RoutingGuard,         // show kRoutingGuardMessage; no wire was added
};

struct PressOutcome {
  PressResult result = PressResult::Nothing;
  std::optional<BranchPlacement> placement;  // on NeedElementValues
  PaintList paint;
};

// What "Нарисовать по таблице" did.
struct TableDrawingOutcome {
  PaintList paint;             // a full drawing, starting with the background
  int routingGuardTrips = 0;   // show kRoutingGuardMessage once when not 0
};

class SheetEditor {
 public:
  // An empty sheet, no tool, node numbering from 1. Showing the window again
  // keeps all of it: only "Del", a loaded scheme or a drawn table replace it.
  SheetEditor() = default;

  SheetMode Mode() const { return mode_; }
  int NextNode() const { return nextNode_; }
  const SheetDrawing& Drawing() const { return drawing_; }
  const std::optional<TTerminal>& FirstTerminal() const { return firstTerminal_; }

  // A tool button: sets the mode; the chosen button is disabled, the other three enabled.
  void SelectTool(SheetTool tool);
  bool IsToolEnabled(SheetTool tool) const;

  // A mouse press at (x, y) in sheet pixels.
  PressOutcome Press(int x, int y);
  // Adds the branch the dialog accepted; returns what to paint. Its nodes are
  // NextNode() and NextNode() + 1.
  PaintList PlaceBranch(const BranchPlacement& placement, const ElementValues& values);

  // "Del": an empty sheet; the mode and the node numbering go on.
  PaintList Clear();
  // Everything on the sheet, from the background up.
  PaintList Redraw() const { return RedrawSheet(drawing_); }

  // Scheme files. Loading replaces the drawing only when the whole file is
  // sound; both throw EditorError with the message to show.
  PaintList LoadScheme(const std::filesystem::path& path);
  void SaveScheme(const std::filesystem::path& path) const;

  // "Нарисовать по таблице": replaces the drawing by the table laid out in
  // rows. A cell that is not a number throws EditorError, changing nothing.
  TableDrawingOutcome DrawTable(const BranchTable& table);

 private:
  PressOutcome DeleteBranchAt(int x, int y);
  std::optional<TTerminal> PickTerminal(int x, int y) const;
  PressOutcome JoinPickedTerminals(const TTerminal& second);
  void Replace(SheetDrawing drawing);

  SheetDrawing drawing_;
  SheetMode mode_ = SheetMode::Idle;
  int nextNode_ = 1;
  std::optional<TTerminal> firstTerminal_;
};

}  // namespace ohmara
