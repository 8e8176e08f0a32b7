#pragma once
// The printer page as the report sees it: a canvas addressed in device pixels
// and the scale that turns the report's whole millimetres into those pixels.
// The report stretches a 210 x 297 mm sheet over the whole printable area, so
// the scale comes from the page's pixel size alone.

#include <string>

#include "printing/vector_figure.h"

namespace ohmara {

// A font by family name and size in points ("Times New Roman", "Arial").
struct Font {
  std::string family;
  int points = 0;
  bool operator==(const Font&) const = default;
};

struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const PixelRect&) const = default;
};

// The printer's page in device pixels.
struct PageSize {
  int width = 0;
  int height = 0;
};

// A point on the sheet in whole millimetres from its top-left corner.
struct MmPoint {
  int x = 0;
  int y = 0;
  bool operator==(const MmPoint&) const = default;
};

// A sheet's size in millimetres: A4 upright or on its side.
struct PaperSize {
  int width = 210;
  int height = 297;
  bool operator==(const PaperSize&) const = default;
};
inline constexpr PaperSize kPortraitPaper{210, 297};
inline constexpr PaperSize kLandscapePaper{297, 210};

// The sheet a page of the printer stands for: on its side when the page is
// wider than tall.
PaperSize PaperOf(const PageSize& page);

// Pixels per millimetre across and down, fixed for one print job.
class PageScale {
 public:
  explicit PageScale(const PageSize& page);

  double DotsPerMmX() const { return dotsPerMmX_; }
  double DotsPerMmY() const { return dotsPerMmY_; }
  int PageWidth() const { return pageWidth_; }
  const PaperSize& Paper() const { return paper_; }

  // Truncated towards zero, as every position of the report is.
  int X(double mm) const;
  int Y(double mm) const;
  PixelPoint ToDevice(const MmPoint& point) const;

 private:
  int pageWidth_;
  PaperSize paper_;
  double dotsPerMmX_;
  double dotsPerMmY_;
};

// What the report draws on. Every position is already in device pixels; the
// first page is current when drawing starts.
class PageCanvas {
 public:
  virtual ~PageCanvas() = default;
  // `text` with its top-left corner (not its baseline) at `topLeft`.
  virtual void Text(const PixelPoint& topLeft, const Font& font, const std::string& text) = 0;
  virtual void Line(const PixelPoint& from, const PixelPoint& to) = 0;
  // `figure` scaled into `target`, its proportions kept, drawn as paths and texts.
  virtual void Figure(const PixelRect& target, const VectorFigure& figure) = 0;
  virtual void NewPage() = 0;
  // Something the user must be told;
  // printing goes on after it.
  virtual void Message(const std::string& text) = 0;
};

}  // namespace ohmara
