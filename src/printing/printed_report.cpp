#include "printing/printed_report.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "printing/table_layout.h"
#include "printing/text_metrics.h"

namespace ohmara {

namespace {

constexpr int kFirstPageTopMm = 5;
constexpr int kSolutionTopMm = 10;
constexpr int kDrawingBottomMm = 296;
constexpr int kDrawingMaxWidthMm = 200;
// A task table that fills most of the page would leave the drawing a sliver
// (or nothing at all); below this height it goes to a page of its own.
constexpr int kMinDrawingHeightMm = 50;
constexpr int kCurrentsPerColumn = 22;

constexpr int kColumnGapMm = 2;
// A wrapped line continues this far right of where it began.
constexpr int kWrapIndentMm = 5;

const Font& HeadingFont() {
  static const Font font{"Times New Roman", 10};
  return font;
}

const Font& MemoFont() {
  static const Font font{"Times New Roman", 8};
  return font;
}

// A memo printed beside the others under the matrix. A wrapping column keeps
// to the room before the next column's place, breaking its long lines;
// any other column pushes the columns after it to the right instead.
struct SideColumn {
  int headingX = 0;
  int linesX = 0;
  const char* heading = "";
  std::span<const std::string> lines;
  bool wraps = false;
};

// One solution page: what differs between the two methods.
struct SolutionLayout {
  const char* title = "";
  const char* matrixTitle = "";
  const char* sourceTitle = "";
  const GridCells& matrix;
  const GridCells& sources;
  std::vector<SideColumn> columns;  // between the source column and the currents
  int currentsX = 0;
  int currentsSecondX = 0;  // where lines past the 22nd continue
  std::span<const std::string> currents;
  std::span<const std::string> power;
};

// Column 0 of a source grid, as many rows as the matrix has.
GridCells SourceColumn(const GridCells& grid, int rows) {
  GridCells column;
  column.rows = rows;
  column.cols = 1;
  for (int r = 0; r < rows; ++r) column.SetCell(0, r, grid.Cell(0, r));
  return column;
}

void PrintTask(PageDocument& document, Cursor& at, const TaskContent& task, bool withDrawing) {
  PrintHeading(document, at, 10, "Задание");
  at.y += 7;
  PrintTable(document, at, task.table, 20);
  PrintLine(document, at, 10, 10, 6, "Частота " + task.frequency + " " + task.frequencyUnit);
  if (!withDrawing || task.sheet.width <= 0 || task.sheet.height <= 0) return;
  if (kDrawingBottomMm - at.y < kMinDrawingHeightMm) at = document.ContinueOnNextPage(at);
  document.Add(at.page, FitSheet(at.y, task.sheet));
}

int MemoWidthMm(std::span<const std::string> lines) {
  double widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, TextWidthMm(MemoFont(), line));
  return static_cast<int>(std::ceil(widest));
}

int HeadingWidthMm(const std::string& text) { return static_cast<int>(std::ceil(TextWidthMm(HeadingFont(), text))); }

// A line broken at its spaces into pieces no wider than `width`; a piece
// that cannot be broken stays whole.
std::vector<std::string> WrapLine(const std::string& line, double width) {
  std::vector<std::string> pieces;
  std::string piece;
  size_t at = 0;
  while (at < line.size()) {
    const size_t wordStart = line.find_first_not_of(' ', at);
    if (wordStart == std::string::npos) break;
    const size_t wordEnd = std::min(line.find(' ', wordStart), line.size());
    const std::string spaced = line.substr(at, wordEnd - at);
    const double room = pieces.empty() ? width : width - kWrapIndentMm;
    if (!piece.empty() && TextWidthMm(MemoFont(), piece + spaced) > room) {
      pieces.push_back(piece);
      piece = line.substr(wordStart, wordEnd - wordStart);
    } else {
      piece += spaced;
    }
    at = wordEnd;
  }
  pieces.push_back(piece);
  return pieces;
}

// The lines of a memo, each broken to `width` with its continuations
// indented under it.
void PrintWrappedLines(PageDocument& document, Cursor& at, int x, std::span<const std::string> lines, int width) {
  for (const std::string& line : lines) {
    const std::vector<std::string> pieces = WrapLine(line, width);
    for (size_t k = 0; k < pieces.size(); ++k) PrintLine(document, at, k == 0 ? x : x + kWrapIndentMm, 8, 5, pieces[k]);
  }
}

// Where the columns under the matrix stand across the page. Each keeps its
// place when the one before ends short of it and otherwise moves right.
class ColumnPlaces {
 public:
  // The shift of a column whose fixed place is `left` and which is `width`
  // wide there.
  int Place(int left, int width) {
    const int shift = std::max(0, right_ + kColumnGapMm - left);
    right_ = left + shift + width;
    return shift;
  }
  int Right() const { return right_; }

 private:
  int right_ = -kColumnGapMm;
};

// A column printed under the matrix: its span across the page and where it
// ended.
struct PrintedColumn {
  int left = 0;
  int right = 0;
  Cursor end;
};

// The columns under the matrix each start level with its bottom and may run
// onto the next page on their own. The power balance keeps its place under
// the source column; when a column has run onto a later page, or that place
// is past the bottom, it follows below the lowest column, and when a column
// it would reach across runs lower, below that one, so that nothing is
// printed over.
void PrintSolution(PageDocument& document, Cursor& at, const SolutionLayout& layout) {
  PrintHeading(document, at, 10, layout.title);
  PrintHeading(document, at, 10, layout.matrixTitle);
  PrintTable(document, at, layout.matrix, 1);
  const Cursor underMatrix = at;
  const int n = layout.matrix.rows;
  std::vector<PrintedColumn> columns;
  ColumnPlaces places;

  const GridCells sources = SourceColumn(layout.sources, n);
  Cursor column = underMatrix;
  const int sourceWidth = std::max(HeadingWidthMm(layout.sourceTitle), ColumnWidths(sources).at(0));
  places.Place(5, sourceWidth);
  PrintHeading(document, column, 5, layout.sourceTitle);
  PrintTable(document, column, sources, 5);
  columns.push_back({5, places.Right(), column});

  for (size_t k = 0; k < layout.columns.size(); ++k) {
    const SideColumn& side = layout.columns[k];
    const int left = std::min(side.headingX, side.linesX);
    const int nextLeft = k + 1 < layout.columns.size()
                             ? std::min(layout.columns[k + 1].headingX, layout.columns[k + 1].linesX)
                             : layout.currentsX;
    const int wrapWidth = nextLeft - kColumnGapMm - side.linesX;
    int linesWidth = MemoWidthMm(side.lines);
    if (side.wraps) linesWidth = std::min(linesWidth, wrapWidth);
    const int width = std::max(side.headingX + HeadingWidthMm(side.heading), side.linesX + linesWidth) - left;
    const int shift = places.Place(left, width);
    column = underMatrix;
    PrintHeading(document, column, side.headingX + shift, side.heading);
    if (side.wraps)
      PrintWrappedLines(document, column, side.linesX + shift, side.lines, wrapWidth);
    else
      PrintMemoLines(document, column, side.linesX + shift, side.lines);
    columns.push_back({left + shift, places.Right(), column});
  }

  column = underMatrix;
  size_t firstColumnLines = std::min(layout.currents.size(), size_t{kCurrentsPerColumn});
  const int firstWidth =
      std::max(HeadingWidthMm("Токи в ветвях"), MemoWidthMm(layout.currents.first(firstColumnLines)));
  const int currentsX = layout.currentsX + places.Place(layout.currentsX, firstWidth);
  const int firstLeft = currentsX;
  const std::span<const std::string> rest = layout.currents.subspan(firstColumnLines);
  const int secondX = layout.currentsSecondX + std::max(0, places.Right() + kColumnGapMm - layout.currentsSecondX);
  // A second column that would run off the sheet is not begun: the lines go
  // on down the first one.
  if (!rest.empty() && secondX + MemoWidthMm(rest) > kSheetWidthMm) firstColumnLines = layout.currents.size();
  PrintHeading(document, column, currentsX, "Токи в ветвях");
  const Cursor underCurrentsHeading = column;
  PrintMemoLines(document, column, currentsX, layout.currents.first(firstColumnLines));
  columns.push_back({firstLeft, places.Right(), column});
  if (layout.currents.size() > firstColumnLines) {
    column = underCurrentsHeading;
    PrintMemoLines(document, column, secondX, layout.currents.subspan(firstColumnLines));
    columns.push_back({secondX, secondX + MemoWidthMm(rest), column});
  }

  Cursor power{underCurrentsHeading.page, underCurrentsHeading.y + kTableRowHeightMm * (n + 2)};
  const int powerRight = 5 + std::max(HeadingWidthMm("Баланс мощностей"), MemoWidthMm(layout.power));
  Cursor lowest = columns.front().end;
  Cursor lowestBeside = power;
  for (const PrintedColumn& printed : columns) {
    lowest = std::max(lowest, printed.end);
    if (printed.left < powerRight) lowestBeside = std::max(lowestBeside, printed.end);
  }
  if (lowest.page > power.page || !FitsOnPage(power.y, 6))
    power = {lowest.page, lowest.y + kTableRowHeightMm};
  else if (lowestBeside > power)
    power = {lowestBeside.page, lowestBeside.y + kTableRowHeightMm};
  PrintHeading(document, power, 5, "Баланс мощностей");
  PrintMemoLines(document, power, 5, layout.power);
  at = power;
}

SolutionLayout MeshLayout(const MeshContent& mesh) {
  return {"Метод контурных токов",
          "Матрица сопротивлений",
          "Матрица ЭДС",
          mesh.RGrid,
          mesh.EGrid,
          {{38, 38, "Контуры", mesh.Conts, true}, {98, 93, "Контурные токи", mesh.ContCurr}},
          134,
          168,
          mesh.CurMemo,
          mesh.PowerMemo};
}

SolutionLayout NodeLayout(const NodeContent& nodes) {
  return {"Метод узловых потенциалов",
          "Матрица проводимостей",
          "Матрица токов",
          nodes.GGrid,
          nodes.IGrid,
          {{38, 38, "Узловые потенциалы", nodes.NdPot}},
          76,
          110,
          nodes.CurMemo,
          nodes.PowerMemo};
}

}  // namespace

bool AnythingChosen(const ReportChoices& choices) {
  return choices.task || choices.meshCurrents || choices.nodePotentials;
}

PrintedSheet FitSheet(int top, const ImageSize& image) {
  int height = kDrawingBottomMm - top;
  int width = static_cast<int>(static_cast<double>(height) * image.width / image.height);
  if (width >= kDrawingMaxWidthMm) {
    width = kDrawingMaxWidthMm;
    height = static_cast<int>(static_cast<double>(image.height) * kDrawingMaxWidthMm / image.width);
  }
  return {top, width, height};
}

// Every part begins a page of its own; the task's page starts higher.
PageDocument ComposeReport(const ReportContent& content, const ReportChoices& choices) {
  PageDocument document;
  if (choices.task) {
    Cursor at = document.StartPage(true, kFirstPageTopMm);
    PrintTask(document, at, content.task, choices.drawing);
  }
  if (choices.meshCurrents) {
    Cursor at = document.StartPage(true, kSolutionTopMm);
    PrintSolution(document, at, MeshLayout(content.mesh));
  }
  if (choices.nodePotentials) {
    Cursor at = document.StartPage(true, kSolutionTopMm);
    PrintSolution(document, at, NodeLayout(content.nodes));
  }
  return document;
}

ReportStatus PrintReport(const ReportContent& content, const ReportChoices& choices, const PageSize& page,
                         PageCanvas& canvas) {
  if (!AnythingChosen(choices)) return ReportStatus::NothingChosen;
  if (!IsPortrait(page)) return ReportStatus::NotPortrait;
  ComposeReport(content, choices).Render(PageScale(page), canvas);
  return ReportStatus::Printed;
}

}  // namespace ohmara
