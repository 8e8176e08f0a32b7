#pragma once
// The strokes of the element symbols the sheet places (resistor, inductor,
// capacitor, EMF), in the pixels of their pictures: the screen draws its
// pictures from them and the printed drawing draws them as paths, so both
// show one and the same symbol.

#include <vector>

#include "editor/sheet_painting.h"

namespace ohmara {

struct SymbolPoint {
  double x = 0.0;
  double y = 0.0;
  friend bool operator==(const SymbolPoint&, const SymbolPoint&) = default;
};

// Connected lines through their points.
using SymbolStrokes = std::vector<std::vector<SymbolPoint>>;

// A picture `width` x `height` pixels; a horizontal one has the branch line
// run through it from the left edge to the right, so that the symbol covers
// its stretch of the line. A vertical picture is its horizontal one turned a
// quarter clockwise (the start terminal on top).
struct ElementSymbol {
  int width = 0;
  int height = 0;
  SymbolStrokes strokes;
};

// The symbol of an element picture; no strokes for the background.
ElementSymbol SymbolOf(Picture picture);

}  // namespace ohmara
