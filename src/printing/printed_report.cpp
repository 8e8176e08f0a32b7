#include "printing/printed_report.h"

#include <algorithm>
#include <span>

#include "printing/table_layout.h"

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

// A memo printed beside the others under the matrix.
struct SideColumn {
  int headingX = 0;
  int linesX = 0;
  const char* heading = "";
  std::span<const std::string> lines;
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
  if (!task.note.empty()) PrintLine(document, at, 10, 10, 6, task.note);
  if (!withDrawing || task.sheet.width <= 0 || task.sheet.height <= 0) return;
  if (kDrawingBottomMm - at.y < kMinDrawingHeightMm) at = document.ContinueOnNextPage(at);
  document.Add(at.page, FitSheet(at.y, task.sheet));
}

// The columns under the matrix each start level with its bottom and may run
// onto the next page on their own. The power balance keeps its place under
// the source column; when a column has run onto a later page, or that place
// is past the bottom, it follows below the lowest column instead so that
// nothing is printed over.
void PrintSolution(PageDocument& document, Cursor& at, const SolutionLayout& layout) {
  PrintHeading(document, at, 10, layout.title);
  PrintHeading(document, at, 10, layout.matrixTitle);
  PrintTable(document, at, layout.matrix, 1);
  const Cursor underMatrix = at;
  const int n = layout.matrix.rows;
  std::vector<Cursor> columnEnds;

  Cursor column = underMatrix;
  PrintHeading(document, column, 5, layout.sourceTitle);
  PrintTable(document, column, SourceColumn(layout.sources, n), 5);
  columnEnds.push_back(column);

  for (const SideColumn& side : layout.columns) {
    column = underMatrix;
    PrintHeading(document, column, side.headingX, side.heading);
    PrintMemoLines(document, column, side.linesX, side.lines);
    columnEnds.push_back(column);
  }

  column = underMatrix;
  PrintHeading(document, column, layout.currentsX, "Токи в ветвях");
  const Cursor underCurrentsHeading = column;
  const size_t firstColumnLines = std::min(layout.currents.size(), size_t{kCurrentsPerColumn});
  PrintMemoLines(document, column, layout.currentsX, layout.currents.first(firstColumnLines));
  columnEnds.push_back(column);
  if (layout.currents.size() > firstColumnLines) {
    column = underCurrentsHeading;
    PrintMemoLines(document, column, layout.currentsSecondX, layout.currents.subspan(firstColumnLines));
    columnEnds.push_back(column);
  }

  Cursor power{underCurrentsHeading.page, underCurrentsHeading.y + kTableRowHeightMm * (n + 2)};
  const Cursor lowest = *std::max_element(columnEnds.begin(), columnEnds.end());
  if (lowest.page > power.page || !FitsOnPage(power.y, 6)) power = {lowest.page, lowest.y + kTableRowHeightMm};
  PrintHeading(document, power, 5, "Баланс мощностей");
  PrintMemoLines(document, power, 5, layout.power);
  at = power;
}

SolutionLayout MeshLayout(const MeshContent& mesh) {
  return {"Метод контурных токов",
          "Матрица сопротивлений",
          "Матрица ЭДС",
          mesh.impedanceMatrix,
          mesh.emfColumn,
          {{38, 38, "Контуры", mesh.loops}, {98, 93, "Контурные токи", mesh.loopCurrents}},
          134,
          168,
          mesh.branchCurrents,
          mesh.powerBalance};
}

SolutionLayout NodeLayout(const NodeContent& nodes) {
  return {"Метод узловых потенциалов",
          "Матрица проводимостей",
          "Матрица токов",
          nodes.admittanceMatrix,
          nodes.sourceCurrentColumn,
          {{38, 38, "Узловые потенциалы", nodes.potentials}},
          76,
          110,
          nodes.branchCurrents,
          nodes.powerBalance};
}

}  // namespace

bool AnythingChosen(const ReportChoices& choices) {
  return choices.task || choices.meshCurrents || choices.nodePotentials;
}

ReportChoices PrintedParts(const ReportContent& content, const ReportChoices& choices) {
  const ReportChoices& exists = content.available;
  return {choices.task && exists.task, choices.drawing && exists.drawing, choices.meshCurrents && exists.meshCurrents,
          choices.nodePotentials && exists.nodePotentials};
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
PageDocument ComposeReport(const ReportContent& content, const ReportChoices& chosen) {
  const ReportChoices choices = PrintedParts(content, chosen);
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
  if (!AnythingChosen(PrintedParts(content, choices))) return ReportStatus::NothingToPrint;
  ComposeReport(content, choices).Render(PageScale(page), canvas);
  return ReportStatus::Printed;
}

}  // namespace ohmara
