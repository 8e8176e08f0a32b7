#pragma once
// "Векторная диаграмма": the branch currents of a result window's last
// solution as arrows from the origin, or the currents at one node head to
// tail ("Кирхгоф в узле"), optionally with the node potentials, saved as PNG
// on request. Each result window has one, opened from its menu.

#include <QMainWindow>

#include "ui/command_guard.h"
#include "ui/phasor_canvas.h"

class QAction;
class QCheckBox;
class QComboBox;

namespace ohmara {

class Prompts;

class PhasorDiagramWindow : public QMainWindow {
 public:
  // `method` names the solution in the diagram's title ("Метод контурных токов").
  PhasorDiagramWindow(Prompts& prompts, CommandGuard guard, const QString& method, QWidget* parent);

  // Draws `phasors`, keeping the chosen node while the circuit still has it.
  void ShowSolution(const SolutionPhasors& phasors);

  // What is drawn now, in the canvas's pixels below its title.
  std::vector<PhasorLayer> Layers() const;
  // What the diagram shows: the solution, the choice and the title.
  const PhasorPicture& Shown() const;

 private:
  void BuildControls();
  void BuildMenu();
  void Redraw();
  void SaveAsPng();
  PhasorChoice Choice() const;
  QString Title(const PhasorChoice& choice) const;

  Prompts& prompts_;
  CommandGuard guard_;
  QString method_;

  QComboBox* nodeBox_ = nullptr;
  QCheckBox* logLengthBox_ = nullptr;
  QCheckBox* potentialsBox_ = nullptr;
  PhasorCanvas* canvas_ = nullptr;
  QAction* savePngAction_ = nullptr;
  QAction* closeAction_ = nullptr;
};

}  // namespace ohmara
