#pragma once
// What the analysis writes for the two result windows, named by what each
// text is. The application keeps a method's texts in plain MeshTexts /
// NodeTexts, which the windows then render; tests read the same containers.

#include "model/text_views.h"

namespace ohmara {

// The mesh-current window.
struct MeshViews {
  GridView& impedanceMatrix;
  GridView& emfColumn;
  MemoView& branchValues;  // Z and E of every branch (filled by the test)
  MemoView& loops;         // the loops (filled by the test)
  MemoView& loopCurrents;
  MemoView& branchCurrents;
  MemoView& powerBalance;
};

// The node-potential window, shared by the basic and the optimal method.
struct NodeViews {
  GridView& admittanceMatrix;
  GridView& sourceCurrentColumn;
  MemoView& branchValues;  // admittances and source currents of the method
  MemoView& potentials;
  MemoView& branchCurrents;
  MemoView& powerBalance;
};

// Plain containers behind both windows: what a run leaves on screen.
struct MeshTexts {
  GridCells impedanceMatrix, emfColumn;
  MemoLines branchValues, loops, loopCurrents, branchCurrents, powerBalance;
  MeshViews Views() {
    return {impedanceMatrix, emfColumn, branchValues, loops, loopCurrents, branchCurrents, powerBalance};
  }
};

struct NodeTexts {
  GridCells admittanceMatrix, sourceCurrentColumn;
  MemoLines branchValues, potentials, branchCurrents, powerBalance;
  NodeViews Views() {
    return {admittanceMatrix, sourceCurrentColumn, branchValues, potentials, branchCurrents, powerBalance};
  }
};

}  // namespace ohmara
