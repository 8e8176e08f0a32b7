#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <string>

#include "printing/text_metrics.h"

namespace ohmara {
namespace {

// The report is laid out with the core's own widths; the printer draws with
// the metric-compatible fonts. A width the core underestimates would put text
// over text on paper, so every kind of text the report prints must measure
// at least as wide in the core as in the fonts themselves.
TEST(TextMetrics, NeverNarrowerThanThePrinterFonts) {
  const struct {
    const char* qtFamily;
    Font font;
  } fonts[] = {{"Liberation Sans", {"Arial", 7}},
               {"Liberation Serif", {"Times New Roman", 8}},
               {"Liberation Serif", {"Times New Roman", 10}}};
  const char* texts[] = {"123.8387 + j 191.8463",         "I34 = 100.7045 - j 173.7701",
                         "1)   1->2  2->3  17->18",       "Матрица сопротивлений, Ом",
                         "Узел с нулевым потенциалом: 3", "φ12 = 12.5 ∠ -36.87°",
                         "Мощность источников = 37.5",    "ЖШЩЮЫФ жшщюыф",
                         "Студент: Иванов И. И."};
  constexpr double kPixelsPerPoint = 100;  // measured large, so rounding of pixels does not matter
  for (const auto& f : fonts) {
    QFont qfont(QString::fromLatin1(f.qtFamily));
    qfont.setPixelSize(static_cast<int>(f.font.points * kPixelsPerPoint));
    const QFontMetricsF metrics(qfont);
    ASSERT_EQ(QFontInfo(qfont).family(), QString::fromLatin1(f.qtFamily)) << "the printer font is not installed";
    const double mmPerPixel = 25.4 / 72 / kPixelsPerPoint;
    for (const char* text : texts) {
      SCOPED_TRACE(std::string(f.qtFamily) + ": " + text);
      const double qtWidth = metrics.horizontalAdvance(QString::fromUtf8(text)) * mmPerPixel;
      const double coreWidth = TextWidthMm(f.font, text);
      EXPECT_GE(coreWidth + 0.05, qtWidth);
      EXPECT_LE(coreWidth, qtWidth * 1.05 + 0.5) << "so loose that columns move for nothing";
    }
    EXPECT_GE(TextHeightMm(f.font) + 0.05, metrics.height() * mmPerPixel);
  }
}

}  // namespace
}  // namespace ohmara
