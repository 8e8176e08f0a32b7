#include "printing/page_document.h"

#include <utility>

namespace ohmara {

namespace {

constexpr int kPageNumberTopMm = 5;

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
// Clang 14 does not deduce an aggregate's template arguments by itself.
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace

MmPoint PageNumberAt(const PaperSize& sheet) { return {sheet.width / 2, kPageNumberTopMm}; }

const Font& PageNumberFont() {
  static const Font font{"Arial", 7};
  return font;
}

std::string PageNumberText(int number, int pageCount) {
  return "- " + std::to_string(number) + " из " + std::to_string(pageCount) + " -";
}

PixelRect FigureRect(const PageScale& scale, const PrintedFigure& sheet) {
  const int across = scale.Paper().width;
  return {scale.X((across - sheet.width) * 0.5), scale.Y(sheet.top), scale.X((sheet.width + across) * 0.5),
          scale.Y(sheet.top + sheet.height)};
}

Cursor PageDocument::StartPage(bool numbered, int top) {
  pages_.emplace_back();
  const int page = PageCount() - 1;
  if (numbered) pages_.back().emplace_back(PrintedPageNumber{page + 1});
  return {page, top};
}

Cursor PageDocument::ContinueOnNextPage(const Cursor& at) {
  if (at.page + 1 < PageCount()) return {at.page + 1, kContinuationTopMm};
  return StartPage(true, kContinuationTopMm);
}

void PageDocument::Add(int page, PageItem item) { pages_.at(page).push_back(std::move(item)); }

void PageDocument::Render(const PageScale& scale, PageCanvas& canvas) const {
  for (const std::string& message : messages_) canvas.Message(message);
  for (int page = 0; page < PageCount(); ++page) {
    if (page > 0) canvas.NewPage();
    for (const PageItem& item : pages_[page]) {
      std::visit(Overloaded{
                     [&](const PrintedText& t) { canvas.Text(scale.ToDevice(t.at), t.font, t.text); },
                     [&](const PrintedLine& l) { canvas.Line(scale.ToDevice(l.from), scale.ToDevice(l.to)); },
                     [&](const PrintedPageNumber& n) {
                       canvas.Text({scale.PageWidth() / 2, scale.Y(kPageNumberTopMm)}, PageNumberFont(),
                                   PageNumberText(n.number, PageCount()));
                     },
                     [&](const PrintedFigure& f) { canvas.Figure(FigureRect(scale, f), f.figure); },
                 },
                 item);
    }
  }
}

}  // namespace ohmara
