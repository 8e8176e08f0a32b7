#include "editor/scheme_file.h"

#include <climits>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "editor/editor_error.h"
#include "editor/value_text.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/quoted_text.h"
#include "model/text_file.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

// Positions far beyond any sheet would overflow the pixel arithmetic.
constexpr int kLargestCoordinate = 1000000;
// Node numbers: new branches take the next two after the largest.
constexpr int kLargestNode = 1000000;

// A drawing with a current source has this after its branch count, and every
// branch line then ends with J and its angle; a reader that knows nothing of
// current sources refuses the count instead of reading J as the next branch.
constexpr char kCurrentSourceMarker = 'J';

bool DrawsCurrentSource(const SheetDrawing& drawing) {
  for (const SheetBranch& b : drawing.Branches())
    if (UsesCurrentSource(b.Values)) return true;
  return false;
}

void AppendBranchLine(std::string& text, const SheetBranch& b, bool withCurrentSource) {
  AppendFormat(text, "%d\t%d\t%d\t%d\t%d\t", b.From, b.To, b.X1, b.Y1, b.Vertical ? 1 : 0);
  for (double value : {b.Values.R, b.Values.L, b.Values.C, b.Values.E, b.Values.Angle})
    text += ValueField(value) + "\t";
  if (withCurrentSource)
    for (double value : {b.Values.J, b.Values.JAngle}) text += ValueField(value) + "\t";
  text += "\n";
}

void AppendCells(std::string& text, const std::vector<GridCell>& cells) {
  for (const GridCell& c : cells) AppendFormat(text, "%d %d ", c.X, c.Y);
  text += "\n";
}

// The tokens of a scheme text, each read as the number it must be.
class SchemeReader {
 public:
  SchemeReader(const std::string& text, const std::string& fileName) : tokens_(text), fileName_(fileName) {}

  // The branch count, and whether the current-source marker follows it.
  int BranchCount(bool& withCurrentSource) {
    std::string token = Next();
    withCurrentSource = token.size() > 1 && token.back() == kCurrentSourceMarker;
    if (withCurrentSource) token.pop_back();
    return Bounded(token, 0, INT_MAX);
  }
  int Integer(int lowest, int highest) { return Bounded(Next(), lowest, highest); }
  int Coordinate() { return Integer(-kLargestCoordinate, kLargestCoordinate); }
  int Node() { return Integer(1, kLargestNode); }
  int Line() const { return line_; }
  int Kilobytes() const { return static_cast<int>(tokens_.Position() / 1024); }
  double Real() {
    const std::string token = Next();
    try {
      return StrToFloat(token);
    } catch (const ConversionError&) {
      Fail(Format("вместо числа стоит «%s»", QuotedText(token)));
    }
  }
  // Names the line of the last token read: where a number is wrong, or the
  // last line that holds anything when the file ends early.
  [[noreturn]] void Fail(const std::string& what) const {
    throw EditorError(Format("Файл «%s», строка %d: %s.", fileName_, line_, what));
  }

 private:
  int Bounded(const std::string& token, int lowest, int highest) {
    int value = 0;
    try {
      value = StrToInt(token);
    } catch (const ConversionError&) {
      Fail(Format("вместо целого числа стоит «%s»", QuotedText(token)));
    }
    if (value < lowest || value > highest)
      Fail(Format("число %d вне допустимых пределов %d..%d", value, lowest, highest));
    return value;
  }
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

SheetBranch ReadBranch(SchemeReader& reader, bool withCurrentSource) {
  const int from = reader.Node();
  const int to = reader.Node();
  const int x1 = reader.Coordinate();
  const int y1 = reader.Coordinate();
  const bool vertical = reader.Integer(0, 1) == 1;
  ElementValues values;
  for (double* value : {&values.R, &values.L, &values.C, &values.E, &values.Angle}) *value = reader.Real();
  if (withCurrentSource)
    for (double* value : {&values.J, &values.JAngle}) *value = reader.Real();
  return MakeSheetBranch(x1, y1, from, to, vertical, values);
}

Connection ReadConnection(SchemeReader& reader, int& line) {
  Connection wire;
  wire.From = reader.Node();
  line = reader.Line();
  wire.To = reader.Node();
  // A wire of one point or none would be invisible and still join its nodes.
  const int count = reader.Integer(2, kMaxWirePoints);
  for (int i = 0; i < count; ++i) {
    const int x = reader.Coordinate();
    wire.Points.push_back({x, reader.Coordinate()});
  }
  return wire;
}

}  // namespace

std::string SchemeFileText(const SheetDrawing& drawing) {
  const bool withCurrentSource = DrawsCurrentSource(drawing);
  std::string text = Format("%d", static_cast<int>(drawing.Branches().size()));
  if (withCurrentSource) text += kCurrentSourceMarker;
  text += "\n";
  for (const SheetBranch& branch : drawing.Branches()) AppendBranchLine(text, branch, withCurrentSource);
  AppendFormat(text, "\n%d\n", static_cast<int>(drawing.Connections().size()));
  for (const Connection& wire : drawing.Connections()) {
    AppendFormat(text, "%d\t%d\n%d\n", wire.From, wire.To, static_cast<int>(wire.Points.size()));
    AppendCells(text, wire.Points);
  }
  AppendFormat(text, "\n%d\n", drawing.Occupied().Count());
  AppendCells(text, drawing.Occupied().Cells());
  return text;
}

namespace {

std::optional<SheetDrawing> ParseScheme(const std::string& text, const std::string& fileName, WorkProgress* progress) {
  SchemeReader reader(text, fileName);
  ProgressSteps steps(progress, static_cast<int>(text.size() / 1024) + 1, 16);
  SheetDrawing drawing;
  bool withCurrentSource = false;
  for (int n = reader.BranchCount(withCurrentSource); n > 0; --n) {
    drawing.AppendBranch(ReadBranch(reader, withCurrentSource));
    if (!steps.Advance(reader.Kilobytes())) return std::nullopt;
  }
  std::vector<int> wireLines;
  for (int n = reader.Integer(0, INT_MAX); n > 0; --n) {
    drawing.AppendConnection(ReadConnection(reader, wireLines.emplace_back()));
    if (!steps.Advance(reader.Kilobytes())) return std::nullopt;
  }
  // The file's cells keep their order, so a drawing loaded and saved again
  // gives the same bytes; band cells the file left out are added after them.
  for (int n = reader.Integer(0, INT_MAX); n > 0; --n) {
    const int x = reader.Coordinate();
    drawing.Occupied().Append({x, reader.Coordinate()});
    if (!steps.Advance(reader.Kilobytes())) return std::nullopt;
  }
  drawing.BlockAllFootprints();
  drawing.FitSheet();
  if (const int loose = LooseWire(drawing); loose >= 0)
    throw EditorError(
        Format("Файл «%s», строка %d: провод не начинается или не кончается на выводе ветви или "
               "другом проводе.",
               fileName, wireLines[loose]));
  if (!steps.Advance(static_cast<int>(text.size() / 1024) + 1)) return std::nullopt;
  return drawing;
}

std::string SchemeText(const std::filesystem::path& path) {
  std::optional<std::string> text = ReadTextFile(path);
  if (!text) throw EditorError(Format("Не удалось открыть файл «%s».", path.string()));
  return std::move(*text);
}

}  // namespace

SheetDrawing ParseSchemeText(const std::string& text, const std::string& fileName) {
  return *ParseScheme(text, fileName, nullptr);
}

std::optional<SheetDrawing> ParseSchemeText(const std::string& text, const std::string& fileName,
                                            WorkProgress& progress) {
  return ParseScheme(text, fileName, &progress);
}

std::optional<SheetDrawing> LoadSchemeFile(const std::filesystem::path& path, WorkProgress& progress) {
  return ParseScheme(SchemeText(path), path.string(), &progress);
}

SheetDrawing LoadSchemeFile(const std::filesystem::path& path) {
  return ParseSchemeText(SchemeText(path), path.string());
}

SaveProblem SaveSchemeFile(const std::filesystem::path& path, const SheetDrawing& drawing) {
  return SaveTextFileSafely(path, SchemeFileText(drawing));
}

}  // namespace ohmara
