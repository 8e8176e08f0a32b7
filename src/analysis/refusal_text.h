#pragma once
// The Russian words of a refusal, shared by the windows and the command
// line, so that a student sees the same message in a box and in a terminal.

#include <exception>
#include <string>

#include "analysis/student_loops.h"
#include "model/branch_table_file.h"
#include "model/safe_save.h"

namespace ohmara {

// The text of the error box for an exception that escaped a command: every
// Refusal is worded here; anything else shows its what().
std::string RefusalText(const std::exception& error);

// The refusal of a save that failed, naming the file as the student chose it;
// empty for SaveProblem::None. Every save of a user's file is worded here.
std::string SaveProblemMessage(SaveProblem problem, const std::string& fileName, SavedFile kind = SavedFile::Other);
// Why the branch-table file `name` could not be read; empty when it could.
std::string BranchFileReadingText(const std::string& name, const BranchFileReading& reading);

// The circuit test found a loop-free branch.
inline constexpr const char* kNotClosedText = "Я вам сочувствую - цепь не замкнута :(";

// The optimal node-potential method asked for a zero node where fewer than
// three branches meet.
inline constexpr const char* kZeroNotJunctionText = "Точка с нулевым потенциалом - не узел";

// A zero node outside the tested circuit's nodes 1..`nodeCount`, as typed.
std::string ZeroNodeOutsideText(const std::string& typed, int nodeCount);

// Why the loops a student typed cannot be used, naming the loop, the nodes
// or the counts.
std::string LoopRefusalText(const LoopRefusal& refusal);

}  // namespace ohmara
