#include "editor/scheme_file.h"

#include <climits>

#include "editor/editor_error.h"
#include "editor/value_text.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

// Positions far beyond any sheet would overflow the pixel arithmetic.
constexpr int kLargestCoordinate = 1000000;

void AppendBranchLine(std::string& text, const TSheetBranch& b) {
  AppendFormat(text, "%d\t%d\t%d\t%d\t%d\t", b.From, b.To, b.X1, b.Y1, b.Vertical ? 1 : 0);
  for (double value : {b.Values.R, b.Values.L, b.Values.C, b.Values.E, b.Values.Angle})
    text += ValueField(value) + "\t";
  text += "\n";
}

void AppendCells(std::string& text, const std::vector<TCell>& cells) {
  for (const TCell& c : cells) AppendFormat(text, "%d %d ", c.X, c.Y);
  text += "\n";
}

// The tokens of a scheme text, each read as the number it must be.
class SchemeReader {
 public:
  SchemeReader(const std::string& text, const std::string& fileName) : tokens_(text), fileName_(fileName) {}

  int Integer(int lowest, int highest) {
    const std::string token = Next();
    int value = 0;
    try {
      value = StrToInt(token);
    } catch (const ConversionError&) {
      Fail("вместо целого числа стоит «" + token + "»");
    }
    if (value < lowest || value > highest)
      Fail(Format("число %d вне допустимых пределов %d..%d", value, lowest, highest));
    return value;
  }
  int Coordinate() { return Integer(-kLargestCoordinate, kLargestCoordinate); }
  double Real() {
    const std::string token = Next();
    try {
      return StrToFloat(token);
    } catch (const ConversionError&) {
      Fail("вместо числа стоит «" + token + "»");
    }
  }
  // Names the line of the last token read: where a number is wrong, or the
  // last line that holds anything when the file ends early.
  [[noreturn]] void Fail(const std::string& what) const {
    throw EditorError(Format("Файл «%s», строка %d: %s.", fileName_, line_, what));
  }

 private:
  std::string Next() {
    std::string token;
    if (!tokens_.Next(token)) Fail("файл кончается раньше, чем описана схема");
    line_ = tokens_.Line();
    return token;
  }

  TokenReader tokens_;
  int line_ = 1;
  const std::string& fileName_;
};

TSheetBranch ReadBranch(SchemeReader& reader) {
  const int from = reader.Integer(INT_MIN, INT_MAX);
  const int to = reader.Integer(INT_MIN, INT_MAX);
  const int x1 = reader.Coordinate();
  const int y1 = reader.Coordinate();
  const bool vertical = reader.Integer(0, 1) == 1;
  ElementValues values;
  for (double* value : {&values.R, &values.L, &values.C, &values.E, &values.Angle}) *value = reader.Real();
  return MakeSheetBranch(x1, y1, from, to, vertical, values);
}

TConnection ReadConnection(SchemeReader& reader) {
  TConnection wire;
  wire.From = reader.Integer(INT_MIN, INT_MAX);
  wire.To = reader.Integer(INT_MIN, INT_MAX);
  const int count = reader.Integer(0, kMaxWirePoints);
  for (int i = 0; i < count; ++i) {
    const int x = reader.Coordinate();
    wire.Points.push_back({x, reader.Coordinate()});
  }
  return wire;
}

}  // namespace

std::string SchemeFileText(const SheetDrawing& drawing) {
  std::string text = Format("%d\n", static_cast<int>(drawing.Branches().size()));
  for (const TSheetBranch& branch : drawing.Branches()) AppendBranchLine(text, branch);
  AppendFormat(text, "\n%d\n", static_cast<int>(drawing.Connections().size()));
  for (const TConnection& wire : drawing.Connections()) {
    AppendFormat(text, "%d\t%d\n%d\n", wire.From, wire.To, static_cast<int>(wire.Points.size()));
    AppendCells(text, wire.Points);
  }
  AppendFormat(text, "\n%d\n", drawing.Occupied().Count());
  AppendCells(text, drawing.Occupied().Cells());
  return text;
}

SheetDrawing ParseSchemeText(const std::string& text, const std::string& fileName) {
  SchemeReader reader(text, fileName);
  SheetDrawing drawing;
  for (int n = reader.Integer(0, INT_MAX); n > 0; --n) {
    const TSheetBranch branch = ReadBranch(reader);
    drawing.AppendBranch(branch);
    drawing.BlockFootprint(branch);
  }
  for (int n = reader.Integer(0, INT_MAX); n > 0; --n) drawing.AppendConnection(ReadConnection(reader));
  for (int n = reader.Integer(0, INT_MAX); n > 0; --n) {
    const int x = reader.Coordinate();
    drawing.Occupied().Insert({x, reader.Coordinate()});
  }
  return drawing;
}

SheetDrawing LoadSchemeFile(const std::filesystem::path& path) {
  const std::optional<std::string> text = ReadTextFile(path);
  if (!text) throw EditorError(Format("Не удалось открыть файл «%s».", path.string()));
  return ParseSchemeText(*text, path.string());
}

void SaveSchemeFile(const std::filesystem::path& path, const SheetDrawing& drawing) {
  if (!SaveTextFileAtomically(path, SchemeFileText(drawing)))
    throw EditorError(Format("Не удалось сохранить схему в файл «%s»; прежний файл не изменён.", path.string()));
}

}  // namespace ohmara
