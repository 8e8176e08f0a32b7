// Labels of phasor diagrams: shared where arrows coincide, and never on the
// shaft of their own arrow.

#include "analysis/phasor_labels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "model/text_format.h"

namespace ohmara {
namespace {

// The five-branch example: all currents on the positive real axis, two pairs equal.
TEST(PhasorLabels, EqualArrowsShareOneLabelAboveTheirTip) {
  const PhasorDiagram diagram = LayOutPhasors(
      {{"I12", {3.75, 0}}, {"I23", {2.5, 0}}, {"I31", {3.75, 0}}, {"I24", {1.25, 0}}, {"I43", {1.25, 0}}}, {400, 300});
  const std::vector<PhasorLabel> labels = TipLabels(diagram);
  ASSERT_EQ(labels.size(), 3u);
  const char* texts[] = {"I12, I31", "I23", "I24, I43"};
  const size_t firstArrow[] = {0, 1, 3};
  for (size_t k = 0; k < 3; ++k) {
    SCOPED_TRACE(texts[k]);
    EXPECT_EQ(labels[k].text, texts[k]);
    // Beyond the tip and above the axis the shafts run along.
    EXPECT_GT(labels[k].anchor.x, diagram.arrows[firstArrow[k]].tip.x);
    EXPECT_LT(labels[k].anchor.y, diagram.origin.y);
    EXPECT_GT(labels[k].away.x, 0);
    EXPECT_LT(labels[k].away.y, 0);
  }
}

// A polygon at a node runs back along itself: the side labels of opposite
// arrows fall on opposite sides, each on its arrow's left.
TEST(PhasorLabels, SideLabelsLieLeftOfTheirArrow) {
  PhasorDiagram polygon;
  polygon.arrows = {{"I12", {}, {0, 0}, {100, 0}}, {"-I23", {}, {100, 0}, {20, 0}}, {"-I24", {}, {20, 0}, {20, 50}}};
  const std::vector<PhasorLabel> labels = SideLabels(polygon, 4);
  ASSERT_EQ(labels.size(), 3u);
  const ViewPoint anchors[] = {{50, -4}, {60, 4}, {24, 25}};  // y downwards: "left" of a downward arrow is +x
  for (size_t k = 0; k < 3; ++k) {
    SCOPED_TRACE(labels[k].text);
    EXPECT_NEAR(labels[k].anchor.x, anchors[k].x, 1e-12);
    EXPECT_NEAR(labels[k].anchor.y, anchors[k].y, 1e-12);
  }
}

TEST(PhasorLabels, BoxTouchesTheAnchorFromItsSide) {
  struct Case {
    ViewPoint away;
    ViewPoint centre;  // of a 40 x 10 box at anchor (100, 100)
  };
  const double d = std::sqrt(0.5);
  const Case cases[] = {{{1, 0}, {120, 100}}, {{0, -1}, {100, 95}}, {{d, -d}, {105, 95}}, {{-d, d}, {95, 105}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.away.x << ", " << c.away.y);
    const ViewPoint centre = LabelBoxCentre({"x", {100, 100}, c.away}, {40, 10});
    EXPECT_NEAR(centre.x, c.centre.x, 1e-9);
    EXPECT_NEAR(centre.y, c.centre.y, 1e-9);
  }
  const ViewPoint still = LabelBoxCentre({"", {7, 8}, {1, 0}}, {0, 0});
  EXPECT_EQ(still.x, 7);
  EXPECT_EQ(still.y, 8);
}

// Labels round the origin move out along their own direction until clear of
// the ones placed before them; one that finds no room stays by its arrow.
TEST(PhasorLabels, CrowdedBoxesMoveOutUntilClear) {
  const std::vector<PhasorLabel> labels = {
      {"a", {100, 100}, {1, 0}}, {"b", {100, 100}, {1, 0}}, {"c", {100, 100}, {-1, 0}}, {"d", {100, 100}, {1, 0}}};
  const std::vector<ViewSize> sizes = {{20, 10}, {20, 10}, {20, 10}, {20, 10}};
  const std::vector<ViewPoint> centres = PlaceLabelBoxes(labels, sizes, 30);
  EXPECT_NEAR(centres[0].x, 110, 1e-9);
  EXPECT_NEAR(centres[1].x, 130, 1e-9);  // just clear of a's box
  EXPECT_NEAR(centres[2].x, 90, 1e-9);   // left of the anchor: touching a's box is no overlap
  // b's place is taken and 30 px are not enough: the nearest clear place
  // round its first one, above or below a's box.
  EXPECT_NEAR(centres[3].x, 110, 1e-9);
  EXPECT_NEAR(std::abs(centres[3].y - 100), 10, 1e-9);
  for (size_t i = 0; i < 4; ++i)
    for (size_t j = 0; j < i; ++j) {
      SCOPED_TRACE(labels[i].text + " and " + labels[j].text);
      const bool apart = std::abs(centres[i].x - centres[j].x) >= 20 || std::abs(centres[i].y - centres[j].y) >= 10;
      EXPECT_TRUE(apart);
    }
  EXPECT_THROW(PlaceLabelBoxes(labels, {{1, 1}}), std::invalid_argument);
}

// The currents of the complete graph on ten nodes, 45 branches, on both
// scales: however crowded, no two label boxes overlap.
TEST(PhasorLabels, FortyFiveBranchesPrintNoLabelOverAnother) {
  std::vector<LabelledPhasor> currents;
  for (int a = 1; a <= 10; ++a)
    for (int b = a + 1; b <= 10; ++b) {
      const Complex va = PolarDeg(a, 36.0 * a), vb = PolarDeg(b * 0.5, 36.0 * b);
      currents.push_back({Format("I%d%d", a, b), va - vb});
    }
  for (ArrowLength length : {ArrowLength::Linear, ArrowLength::Logarithmic}) {
    SCOPED_TRACE(static_cast<int>(length));
    const std::vector<PhasorLabel> labels = TipLabels(LayOutPhasors(currents, {400, 360}, length));
    std::vector<ViewSize> sizes;
    for (const PhasorLabel& label : labels) sizes.push_back({7.0 * label.text.size() + 4.0, 16.0});
    const std::vector<ViewPoint> centres = PlaceLabelBoxes(labels, sizes);
    for (size_t i = 0; i < labels.size(); ++i)
      for (size_t j = 0; j < i; ++j) {
        SCOPED_TRACE(labels[i].text + " and " + labels[j].text);
        EXPECT_TRUE(std::abs(centres[i].x - centres[j].x) * 2 >= sizes[i].width + sizes[j].width ||
                    std::abs(centres[i].y - centres[j].y) * 2 >= sizes[i].height + sizes[j].height);
      }
  }
}

}  // namespace
}  // namespace ohmara
