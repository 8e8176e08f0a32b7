#pragma once
// "PrintForm": what goes on paper — the task (optionally with the editor's
// drawing), the mesh-current solution, the node-potential solution — and
// three ways to put it there: the printer, the print preview, a PDF file.
// All three draw the same report, made from the session's tested circuit and
// the solutions of it.

#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "editor/sheet_painting.h"
#include "printing/printed_report.h"
#include "ui/command_guard.h"

class QCheckBox;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace ohmara {

class CircuitSession;
class Prompts;

// What the report is made of. `sheetDrawing` gives the editor's drawing as
// the sheet paints it; without an editor (or with an empty one) it is unset
// or gives nothing, and the report leaves the drawing out. The phasor
// diagrams are the result windows' as they show them.
struct ReportSources {
  const CircuitSession* session = nullptr;
  std::function<PaintList()> sheetDrawing;
  std::function<PhasorPicture()> meshPhasors;
  std::function<PhasorPicture()> nodePhasors;
  // The student's marked attempts at the two solutions, when there are any.
  std::function<std::vector<std::string>()> meshAttempt;
  std::function<std::vector<std::string>()> nodeAttempt;
  // The branch powers of each solution when its window shows them.
  std::function<std::vector<std::string>()> meshBranchPowers;
  std::function<std::vector<std::string>()> nodeBranchPowers;
};

// The report's title as the dialog last held it: the remembered fields and
// today's date.
TitleBlock RememberedReportTitle();

class PrintDialog : public QDialog {
  Q_OBJECT

 public:
  PrintDialog(Prompts& prompts, CommandGuard guard, ReportSources sources);

  ReportChoices Choices() const;
  // What the title fields hold, as the report prints them.
  TitleBlock Title() const;

 private:
  void BuildControls();
  void BuildTitleFields();
  void ConnectCommands();

  // The commands of the three buttons.
  void PrintOnPrinter();
  void ShowPreview();
  void SaveAsPdf();

  // False, after telling the user, when no box that prints anything is
  // checked or none of the chosen parts exists yet.
  bool SomethingChosen();
  // Draws the report on `printer`, or tells the user why it was refused.
  // False when the core refused the report (the user has been told why).
  bool PaintReport(QPrinter& printer);
  ReportContent Content() const;
  void Tell(const QString& text);

  Prompts& prompts_;
  CommandGuard guard_;
  ReportSources sources_;

  QCheckBox* taskBox_ = nullptr;
  QCheckBox* drawingBox_ = nullptr;
  QCheckBox* meshCurrentsBox_ = nullptr;
  QCheckBox* nodePotentialsBox_ = nullptr;
  QCheckBox* polarBox_ = nullptr;
  QCheckBox* phasorBox_ = nullptr;
  // The sheet's orientation the printer set-up, the preview and the PDF
  // file start from; the set-up and the preview may still change it.
  QCheckBox* landscapeBox_ = nullptr;
  // Student, group, variant, date, circuit file: every one but the date is
  // remembered from the last run; the date starts as today's.
  std::array<QLineEdit*, 5> titleEdits_{};
  QPushButton* printButton_ = nullptr;
  QPushButton* previewButton_ = nullptr;
  QPushButton* pdfButton_ = nullptr;
};

}  // namespace ohmara
