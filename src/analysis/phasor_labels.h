#pragma once
// Where the labels of a phasor diagram go. Arrows of equal value end at the
// same point, so they share one label ("I12, I31") instead of printing on top
// of each other; a label keeps off its own arrow's shaft, which would run
// through it along the arrow's line.

#include <string>
#include <vector>

#include "analysis/phasor_diagram.h"

namespace ohmara {

struct PhasorLabel {
  std::string text;
  ViewPoint anchor;  // the point the label's box touches
  ViewPoint away;    // unit vector from the anchor into the box
};

// One label per arrow tip: arrows whose tips lie within `mergeDistance`
// pixels of an earlier arrow's tip join its label, texts separated by ", " in
// arrow order. The box sits `gap` pixels beyond the tip and to the left of
// the arrow as seen on screen (above a rightward arrow). A zero-length arrow
// counts as pointing right.
std::vector<PhasorLabel> TipLabels(const PhasorDiagram& diagram, double mergeDistance = 3.0, double gap = 4.0);

// One label per arrow beside its middle, on its left: for a polygon laid head
// to tail, whose arrows may run back along the ones before them.
std::vector<PhasorLabel> SideLabels(const PhasorDiagram& diagram, double gap = 4.0);

// The centre of a box of `size` pixels that touches the label's anchor from
// the side its `away` vector points to.
ViewPoint LabelBoxCentre(const PhasorLabel& label, ViewSize size);

// The centres of the boxes of `labels` (box k is `sizes[k]` pixels large),
// each where LabelBoxCentre puts it unless it would overlap a box placed
// before it: then it moves on along its `away` vector, two pixels at a time,
// until it is clear; one that is not clear within `maxShift` pixels takes the
// nearest clear place on rings round its first place. Short arrows crowd
// round the origin, and their labels would print over each other.
std::vector<ViewPoint> PlaceLabelBoxes(const std::vector<PhasorLabel>& labels, const std::vector<ViewSize>& sizes,
                                       double maxShift = 60.0);

}  // namespace ohmara
