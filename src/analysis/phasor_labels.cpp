#include "analysis/phasor_labels.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace ohmara {

namespace {

ViewPoint Unit(double x, double y) {
  const double length = std::hypot(x, y);
  if (length == 0.0) return {1.0, 0.0};
  return {x / length, y / length};
}

ViewPoint Direction(const PhasorArrow& arrow) { return Unit(arrow.tip.x - arrow.tail.x, arrow.tip.y - arrow.tail.y); }

// The arrow's left on screen: y grows downwards, so a quarter turn
// counter-clockwise takes (x, y) to (y, -x).
ViewPoint LeftOf(ViewPoint direction) { return {direction.y, -direction.x}; }

ViewPoint Step(ViewPoint from, ViewPoint direction, double distance) {
  return {from.x + direction.x * distance, from.y + direction.y * distance};
}

}  // namespace

std::vector<PhasorLabel> TipLabels(const PhasorDiagram& diagram, double mergeDistance, double gap) {
  std::vector<PhasorLabel> labels;
  std::vector<ViewPoint> tips;
  for (const PhasorArrow& arrow : diagram.arrows) {
    auto shared = std::find_if(tips.begin(), tips.end(), [&](ViewPoint tip) {
      return std::hypot(tip.x - arrow.tip.x, tip.y - arrow.tip.y) <= mergeDistance;
    });
    if (shared != tips.end()) {
      labels[shared - tips.begin()].text += ", " + arrow.label;
      continue;
    }
    const ViewPoint direction = Direction(arrow);
    const ViewPoint left = LeftOf(direction);
    const ViewPoint away = Unit(direction.x + left.x, direction.y + left.y);
    labels.push_back({arrow.label, Step(arrow.tip, away, gap), away});
    tips.push_back(arrow.tip);
  }
  return labels;
}

std::vector<PhasorLabel> SideLabels(const PhasorDiagram& diagram, double gap) {
  std::vector<PhasorLabel> labels;
  for (const PhasorArrow& arrow : diagram.arrows) {
    const ViewPoint left = LeftOf(Direction(arrow));
    const ViewPoint middle{(arrow.tail.x + arrow.tip.x) / 2.0, (arrow.tail.y + arrow.tip.y) / 2.0};
    labels.push_back({arrow.label, Step(middle, left, gap), left});
  }
  return labels;
}

ViewPoint LabelBoxCentre(const PhasorLabel& label, ViewSize size) {
  // Moving along `away` until the nearer pair of the box's edges reaches the
  // anchor: that many pixels, and the box just touches it.
  if (!(size.width > 0.0) || !(size.height > 0.0)) return label.anchor;
  const double reach =
      std::max(std::abs(label.away.x) / (size.width / 2.0), std::abs(label.away.y) / (size.height / 2.0));
  if (!(reach > 0.0)) return label.anchor;
  return Step(label.anchor, label.away, 1.0 / reach);
}

std::vector<ViewPoint> PlaceLabelBoxes(const std::vector<PhasorLabel>& labels, const std::vector<ViewSize>& sizes,
                                       double maxShift) {
  if (sizes.size() != labels.size()) throw std::invalid_argument("PlaceLabelBoxes: one size per label expected");
  constexpr double kStep = 2.0;
  constexpr int kRingPlaces = 16;
  std::vector<ViewPoint> centres;
  auto overlapsPlaced = [&](ViewPoint centre, ViewSize size) {
    for (size_t k = 0; k < centres.size(); ++k)
      if (std::abs(centre.x - centres[k].x) * 2.0 < size.width + sizes[k].width &&
          std::abs(centre.y - centres[k].y) * 2.0 < size.height + sizes[k].height)
        return true;
    return false;
  };
  for (size_t k = 0; k < labels.size(); ++k) {
    const ViewPoint start = LabelBoxCentre(labels[k], sizes[k]);
    ViewPoint centre = start;
    for (double shift = kStep; shift <= maxShift && overlapsPlaced(centre, sizes[k]); shift += kStep)
      centre = Step(start, labels[k].away, shift);
    // Rings round its first place, nearest first: far enough out every
    // place is clear, so no label ever prints over another.
    for (double radius = kStep; overlapsPlaced(centre, sizes[k]); radius += kStep)
      for (int turn = 0; turn < kRingPlaces && overlapsPlaced(centre, sizes[k]); ++turn) {
        const double angle = turn * (2.0 * std::numbers::pi / kRingPlaces);
        centre = {start.x + radius * std::cos(angle), start.y - radius * std::sin(angle)};
      }
    centres.push_back(centre);
  }
  return centres;
}

}  // namespace ohmara
