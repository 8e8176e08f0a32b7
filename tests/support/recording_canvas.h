#pragma once
// A page canvas that keeps every call, each with the page it was drawn on.
// Rendered on kMillimetrePage (or its landscape twin), one device pixel is
// one millimetre, so the recorded positions read as the report's own.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing/overlap_check.h"
#include "printing/page_canvas.h"
#include "printing/page_document.h"

namespace ohmara {

inline constexpr PageSize kMillimetrePage{210, 297};

struct RecordedText {
  int page = 0;
  PixelPoint at;
  Font font;
  std::string text;
};

struct RecordedLine {
  int page = 0;
  PixelPoint from;
  PixelPoint to;
  bool operator==(const RecordedLine&) const = default;
};

struct RecordedFigure {
  int page = 0;
  PixelRect rect;
  VectorFigure figure;
};

class RecordingCanvas : public PageCanvas {
 public:
  void Text(const PixelPoint& topLeft, const Font& font, const std::string& text) override {
    texts.push_back({page, topLeft, font, text});
  }
  void Line(const PixelPoint& from, const PixelPoint& to) override { lines.push_back({page, from, to}); }
  void Figure(const PixelRect& target, const VectorFigure& figure) override {
    figures.push_back({page, target, figure});
  }
  void NewPage() override { ++page; }
  void Message(const std::string& text) override { messages.push_back(text); }

  // The first text equal to `text` (on `page` unless it is -1), or nullptr.
  const RecordedText* Find(const std::string& text, int onPage = -1) const {
    for (const RecordedText& t : texts)
      if (t.text == text && (onPage < 0 || t.page == onPage)) return &t;
    return nullptr;
  }

  bool Untouched() const { return page == 0 && texts.empty() && lines.empty() && figures.empty() && messages.empty(); }

  int page = 0;
  std::vector<RecordedText> texts;
  std::vector<RecordedLine> lines;
  std::vector<RecordedFigure> figures;
  std::vector<std::string> messages;
};

// Also checks that nothing in the document is printed over anything else.
inline RecordingCanvas RenderedInMillimetres(const PageDocument& document) {
  EXPECT_EQ(FindOverlaps(document), std::vector<std::string>{});
  RecordingCanvas canvas;
  document.Render(PageScale(PageSize{document.Paper().width, document.Paper().height}), canvas);
  return canvas;
}

}  // namespace ohmara
