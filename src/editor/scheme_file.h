#pragma once
// Scheme files: a whole drawing as text - the branches with their positions
// and values, the wires with all their points, and the occupied cells in
// their list order. A drawing with a current source has a "J" after its
// branch count ("3J") and J and its angle at the end of every branch line;
// any other drawing is written without them.

#include <filesystem>
#include <optional>
#include <string>

#include "editor/sheet_model.h"
#include "editor/work_progress.h"
#include "model/safe_save.h"

namespace ohmara {

// The file's text ("\n" line ends; the file form is made when it is written).
std::string SchemeFileText(const SheetDrawing& drawing);

// Reads the text whole before answering. The file's cells keep their order;
// band cells it omits are blocked after them, so such a file still keeps
// wires out of the bands. Throws EditorError naming `fileName`
// and the line when the text ends early, holds something else where a
// number stands, or lists a wire of more than 300 points.
SheetDrawing ParseSchemeText(const std::string& text, const std::string& fileName);

// The same, saying how far it got; nothing when `progress` stopped it.
std::optional<SheetDrawing> ParseSchemeText(const std::string& text, const std::string& fileName,
                                            WorkProgress& progress);

// Throws EditorError when the file cannot be read or is not sound.
SheetDrawing LoadSchemeFile(const std::filesystem::path& path);
std::optional<SheetDrawing> LoadSchemeFile(const std::filesystem::path& path, WorkProgress& progress);
// Writes through a temporary file, so a failure keeps the old file.
SaveProblem SaveSchemeFile(const std::filesystem::path& path, const SheetDrawing& drawing);

}  // namespace ohmara
