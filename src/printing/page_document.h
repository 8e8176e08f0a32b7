#pragma once
// A print job laid out in millimetres before anything reaches the printer.
// The solution pages print several columns side by side, each of which may
// run onto the next page on its own; keeping every page open until the end
// lets a column continue on a page that another column has already begun.

#include <string>
#include <variant>
#include <vector>

#include "printing/page_canvas.h"

namespace ohmara {

// Where the next output goes: a page (0-based) and a height on it in mm.
struct Cursor {
  int page = 0;
  int y = 0;
  bool operator==(const Cursor&) const = default;
  auto operator<=>(const Cursor&) const = default;
};

// Bottom-of-page rule: output whose bottom would pass the bottom margin
// (kPageBottomMm on an upright sheet) continues on the next page at
// kContinuationTopMm, below that page's number. The margin mirrors the page
// number's 5 mm at the top; anything that ends above it is placed exactly
// where it was asked to go.
constexpr int kBottomMarginMm = 5;
constexpr int kPageBottomMm = 297 - kBottomMarginMm;
constexpr int kContinuationTopMm = 10;

struct PrintedText {
  MmPoint at;
  Font font;
  std::string text;
};

struct PrintedLine {
  MmPoint from;
  MmPoint to;
};

// The page number "- n из N -" at the middle of the page, 5 mm from the top;
// N is known only when the whole report is laid out.
struct PrintedPageNumber {
  int number = 0;
};

MmPoint PageNumberAt(const PaperSize& sheet);
const Font& PageNumberFont();
std::string PageNumberText(int number, int pageCount);

// A drawing (the editor's sheet, a phasor diagram), `width` x `height` mm,
// centred across the page with its top at `top`.
struct PrintedFigure {
  int top = 0;
  int width = 0;
  int height = 0;
  VectorFigure figure;
};

using PageItem = std::variant<PrintedText, PrintedLine, PrintedPageNumber, PrintedFigure>;

// The device-pixel rectangle of a drawing: centred across the page, its
// corners each truncated on their own.
PixelRect FigureRect(const PageScale& scale, const PrintedFigure& figure);

class PageDocument {
 public:
  explicit PageDocument(const PaperSize& paper = kPortraitPaper) : paper_(paper) {}

  const PaperSize& Paper() const { return paper_; }
  // How far down a page output may reach.
  int Bottom() const { return paper_.height - kBottomMarginMm; }
  // True when something `height` mm tall fits at `y` above the bottom margin.
  bool Fits(int y, int height) const { return y + height <= Bottom(); }

  // Appends a page after every page there is and returns a cursor at `top`
  // on it. A numbered page gets its number first.
  Cursor StartPage(bool numbered, int top);
  // The page after `at`'s, numbered when it has to be begun, at the
  // continuation top.
  Cursor ContinueOnNextPage(const Cursor& at);

  void Add(int page, PageItem item);
  void AddMessage(const std::string& text) { messages_.push_back(text); }

  int PageCount() const { return static_cast<int>(pages_.size()); }
  const std::vector<PageItem>& Page(int page) const { return pages_.at(page); }
  const std::vector<std::string>& Messages() const { return messages_; }

  // Hands the messages to the canvas, then draws page after page.
  void Render(const PageScale& scale, PageCanvas& canvas) const;

 private:
  PaperSize paper_;
  std::vector<std::vector<PageItem>> pages_;
  std::vector<std::string> messages_;
};

}  // namespace ohmara
