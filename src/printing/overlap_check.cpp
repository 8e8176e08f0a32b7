#include "printing/overlap_check.h"

#include <algorithm>
#include <variant>

#include "printing/text_metrics.h"

namespace ohmara {

namespace {

struct Box {
  double left, top, right, bottom;
  std::string what;
};

// Open rectangles: touching edges is no collision.
bool Intersect(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Box TextBox(const MmPoint& at, const Font& font, const std::string& text) {
  return {static_cast<double>(at.x), static_cast<double>(at.y), at.x + TextWidthMm(font, text),
          at.y + TextHeightMm(font), "'" + text + "'"};
}

// A rule as a box of no thickness: it collides with a text it runs through.
Box RuleBox(const PrintedLine& line) {
  return {static_cast<double>(std::min(line.from.x, line.to.x)), static_cast<double>(std::min(line.from.y, line.to.y)),
          static_cast<double>(std::max(line.from.x, line.to.x)), static_cast<double>(std::max(line.from.y, line.to.y)),
          "rule"};
}

bool CrossesRule(const Box& text, const Box& rule) {
  const bool horizontal = rule.top == rule.bottom;
  if (horizontal)
    return text.top < rule.top && rule.top < text.bottom && text.left < rule.right && rule.left < text.right;
  return text.left < rule.left && rule.left < text.right && text.top < rule.bottom && rule.top < text.bottom;
}

struct PageBoxes {
  std::vector<Box> texts;
  std::vector<Box> rules;
  std::vector<Box> pictures;
};

PageBoxes BoxesOf(const std::vector<PageItem>& items, int pageCount, const PaperSize& paper) {
  PageBoxes boxes;
  for (const PageItem& item : items) {
    if (const auto* text = std::get_if<PrintedText>(&item)) {
      boxes.texts.push_back(TextBox(text->at, text->font, text->text));
    } else if (const auto* line = std::get_if<PrintedLine>(&item)) {
      boxes.rules.push_back(RuleBox(*line));
    } else if (const auto* number = std::get_if<PrintedPageNumber>(&item)) {
      boxes.texts.push_back(TextBox(PageNumberAt(paper), PageNumberFont(), PageNumberText(number->number, pageCount)));
    } else if (const auto* sheet = std::get_if<PrintedFigure>(&item)) {
      const double left = (paper.width - sheet->width) * 0.5;
      boxes.pictures.push_back({left, static_cast<double>(sheet->top), left + sheet->width,
                                static_cast<double>(sheet->top + sheet->height), "drawing"});
    }
  }
  return boxes;
}

}  // namespace

std::vector<std::string> FindOverlaps(const PageDocument& document) {
  std::vector<std::string> found;
  for (int page = 0; page < document.PageCount(); ++page) {
    const PageBoxes boxes = BoxesOf(document.Page(page), document.PageCount(), document.Paper());
    const auto report = [&](const Box& a, const Box& b) {
      found.push_back("page " + std::to_string(page + 1) + ": " + a.what + " and " + b.what);
    };
    for (size_t i = 0; i < boxes.texts.size(); ++i) {
      const Box& text = boxes.texts[i];
      if (text.right > document.Paper().width || text.bottom > document.Paper().height)
        found.push_back("page " + std::to_string(page + 1) + ": " + text.what + " runs off the sheet");
      for (size_t j = i + 1; j < boxes.texts.size(); ++j)
        if (Intersect(text, boxes.texts[j])) report(text, boxes.texts[j]);
      for (const Box& rule : boxes.rules)
        if (CrossesRule(text, rule)) report(text, rule);
      for (const Box& picture : boxes.pictures)
        if (Intersect(text, picture)) report(text, picture);
    }
  }
  return found;
}

}  // namespace ohmara
