#pragma once
// Turning a drawing into a branch table: terminals joined by wires or
// sharing a node number become one node, and the nodes are numbered 1, 2, ...
// in order of first appearance (each branch's start terminal before its end).

#include <filesystem>
#include <string>
#include <vector>

#include "editor/sheet_model.h"
#include "editor/sheet_painting.h"
#include "model/safe_save.h"

namespace ohmara {

// The file "Таблица ветвей в файл" proposes and "Перенести в главное окно" writes.
inline constexpr const char* kDrawingTableFile = "table.txt";

// Working labels of every terminal, per branch (start, end) and per wire
// (its two ends, equal after merging): terminals with one label are one node.
struct NodeLabels {
  std::vector<TerminalNumbers> branches;
  std::vector<TerminalNumbers> wires;
};
NodeLabels MergeNodes(const SheetDrawing& drawing);

// The final node numbers of every branch's terminals.
std::vector<TerminalNumbers> NumberNodes(const NodeLabels& labels);

// The nodes as the picture alone shows them, numbered as NumberNodes does:
// terminals on one point are one node, and so are the two ends of a wire and
// whatever a wire's end lies on - a terminal, or a point of another wire.
// A drawing whose picture and table agree gives NumberNodes(MergeNodes()).
std::vector<TerminalNumbers> PictureNodes(const SheetDrawing& drawing);

// Makes the node numbers say what the picture shows, after a change that
// took a wire or a branch away or moved one: terminals the picture no longer
// joins get numbers of their own (fresh ones from `nextNode`), terminals it
// joins share one, and each wire carries its piece's number. A drawing that
// already agrees is left as it is; false then.
bool AgreeNodesWithPicture(SheetDrawing& drawing, int& nextNode);

// A branch-table file's text: the count, then per branch "a->b" and the five
// values, every field followed by a tab. Values are written as in scheme files.
// A drawing with a current source or with two branches between the same two
// nodes gives the extended form branch-table files know: "J" after the count
// and J and its angle after the five values.
std::string DrawingTableText(const SheetDrawing& drawing, const std::vector<TerminalNumbers>& numbers);

struct DrawingTable {
  std::string text;       // the file's text
  PaintList nodeNumbers;  // the numbers to write at the terminals
};
DrawingTable ExportDrawingTable(const SheetDrawing& drawing);

// Writes through a temporary file, so a failure keeps the old file.
SaveProblem SaveDrawingTable(const std::filesystem::path& path, const std::string& text);

}  // namespace ohmara
