#pragma once
// The drawing of a phasor diagram: the core lays out the arrows, the grid,
// the scale bar and the labels for the canvas's size; the canvas paints them
// on screen and into a picture for a PNG file.

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

#include "analysis/phasor_diagram.h"
#include "model/branch.h"
#include "model/complex.h"

class QPainter;

namespace ohmara {

// What a result window hands to its diagram: a solution's numbers with the
// circuit they belong to.
struct SolutionPhasors {
  std::vector<TBranch> branches;           // the tested circuit, for the balance at each node
  std::vector<Complex> currents;           // branch currents in table order, From -> To
  std::vector<LabelledPhasor> potentials;  // node potentials; none for a loop-current solution
  int nodeCount = 0;
};

// What the diagram shows of a solution.
struct PhasorChoice {
  int node = 0;  // 0: every branch current from the origin; k: the currents at node k head to tail
  ArrowLength length = ArrowLength::Linear;
  bool potentials = false;  // the node potentials beside the currents, on a scale of their own
};

// One kind of value laid out in the view, drawn in its own colour.
struct PhasorLayer {
  PhasorDiagram diagram;
  QColor colour;
  QString kind;  // "токи", "потенциалы"
  QString unit;  // "А", "В"
  bool headToTail = false;
};

class PhasorCanvas : public QWidget {
 public:
  explicit PhasorCanvas(QWidget* parent = nullptr);

  void SetPhasors(const SolutionPhasors& phasors);
  void SetChoice(const PhasorChoice& choice, const QString& title);

  // The layers as drawn at the canvas's present size, currents (or the
  // node's polygon) first; coordinates are those of the diagram area below
  // the title.
  std::vector<PhasorLayer> Layers() const;
  // The diagram at the canvas's present size, on white.
  QImage Picture() const;

  QSize sizeHint() const override { return {560, 560}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Paint(QPainter& painter) const;
  ViewSize DiagramArea() const;

  SolutionPhasors phasors_;
  PhasorChoice choice_;
  QString title_;
};

}  // namespace ohmara
