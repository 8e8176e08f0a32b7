#pragma once
// The editor's state and what a press on the sheet does in each mode. A
// window forwards presses and tool clicks, replays the returned paint lists
// on its sheet image, asks the add-branch dialog when told to, and words the
// returned results; it computes nothing itself.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "editor/sheet_model.h"
#include "editor/sheet_painting.h"
#include "editor/wire_router.h"
#include "editor/work_progress.h"
#include "model/branch.h"
#include "model/safe_save.h"

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
  PlacementOverlaps,    // the branch would lie on another branch or a wire: not asked, not placed
  PlacementOffSheet,    // a terminal or the band would leave the sheet: not asked, not placed
  SameTerminal,         // the first terminal was picked again; still waiting for the second
  TerminalsTouch,       // the two terminals lie on one point: joined already, no wire needed
  SelectionChanged,     // no tool: a branch or a wire was selected, or nothing
};

// What a press without a tool chose: a branch or a wire, by its index.
struct SheetSelection {
  enum class Kind { Branch, Connection };
  Kind kind = Kind::Branch;
  int index = 0;
  friend bool operator==(const SheetSelection&, const SheetSelection&) = default;
};

// The answer to a move, a value edit or a deletion of the selection.
enum class EditResult {
  Done,
  NothingSelected,
  Overlaps,  // the branch would lie on another element: nothing changed
  OffSheet,  // the branch would leave the sheet: nothing changed
  NoRoute,   // a wire of the branch could not be routed again: nothing changed
};

struct PressOutcome {
  PressResult result = PressResult::Nothing;
  std::optional<BranchPlacement> placement;  // on NeedElementValues
  PaintList paint;
};

// What "Нарисовать по таблице" did.
struct TableDrawingOutcome {
  PaintList paint;              // a full drawing, starting with the background
  int routingGuardTrips = 0;    // show kRoutingGuardMessage once when not 0
  bool stopped = false;         // stopped through its progress: the drawing is as it was
  std::vector<int> nodesApart;  // nodes the drawing leaves in pieces: the user joins them
};

// A whole drawing with the node numbering that goes on from it: one step of
// the editor's history.
struct SheetState {
  SheetDrawing drawing;
  int nextNode = 1;
};

class SheetEditor {
 public:
  // Undo goes back at least this many changes.
  static constexpr size_t kHistorySteps = 200;

  // An empty sheet, no tool, node numbering from 1. Showing the window again
  // keeps all of it: only "Del", a loaded scheme or a drawn table replace it.
  SheetEditor() = default;

  SheetMode Mode() const { return mode_; }
  int NextNode() const { return nextNode_; }
  const SheetDrawing& Drawing() const { return drawing_; }
  const std::optional<Terminal>& FirstTerminal() const { return firstTerminal_; }

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

  // Every change above and below is one step back for Undo; a change after
  // an undo forgets the steps that Redo would have brought back. Both drop
  // a pending pick and the selection; false when there is no step.
  bool Undo();
  bool Redo();
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // Whether the drawing differs from the one last saved or loaded (an empty
  // sheet counts as saved).
  bool Modified() const { return revision_ != savedRevision_; }

  // Esc: drops a pending first pick; without one, the selection; without
  // that, the tool. False when there was nothing to drop.
  bool Cancel();
  const std::optional<SheetSelection>& Selection() const { return selection_; }
  void Select(std::optional<SheetSelection> selection) { selection_ = selection; }
  // The selection under (x, y): a branch, else a wire, else nothing.
  std::optional<SheetSelection> ItemAt(int x, int y) const;
  // What to draw over the sheet: the selection (where a drag going on would
  // put a branch) and the terminal picked first.
  PaintList Marks(int dragRight = 0, int dragDown = 0) const;
  // Moves the selected branch by whole cells; its own wires are routed again.
  EditResult MoveSelection(int cellsRight, int cellsDown);
  // New values for the selected branch.
  EditResult SetSelectedValues(const ElementValues& values);
  // Deletes the selected branch with its own wires, or the selected wire alone.
  EditResult DeleteSelection();
  // Everything on the sheet, from the background up.
  PaintList Redraw() const { return RedrawSheet(drawing_); }

  // Scheme files. Loading replaces the drawing only when the whole file is
  // sound; both throw EditorError with the message to show. Nothing when
  // `progress` stopped the load: the drawing is as it was.
  std::optional<PaintList> LoadScheme(const std::filesystem::path& path, WorkProgress* progress = nullptr);
  // A save that succeeds marks the drawing unchanged.
  SaveProblem SaveScheme(const std::filesystem::path& path);

  // "Нарисовать по таблице": replaces the drawing by the table laid out in
  // rows. A cell that is not a number throws EditorError, changing nothing;
  // so does a stop through `progress`.
  TableDrawingOutcome DrawTable(const BranchTable& table, WorkProgress* progress = nullptr);

 private:
  PressOutcome DeleteBranchAt(int x, int y);
  std::optional<Terminal> PickTerminal(int x, int y) const;
  PressOutcome JoinPickedTerminals(const Terminal& second);
  void Replace(SheetDrawing drawing);
  // Before a change: the state to go back to.
  void Remember();
  // A change that did not happen after all: forget the state remembered last.
  void Forget();
  void Restore(SheetState state);
  void DropPick();
  EditResult MoveBranch(int branch, int cellsRight, int cellsDown);

  SheetDrawing drawing_;
  SheetMode mode_ = SheetMode::Idle;
  int nextNode_ = 1;
  std::optional<Terminal> firstTerminal_;
  std::optional<SheetSelection> selection_;
  // Each state with the revision it had.
  using History = std::deque<std::pair<SheetState, long>>;
  // Moves the current state onto `to` and the last of `from` in its place.
  bool Step(History& from, History& to);
  History undo_;
  History redo_;
  long revision_ = 0;
  long savedRevision_ = 0;
  long lastRevision_ = 0;
};

}  // namespace ohmara
