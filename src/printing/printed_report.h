#pragma once
// The printed report: the task (branch table, frequency, the editor's
// drawing) and the two solutions, copied as the windows show them onto A4
// pages, upright or on their side. Nothing is recomputed.
//
// The print dialog takes the ReportContent the application's session holds
// and the state of its check boxes, tells the user when AnythingChosen is
// false, runs the printer set-up and then hands PrintReport a PageCanvas
// over the printer's page, upright or on its side as the user chose.

#include <string>
#include <vector>

#include "model/text_views.h"
#include "printing/page_canvas.h"
#include "printing/page_document.h"
#include "printing/phasor_figure.h"
#include "printing/vector_figure.h"

namespace ohmara {

struct ImageSize {
  int width = 0;
  int height = 0;
};

struct TaskContent {
  GridCells table;                   // the branch grid, its title row 0 included
  std::string frequency;             // as typed
  std::string frequencyUnit = "Гц";  // the unit the main window shows
  VectorFigure drawing;              // the editor's drawing; none when it has no width
  std::string note;                  // printed under the frequency when not empty
};

// The mesh-current solution as its window shows it.
struct MeshContent {
  GridCells impedanceMatrix;  // n x n
  GridCells emfColumn;        // loop sources: column 0, rows 0 .. n - 1 are printed
  std::vector<std::string> loops, loopCurrents, branchCurrents, powerBalance;
};

// The node-potential solution as its window shows it.
struct NodeContent {
  GridCells admittanceMatrix;     // m x m
  GridCells sourceCurrentColumn;  // source currents: column 0, rows 0 .. m - 1 are printed
  std::vector<std::string> potentials, branchCurrents, powerBalance;
};

// Which node method filled the node-potential window and with which node at
// zero; a zeroNode of 0 (not known) leaves the section's title plain.
struct NodeMethodRun {
  bool optimal = false;
  int zeroNode = 0;
};

// Whose work the report is, printed at the top of its first page; an empty
// field is left out.
struct TitleBlock {
  std::string student;
  std::string group;
  std::string variant;
  std::string date;
  std::string circuitFile;
};

// The dialog's check boxes. The drawing belongs to the task: without the
// task it is never printed, whatever its own box says.
struct ReportChoices {
  bool task = true;
  bool drawing = true;
  bool meshCurrents = true;
  bool nodePotentials = true;
  bool polarForms = false;  // each solution followed by its values in polar form
  bool phasors = false;     // each solution followed by its phasor diagram, as its window shows it
};

struct ReportContent {
  TaskContent task;
  MeshContent mesh;
  NodeContent nodes;
  NodeMethodRun nodeRun;
  TitleBlock title;
  // The values of each solution as magnitude ∠ angle, as the windows'
  // "Показательная форма" panels list them (group headings included).
  std::vector<std::string> meshPolar;
  std::vector<std::string> nodePolar;
  // The phasor diagram of each solution as its window shows it; one
  // without currents is left out.
  PhasorPicture meshPhasors;
  PhasorPicture nodePhasors;
  // The student's own attempt at each solution as "Проверить своё решение"
  // last marked it; printed after that solution when there is one.
  std::vector<std::string> meshAttempt;
  std::vector<std::string> nodeAttempt;
  // The powers of every element of each solution, when its window's
  // "Мощности ветвей" is on; printed at the end of that solution.
  std::vector<std::string> meshBranchPowers;
  std::vector<std::string> nodeBranchPowers;
  // The parts there is something to print for: a part that is not is left
  // out even when chosen (no empty headings).
  ReportChoices available;
};

enum class ReportStatus {
  Printed,
  NothingChosen,   // no box that prints anything is checked; nothing was drawn
  NothingToPrint,  // none of the chosen parts exists yet; nothing was drawn
};

bool AnythingChosen(const ReportChoices& choices);

// The chosen parts that exist.
ReportChoices PrintedParts(const ReportContent& content, const ReportChoices& choices);

// The drawing's size below `top`: down to a millimetre above the sheet's
// bottom edge (296 mm upright), at most 10 mm narrower than the sheet, in
// the image's proportions. The image must have a positive width and height.
PrintedFigure FitSheet(int top, const ImageSize& image, const PaperSize& sheet = kPortraitPaper);
// The same between `top` and `bottom`, at most `maxWidth` mm wide.
PrintedFigure FitFigure(int top, int bottom, int maxWidth, const ImageSize& image);

// The size of a figure in whole units, for fitting it.
ImageSize SizeOf(const VectorFigure& figure);

// The whole report laid out in millimetres; no pages when nothing chosen exists.
PageDocument ComposeReport(const ReportContent& content, const ReportChoices& choices,
                           const PaperSize& sheet = kPortraitPaper);

// Lays the report out and draws it on `canvas`, which the page of `page`
// device pixels lies under.
ReportStatus PrintReport(const ReportContent& content, const ReportChoices& choices, const PageSize& page,
                         PageCanvas& canvas);

}  // namespace ohmara
