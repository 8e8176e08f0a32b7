#pragma once
// "PrintForm": what goes on paper — the task (optionally with the editor's
// drawing), the mesh-current solution, the node-potential solution — and
// three ways to put it there: the printer, the print preview, a PDF file.
// All three draw the same report, copied from the windows as they show it.

#include <QDialog>
#include <QImage>
#include <functional>

#include "printing/printed_report.h"
#include "ui/command_guard.h"

class QCheckBox;
class QPrinter;
class QPushButton;

namespace ohmara {

class MainWindow;
class MeshCurrentWindow;
class NodePotentialWindow;
class Prompts;

// The windows the report copies from. `sheetImage` gives the editor's
// drawing; without an editor (or with an empty one) it is unset or gives a
// null image, and the report leaves the drawing out.
struct ReportSources {
  const MainWindow* mainWindow = nullptr;
  const MeshCurrentWindow* meshCurrentWindow = nullptr;
  const NodePotentialWindow* nodePotentialWindow = nullptr;
  std::function<QImage()> sheetImage;
};

class PrintDialog : public QDialog {
  Q_OBJECT

 public:
  PrintDialog(Prompts& prompts, CommandGuard guard, ReportSources sources);

  ReportChoices Choices() const;

 private:
  void BuildControls();
  void ConnectCommands();

  // The commands of the three buttons.
  void PrintOnPrinter();
  void ShowPreview();
  void SaveAsPdf();

  // False, after telling the user, when no box that prints anything is checked.
  bool SomethingChosen();
  // Draws the report on `printer`, or tells the user why it was refused.
  // False when the core refused the report (the user has been told why).
  bool PaintReport(QPrinter& printer);
  ReportContent Content(const QImage& sheet) const;
  void Tell(const QString& text);

  Prompts& prompts_;
  CommandGuard guard_;
  ReportSources sources_;

  QCheckBox* taskBox_ = nullptr;
  QCheckBox* drawingBox_ = nullptr;
  QCheckBox* meshCurrentsBox_ = nullptr;
  QCheckBox* nodePotentialsBox_ = nullptr;
  QPushButton* printButton_ = nullptr;
  QPushButton* previewButton_ = nullptr;
  QPushButton* pdfButton_ = nullptr;
};

}  // namespace ohmara
