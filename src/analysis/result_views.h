#pragma once
// What the analysis writes into the two result windows, by control name. The
// windows hand these over with their widgets behind the views; tests hand
// over MemoLines and GridCells.

#include "model/text_views.h"

namespace ohmara {

// The mesh-current window.
struct CurrFormViews {
  GridView& RGrid;       // loop impedance matrix
  GridView& EGrid;       // loop source column
  MemoView& InValMem;    // Z and E of every branch (filled by the test)
  MemoView& Conts;       // the loops (filled by the test)
  MemoView& ContCurr;    // loop currents
  MemoView& CurMemo;     // branch currents
  MemoView& PowerMemo;   // power balance
};

// The node-potential window, shared by the basic and the optimal method.
struct PotFormViews {
  GridView& GGrid;       // admittance matrix
  GridView& IGrid;       // source-current column
  MemoView& InValMem;    // admittances and source currents
  MemoView& NdPot;       // node potentials
  MemoView& CurMemo;     // branch currents
  MemoView& PowerMemo;   // power balance
};

// Plain containers behind both windows, for tests and benchmarks.
struct CurrFormTexts {
  GridCells RGrid, EGrid;
  MemoLines InValMem, Conts, ContCurr, CurMemo, PowerMemo;
  CurrFormViews Views() { return {RGrid, EGrid, InValMem, Conts, ContCurr, CurMemo, PowerMemo}; }
};

struct PotFormTexts {
  GridCells GGrid, IGrid;
  MemoLines InValMem, NdPot, CurMemo, PowerMemo;
  PotFormViews Views() { return {GGrid, IGrid, InValMem, NdPot, CurMemo, PowerMemo}; }
};

}  // namespace ohmara
