#include "printing/printed_report.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

#include "printing/table_layout.h"
#include "printing/text_metrics.h"

namespace ohmara {

namespace {

constexpr const char* kAttemptTitle = "Проверка решения студента";
constexpr const char* kBranchPowersTitle = "Мощности ветвей, ВА";

constexpr int kFirstPageTopMm = 5;
constexpr int kSolutionTopMm = 10;
// The drawing reaches down to a millimetre above the sheet's edge and keeps
// five millimetres clear at either side.
constexpr int kDrawingBottomGapMm = 1;
constexpr int kDrawingSideGapMm = 5;
// A task table that fills most of the page would leave the drawing a sliver
// (or nothing at all); below this height it goes to a page of its own.
constexpr int kMinDrawingHeightMm = 50;
constexpr int kCurrentsPerColumn = 22;
// Below the page number.
constexpr int kTitleBlockTopMm = 10;
constexpr int kTitleBlockGapMm = 4;

constexpr int kColumnGapMm = 2;
constexpr int kHeadingStepMm = 6;
constexpr size_t kLinesKeptMin = 3;
constexpr const char* kCurrentsTitle = "Токи в ветвях, А";
constexpr const char* kPowerTitle = "Баланс мощностей, ВА";

// A matrix printed with its rows and columns numbered, headed by `title`
// again where it continues on another page.
TableStyle Numbered(const std::string& title, int titleX) { return {title, titleX, 1, true}; }
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
  std::string title;
  std::string subtitle;  // under the title when not empty
  const char* matrixTitle = "";
  const char* sourceTitle = "";
  const GridCells& matrix;
  const GridCells& sources;
  std::vector<SideColumn> columns;  // between the source column and the currents
  int currentsX = 0;
  int currentsSecondX = 0;  // where lines past the 22nd continue
  std::span<const std::string> currents;
  std::span<const std::string> power;
  std::span<const std::string> polar;  // none when not chosen
};

// Column 0 of a source grid, as many rows as the matrix has.
GridCells SourceColumn(const GridCells& grid, int rows) {
  GridCells column;
  column.rows = rows;
  column.cols = 1;
  for (int r = 0; r < rows; ++r) column.SetCell(0, r, grid.Cell(0, r));
  return column;
}

// `figure` below `at`, down to the bottom of the page in its proportions.
void AddFigure(PageDocument& document, const Cursor& at, const VectorFigure& figure) {
  PrintedFigure placed = FitSheet(at.y, SizeOf(figure), document.Paper());
  placed.figure = figure;
  document.Add(at.page, std::move(placed));
}

// The size the diagram is laid out at: the window's own at its first showing.
constexpr double kPhasorFigureWidth = 580;
constexpr double kPhasorFigureHeight = 620;

// A solution's phasor diagram on a page of its own, as its window draws it.
void PrintPhasorDiagram(PageDocument& document, const PhasorPicture& picture) {
  if (picture.phasors.currents.empty()) return;
  Cursor at = document.StartPage(true, kSolutionTopMm);
  PrintHeading(document, at, 10, "Векторная диаграмма");
  const MeasureFigureText measure = [](const std::string& text) { return SansTextSize(text, kPhasorTextSize, true); };
  AddFigure(document, at, PhasorFigure(picture, kPhasorFigureWidth, kPhasorFigureHeight, measure));
}

void PrintTask(PageDocument& document, Cursor& at, const TaskContent& task, bool withDrawing) {
  PrintHeading(document, at, 10, "Задание");
  at.y += 7;
  PrintTable(document, at, task.table, 20, {"Задание", 10, 1, false, true});
  PrintLine(document, at, 10, 10, 6, "Частота " + task.frequency + " " + task.frequencyUnit);
  if (!task.note.empty()) PrintLine(document, at, 10, 10, 6, task.note);
  if (!withDrawing || task.drawing.width <= 0 || task.drawing.height <= 0) return;
  if (document.Paper().height - kDrawingBottomGapMm - at.y < kMinDrawingHeightMm) at = document.ContinueOnNextPage(at);
  AddFigure(document, at, task.drawing);
}

// A heading stays with what follows it: it moves to the next page when it
// and `following` millimetres would not fit under it.
void KeepWithHeading(PageDocument& document, Cursor& at, int following) {
  if (!document.Fits(at.y, kHeadingStepMm + following)) at = document.ContinueOnNextPage(at);
}

// The room the first lines under a heading need: three, or all there are.
int LinesHeight(size_t lines) { return kTableRowHeightMm * static_cast<int>(std::min<size_t>(lines, kLinesKeptMin)); }

// A heading and its lines below what is printed, nothing when there are no lines.
void PrintSection(PageDocument& document, Cursor& at, const char* heading, std::span<const std::string> lines) {
  if (lines.empty()) return;
  KeepWithHeading(document, at, LinesHeight(lines.size()));
  PrintHeading(document, at, 5, heading);
  PrintMemoLines(document, at, 5, lines);
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
  std::vector<PlacedLine> placed;
  for (const std::string& line : lines) {
    const std::vector<std::string> pieces = WrapLine(line, width);
    for (size_t k = 0; k < pieces.size(); ++k) placed.push_back({k == 0 ? x : x + kWrapIndentMm, pieces[k]});
  }
  PrintMemoLines(document, at, placed);
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
  if (!layout.subtitle.empty()) PrintHeading(document, at, 10, layout.subtitle);
  PrintHeading(document, at, 10, layout.matrixTitle);
  PrintTable(document, at, layout.matrix, 1, Numbered(layout.matrixTitle, 10));
  const Cursor underMatrix = at;
  std::vector<PrintedColumn> columns;
  ColumnPlaces places;

  const GridCells sources = SourceColumn(layout.sources, layout.matrix.rows);
  Cursor column = underMatrix;
  // A column that runs onto the next page is headed there by its title and
  // "(продолжение)", which must not reach the column beside it.
  const int sourcesHeight = kTableRowHeightMm * (sources.rows + 1);
  KeepWithHeading(document, column,
                  document.Fits(kContinuationTopMm + kHeadingStepMm, sourcesHeight) ? sourcesHeight
                                                                                    : LinesHeight(sources.rows + 1));
  const bool sourcesContinue = !document.Fits(column.y + kHeadingStepMm, sourcesHeight);
  const std::string continued = std::string(layout.sourceTitle) + kContinued;
  const int sourceWidth =
      std::max({HeadingWidthMm(sourcesContinue ? continued : layout.sourceTitle), NumberedTableWidthMm(sources)});
  places.Place(5, sourceWidth);
  PrintHeading(document, column, 5, layout.sourceTitle);
  PrintTable(document, column, sources, 5, Numbered(layout.sourceTitle, 5));
  const Cursor underSources = column;
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
    KeepWithHeading(document, column, LinesHeight(side.lines.size()));
    PrintHeading(document, column, side.headingX + shift, side.heading);
    if (side.wraps) PrintWrappedLines(document, column, side.linesX + shift, side.lines, wrapWidth);
    else PrintMemoLines(document, column, side.linesX + shift, side.lines);
    columns.push_back({left + shift, places.Right(), column});
  }

  column = underMatrix;
  size_t firstColumnLines = std::min(layout.currents.size(), size_t{kCurrentsPerColumn});
  const int firstWidth = std::max(HeadingWidthMm(kCurrentsTitle), MemoWidthMm(layout.currents.first(firstColumnLines)));
  const int currentsX = layout.currentsX + places.Place(layout.currentsX, firstWidth);
  const int firstLeft = currentsX;
  const std::span<const std::string> rest = layout.currents.subspan(firstColumnLines);
  const int secondX = layout.currentsSecondX + std::max(0, places.Right() + kColumnGapMm - layout.currentsSecondX);
  // A second column that would run off the sheet is not begun: the lines go
  // on down the first one.
  if (!rest.empty() && secondX + MemoWidthMm(rest) > document.Paper().width) firstColumnLines = layout.currents.size();
  KeepWithHeading(document, column, LinesHeight(layout.currents.size()));
  PrintHeading(document, column, currentsX, kCurrentsTitle);
  const Cursor underCurrentsHeading = column;
  PrintMemoLines(document, column, currentsX, layout.currents.first(firstColumnLines));
  columns.push_back({firstLeft, places.Right(), column});
  if (layout.currents.size() > firstColumnLines) {
    column = underCurrentsHeading;
    PrintMemoLines(document, column, secondX, layout.currents.subspan(firstColumnLines));
    columns.push_back({secondX, secondX + MemoWidthMm(rest), column});
  }

  Cursor power{underSources.page, underSources.y + kTableRowHeightMm};
  const int powerRight = 5 + std::max(HeadingWidthMm(kPowerTitle), MemoWidthMm(layout.power));
  Cursor lowest = columns.front().end;
  Cursor lowestBeside = power;
  for (const PrintedColumn& printed : columns) {
    lowest = std::max(lowest, printed.end);
    if (printed.left < powerRight) lowestBeside = std::max(lowestBeside, printed.end);
  }
  if (lowest.page > power.page || !document.Fits(power.y, 6)) power = {lowest.page, lowest.y + kTableRowHeightMm};
  else if (lowestBeside > power) power = {lowestBeside.page, lowestBeside.y + kTableRowHeightMm};
  KeepWithHeading(document, power, LinesHeight(layout.power.size()));
  PrintHeading(document, power, 5, kPowerTitle);
  PrintMemoLines(document, power, 5, layout.power);
  at = std::max(power, Cursor{lowest.page, lowest.y + kTableRowHeightMm});
  PrintSection(document, at, "Показательная форма", layout.polar);
}

SolutionLayout MeshLayout(const MeshContent& mesh, std::span<const std::string> polar) {
  return {"Метод контурных токов",
          "",
          "Матрица сопротивлений, Ом",
          "Матрица ЭДС, В",
          mesh.impedanceMatrix,
          mesh.emfColumn,
          {{38, 38, "Контуры", mesh.loops, true}, {98, 93, "Контурные токи, А", mesh.loopCurrents}},
          134,
          168,
          mesh.branchCurrents,
          mesh.powerBalance,
          polar};
}

SolutionLayout NodeLayout(const NodeContent& nodes, const NodeMethodRun& run, std::span<const std::string> polar) {
  std::string title = "Метод узловых потенциалов";
  std::string subtitle;
  if (run.zeroNode > 0) {
    title += run.optimal ? " (оптимальный)" : " (базовый)";
    subtitle = "Узел с нулевым потенциалом: " + std::to_string(run.zeroNode);
  }
  return {title,
          subtitle,
          "Матрица проводимостей, См",
          "Матрица токов, А",
          nodes.admittanceMatrix,
          nodes.sourceCurrentColumn,
          {{38, 38, "Узловые потенциалы, В", nodes.potentials}},
          76,
          110,
          nodes.branchCurrents,
          nodes.powerBalance,
          polar};
}

std::span<const std::string> PolarChosen(const ReportChoices& choices, const std::vector<std::string>& lines) {
  if (!choices.polarForms) return {};
  return lines;
}

// "Студент: ..." and the rest at the top of the first page, each only when
// filled in, and a gap below them.
void PrintTitleBlock(PageDocument& document, Cursor& at, const TitleBlock& title) {
  const std::pair<const char*, const std::string&> fields[] = {{"Студент", title.student},
                                                               {"Группа", title.group},
                                                               {"Вариант", title.variant},
                                                               {"Дата", title.date},
                                                               {"Файл схемы", title.circuitFile}};
  bool any = false;
  for (const auto& [name, value] : fields) {
    if (value.empty()) continue;
    if (!any) at.y = std::max(at.y, kTitleBlockTopMm);
    any = true;
    PrintHeading(document, at, 10, std::string(name) + ": " + value);
  }
  if (any) at.y += kTitleBlockGapMm;
}

}  // namespace

bool AnythingChosen(const ReportChoices& choices) {
  return choices.task || choices.meshCurrents || choices.nodePotentials;
}

ReportChoices PrintedParts(const ReportContent& content, const ReportChoices& choices) {
  const ReportChoices& exists = content.available;
  return {choices.task && exists.task,
          choices.drawing && exists.drawing,
          choices.meshCurrents && exists.meshCurrents,
          choices.nodePotentials && exists.nodePotentials,
          choices.polarForms,
          choices.phasors};
}

ImageSize SizeOf(const VectorFigure& figure) {
  return {static_cast<int>(std::ceil(figure.width)), static_cast<int>(std::ceil(figure.height))};
}

PrintedFigure FitFigure(int top, int bottom, int maxWidth, const ImageSize& image) {
  int height = bottom - top;
  int width = static_cast<int>(static_cast<double>(height) * image.width / image.height);
  if (width >= maxWidth) {
    width = maxWidth;
    height = static_cast<int>(static_cast<double>(image.height) * maxWidth / image.width);
  }
  return {top, width, height, {}};
}

PrintedFigure FitSheet(int top, const ImageSize& image, const PaperSize& sheet) {
  return FitFigure(top, sheet.height - kDrawingBottomGapMm, sheet.width - 2 * kDrawingSideGapMm, image);
}

// Every part begins a page of its own; the task's page starts higher.
PageDocument ComposeReport(const ReportContent& content, const ReportChoices& chosen, const PaperSize& sheet) {
  const ReportChoices choices = PrintedParts(content, chosen);
  PageDocument document(sheet);
  bool titled = false;
  const auto startPart = [&](int top) {
    Cursor at = document.StartPage(true, top);
    if (!titled) PrintTitleBlock(document, at, content.title);
    titled = true;
    return at;
  };
  if (choices.task) {
    Cursor at = startPart(kFirstPageTopMm);
    PrintTask(document, at, content.task, choices.drawing);
  }
  if (choices.meshCurrents) {
    Cursor at = startPart(kSolutionTopMm);
    PrintSolution(document, at, MeshLayout(content.mesh, PolarChosen(choices, content.meshPolar)));
    PrintSection(document, at, kBranchPowersTitle, content.meshBranchPowers);
    PrintSection(document, at, kAttemptTitle, content.meshAttempt);
    if (choices.phasors) PrintPhasorDiagram(document, content.meshPhasors);
  }
  if (choices.nodePotentials) {
    Cursor at = startPart(kSolutionTopMm);
    PrintSolution(document, at, NodeLayout(content.nodes, content.nodeRun, PolarChosen(choices, content.nodePolar)));
    PrintSection(document, at, kBranchPowersTitle, content.nodeBranchPowers);
    PrintSection(document, at, kAttemptTitle, content.nodeAttempt);
    if (choices.phasors) PrintPhasorDiagram(document, content.nodePhasors);
  }
  return document;
}

ReportStatus PrintReport(const ReportContent& content, const ReportChoices& choices, const PageSize& page,
                         PageCanvas& canvas) {
  if (!AnythingChosen(choices)) return ReportStatus::NothingChosen;
  if (!AnythingChosen(PrintedParts(content, choices))) return ReportStatus::NothingToPrint;
  const PageScale scale(page);
  ComposeReport(content, choices, scale.Paper()).Render(scale, canvas);
  return ReportStatus::Printed;
}

}  // namespace ohmara
