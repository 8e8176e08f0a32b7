#include "printing/text_metrics.h"

#include <array>
#include <cstdint>
#include <utility>

namespace ohmara {

namespace {

constexpr double kMmPerPoint = 25.4 / 72;
// Ascent and descent of both families are just over 1.1 em.
constexpr double kLineHeightEm = 1.15;
constexpr int kUnknownWidth = 1000;
constexpr char32_t kReplacement = 0xfffd;

// Advance widths in thousandths of an em: printable ASCII from the space,
// then А .. я.
struct WidthTable {
  std::array<int, 95> ascii;
  std::array<int, 64> cyrillic;
  std::array<std::pair<char32_t, int>, 17> other;
};

constexpr WidthTable kSans{
    {278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
     556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
     611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
     667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
     222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584},
    {667, 656, 667, 542, 677, 667, 923, 604, 719,  719, 583, 656, 833, 722, 778, 719, 667, 722, 611, 635, 760, 667,
     740, 666, 916, 938, 792, 885, 656, 719, 1010, 722, 556, 573, 531, 365, 583, 556, 669, 458, 559, 559, 438, 583,
     688, 552, 556, 542, 556, 500, 458, 500, 823,  500, 573, 521, 802, 823, 625, 719, 521, 510, 750, 542},
    {{{0x401, 667},
      {0x451, 556},
      {0x2220, 896},
      {0xb0, 400},
      {0xb7, 333},
      {0x3c6, 648},
      {0x3c9, 781},
      {0x3c8, 713},
      {0x3c0, 690},
      {0x394, 668},
      {0x2212, 584},
      {0x2026, 1000},
      {0xab, 556},
      {0xbb, 556},
      {0x2013, 556},
      {0x2014, 1000},
      {0x2116, 1073}}}};

constexpr WidthTable kSerif{
    {250, 333, 408, 500, 500, 833, 778, 180, 333, 333, 500, 564, 250, 333, 250, 278, 500, 500, 500,
     500, 500, 500, 500, 500, 500, 500, 278, 278, 564, 564, 564, 444, 921, 722, 667, 667, 722, 611,
     556, 722, 722, 333, 389, 722, 611, 889, 722, 722, 556, 722, 667, 556, 611, 722, 722, 944, 722,
     722, 611, 333, 278, 333, 469, 500, 333, 444, 500, 444, 500, 444, 333, 500, 500, 278, 278, 500,
     278, 778, 500, 500, 500, 500, 333, 389, 278, 500, 500, 722, 500, 500, 444, 480, 200, 480, 541},
    {722, 574, 667,  578,  682, 611, 896, 501, 722,  722, 667, 678, 889, 722, 722, 722, 556, 667, 611, 708, 790, 722,
     722, 650, 1009, 1009, 706, 872, 574, 660, 1028, 667, 444, 509, 472, 410, 509, 444, 691, 395, 535, 535, 486, 499,
     633, 535, 500,  535,  500, 444, 437, 500, 648,  500, 535, 503, 770, 770, 517, 672, 456, 429, 747, 460},
    {{{0x401, 611},
      {0x451, 444},
      {0x2220, 838},
      {0xb0, 400},
      {0xb7, 333},
      {0x3c6, 577},
      {0x3c9, 658},
      {0x3c8, 626},
      {0x3c0, 505},
      {0x394, 643},
      {0x2212, 564},
      {0x2026, 1000},
      {0xab, 500},
      {0xbb, 500},
      {0x2013, 500},
      {0x2014, 1000},
      {0x2116, 954}}}};

const WidthTable& TableOf(const Font& font) { return font.family == "Arial" ? kSans : kSerif; }

int WidthOf(const WidthTable& table, char32_t c) {
  if (c >= 0x20 && c < 0x7f) return table.ascii[c - 0x20];
  if (c >= 0x410 && c < 0x450) return table.cyrillic[c - 0x410];
  for (const auto& [code, width] : table.other)
    if (code == c) return width;
  return kUnknownWidth;
}

// The next code point of `text` from `i`, which it moves past. A malformed
// byte counts as a character of its own.
char32_t NextCodePoint(const std::string& text, size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  int extra = lead >= 0xf0 ? 3 : lead >= 0xe0 ? 2 : lead >= 0xc0 ? 1 : 0;
  char32_t c = extra == 0 ? lead : lead & (0x3f >> extra);
  for (; extra > 0 && i < text.size(); --extra, ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xc0) != 0x80) return kReplacement;
    c = (c << 6) | (next & 0x3f);
  }
  return c;
}

double EmMm(const Font& font) { return font.points * kMmPerPoint; }

}  // namespace

double TextWidthMm(const Font& font, const std::string& text) {
  const WidthTable& table = TableOf(font);
  int thousandths = 0;
  for (size_t i = 0; i < text.size();) thousandths += WidthOf(table, NextCodePoint(text, i));
  return thousandths * EmMm(font) / 1000;
}

double TextHeightMm(const Font& font) { return kLineHeightEm * EmMm(font); }

FigureTextSize SansTextSize(const std::string& text, double pixelSize, bool bold) {
  // At 72 points an em is an inch.
  static const Font kInchEm{"Arial", 72};
  const double widthEm = TextWidthMm(kInchEm, text) / EmMm(kInchEm) * (bold ? 1.05 : 1.0);
  return {widthEm * pixelSize, kLineHeightEm * pixelSize};
}

}  // namespace ohmara
