#pragma once
// Branch-table files: the cell texts of the branch table, not the parsed
// circuit. A count line, then one line per row of six tab-terminated fields
// (branch name, R, L, C, E, angle); an empty cell is written as "0". A table
// of an extended circuit (current sources, or two branches between the same
// nodes) has the count written with a "J" after it ("5J") and eight fields a
// row, J and its angle last; older readers refuse such a count rather than
// misread the rows.

#include <filesystem>
#include <optional>
#include <string>

#include "model/branch.h"
#include "model/safe_save.h"

namespace ohmara {

// A cell by its place in the table: row 1 is the first branch row.
struct CellPlace {
  int row = 0;
  int column = 0;
};

// The first cell whose text a file cannot hold as one field: it has a blank
// inside its text (or, in the name column, at either end), so reading would
// split it and shift every later field. Blank cells count as empty.
std::optional<CellPlace> FindUnstorableCell(const BranchTable& table);

// The first cell holding a character Windows-1251 cannot hold, with that
// character: the file would get a '?' in its place.
struct UnencodableCell {
  CellPlace place;
  std::string character;
};
std::optional<UnencodableCell> FindUnencodableCell(const BranchTable& table);

// The refusal of a save for that cell: "Ветвь 3 (2->4), столбец «R, Ом»: знака
// «Ω» нет в кодировке Windows-1251, в которой хранится файл. Файл не записан."
std::string UnencodableCellMessage(const BranchTable& table, const UnencodableCell& cell);

// Whether the table needs the extended form: a current source in some row,
// or two well-formed names joining the same two nodes.
bool UsesExtendedFeatures(const BranchTable& table);

// The text of the file for `table` ("\n" line ends; the file form is made
// when it is written). Requires that no cell is unstorable.
std::string BranchTableFileText(const BranchTable& table);

// What went wrong while reading a file.
enum class BranchFileProblem {
  None,
  CannotOpen,  // the file could not be read
  BadCount,    // the first token is not a non-negative integer
  EndsEarly,   // the file ends before its announced rows
  NotANumber,  // a token in columns 1..5 is not a number
};

struct BranchFileReading {
  BranchFileProblem problem = BranchFileProblem::None;
  int line = 0;       // line of the offending token, or where the file ends
  int row = 0;        // branch row being read (1-based), 0 for the count
  int column = 0;     // column of the offending token
  std::string token;  // the offending token
  int expectedRows = 0;
  BranchTable table;      // the rows read; complete only when ok()
  bool extended = false;  // the count carried the extended marker

  bool ok() const { return problem == BranchFileProblem::None; }
};

// Reads the whole text before answering, so a caller changes nothing unless
// the file is sound. Tokens are kept exactly as read; a numeric token equal
// to 0 becomes an empty cell, except an angle of 0 beside a present E,
// which stays "0".
BranchFileReading ParseBranchTableText(const std::string& text);
BranchFileReading ReadBranchTableFile(const std::filesystem::path& path);

// Writes through a temporary file, so a failure leaves the old file intact;
// a table with an unencodable cell is refused and nothing is written.
bool SaveBranchTableFile(const std::filesystem::path& path, const BranchTable& table);
SaveProblem SaveBranchTableFileSafely(const std::filesystem::path& path, const BranchTable& table);

}  // namespace ohmara
