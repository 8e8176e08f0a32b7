#include "model/branch_table_file.h"

#include "model/circuit.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/text_file.h"

namespace ohmara {

namespace {

bool HasBlank(std::string_view text) {
  for (char c : text)
    if (IsTokenSeparator(c)) return true;
  return false;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsTokenSeparator(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTokenSeparator(text.back())) text.remove_suffix(1);
  return text;
}

// The field a cell becomes in the file, or nothing when the cell cannot be
// one field. Blanks around a number do not change its value, so they are
// dropped; a branch name is kept exactly, since blanks make it malformed.
std::optional<std::string> CellField(int column, const std::string& text) {
  if (Trimmed(text).empty()) return std::string("0");
  const std::string_view field = column == kNameColumn ? std::string_view(text) : Trimmed(text);
  if (HasBlank(field)) return std::nullopt;
  return std::string(field);
}

// The cell text of numeric column `column` read from `token`, or nothing when
// the token is not a number.
std::optional<std::string> NumericCell(int column, const std::string& token, const BranchRow& row) {
  double value = 0.0;
  try {
    value = StrToFloat(token);
  } catch (const ConversionError&) {
    return std::nullopt;
  }
  if (value != 0.0) return token;
  // An angle of 0 is still shown beside a source, as the generator shows it.
  if (column == kAngleColumn && !row[kEColumn].empty()) return std::string("0");
  if (column == kJAngleColumn && !row[kJColumn].empty()) return std::string("0");
  return std::string();
}

BranchFileReading Failure(BranchFileProblem problem, int line, int row, int column, std::string token,
                          int expectedRows) {
  BranchFileReading reading;
  reading.problem = problem;
  reading.line = line;
  reading.row = row;
  reading.column = column;
  reading.token = std::move(token);
  reading.expectedRows = expectedRows;
  return reading;
}

constexpr char kExtendedMarker = 'J';

// The announced number of rows, or -1 when the token is not a
// non-negative integer.
int RowCount(const std::string& token) {
  try {
    const int count = StrToInt(token);
    return count >= 0 ? count : -1;
  } catch (const ConversionError&) {
    return -1;
  }
}

}  // namespace

std::optional<CellPlace> FindUnstorableCell(const BranchTable& table) {
  for (size_t r = 0; r < table.size(); ++r)
    for (int c = 0; c < kBranchColumns; ++c)
      if (!CellField(c, table[r][c])) return CellPlace{static_cast<int>(r) + 1, c};
  return std::nullopt;
}

std::optional<UnencodableCell> FindUnencodableCell(const BranchTable& table) {
  for (size_t r = 0; r < table.size(); ++r)
    for (int c = 0; c < kBranchColumns; ++c)
      if (std::optional<std::string> character = FirstCharacterOutsideCp1251(table[r][c]))
        return UnencodableCell{{static_cast<int>(r) + 1, c}, std::move(*character)};
  return std::nullopt;
}

std::string UnencodableCellMessage(const BranchTable& table, const UnencodableCell& cell) {
  const BranchRow& row = table.at(cell.place.row - 1);
  return BranchCellPlace(row, cell.place.row, cell.place.column) + ": знака «" + cell.character +
         "» нет в кодировке Windows-1251, в которой хранится файл. Файл не записан.";
}

bool UsesExtendedFeatures(const BranchTable& table) {
  if (UsesCurrentSource(table)) return true;
  std::vector<CircuitBranch> branches;
  for (const BranchRow& row : table) {
    CircuitBranch branch;
    if (ParseBranchName(row[kNameColumn], branch.From, branch.To)) branches.push_back(branch);
  }
  return HasRepeatedPair(branches);
}

std::string BranchTableFileText(const BranchTable& table) {
  const bool extended = UsesExtendedFeatures(table);
  std::string text = std::to_string(table.size());
  if (extended) text += kExtendedMarker;
  text += "\n";
  for (const BranchRow& row : table) {
    for (int c = 0; c < TableColumns(extended); ++c) text += CellField(c, row[c]).value_or("0") + "\t";
    text += "\n";
  }
  return text;
}

BranchFileReading ParseBranchTableText(const std::string& text) {
  TokenReader reader(text);
  std::string token;
  if (!reader.Next(token)) return Failure(BranchFileProblem::BadCount, reader.Line(), 0, 0, "", 0);
  const bool extended = token.size() > 1 && token.back() == kExtendedMarker;
  if (extended) token.pop_back();
  const int count = RowCount(token);
  if (count < 0) return Failure(BranchFileProblem::BadCount, reader.Line(), 0, 0, token, 0);

  BranchFileReading reading;
  reading.expectedRows = count;
  reading.extended = extended;
  int lastLine = reader.Line();
  for (int r = 1; r <= count; ++r) {
    BranchRow row;
    for (int c = 0; c < TableColumns(extended); ++c) {
      if (!reader.Next(token)) return Failure(BranchFileProblem::EndsEarly, lastLine, r, c, "", count);
      lastLine = reader.Line();
      if (c == kNameColumn) {
        row[c] = token;
        continue;
      }
      std::optional<std::string> cell = NumericCell(c, token, row);
      if (!cell) return Failure(BranchFileProblem::NotANumber, lastLine, r, c, token, count);
      row[c] = std::move(*cell);
    }
    reading.table.push_back(std::move(row));
  }
  return reading;
}

BranchFileReading ReadBranchTableFile(const std::filesystem::path& path) {
  std::optional<std::string> text = ReadTextFile(path);
  if (!text) return Failure(BranchFileProblem::CannotOpen, 0, 0, 0, "", 0);
  return ParseBranchTableText(*text);
}

bool SaveBranchTableFile(const std::filesystem::path& path, const BranchTable& table) {
  return SaveBranchTableFileSafely(path, table) == SaveProblem::None;
}

SaveProblem SaveBranchTableFileSafely(const std::filesystem::path& path, const BranchTable& table) {
  return SaveTextFileSafely(path, BranchTableFileText(table));
}

}  // namespace ohmara
