#include "printing/variant_cards.h"

#include "analysis/circuit_session.h"
#include "printing/sheet_figure.h"
#include "printing/table_layout.h"

namespace ohmara {

namespace {

constexpr int kCardLeftMm = 15;
constexpr int kCardTopMm = 10;
constexpr int kCardFrameMm = 138;  // the height a card may take, its table included
constexpr int kDashMm = 4;
constexpr int kCardDrawingMinMm = 40;  // below this a drawing is not worth its place
constexpr int kCardDrawingMaxWidthMm = 180;
constexpr int kCardGapMm = 3;  // between a card's drawing and the cut line

void PrintCutLine(PageDocument& document, int page) {
  for (int x = 0; x < 210; x += 2 * kDashMm)
    document.Add(page, PrintedLine{{x, kCutLineMm}, {x + kDashMm, kCutLineMm}});
}

// Title, the title line, frequency and zero node, the task, then the table
// and room for its drawing.
int CardHeight(const Variant& variant, const std::string& titleLine) {
  return 24 + (titleLine.empty() ? 0 : 5) + kTableRowHeightMm * (static_cast<int>(variant.table.size()) + 1) +
         kCardDrawingMinMm;
}

// The card's texts and table, then its drawing down to `bottom`.
void PrintCard(PageDocument& document, Cursor& at, const Variant& variant, const std::string& titleLine, int bottom) {
  PrintLine(document, at, kCardLeftMm, 14, 8, "Вариант " + std::to_string(variant.number));
  if (!titleLine.empty()) PrintLine(document, at, kCardLeftMm, 10, 5, titleLine);
  PrintLine(document, at, kCardLeftMm, 10, 5,
            CardFrequencyText(variant.frequency) + ".  " + ZeroNodeText(variant) + ".");
  PrintLine(document, at, kCardLeftMm, 10, 8, std::string(kVariantsTaskText) + ".");
  PrintTable(document, at, PrintedTable(variant.table), kCardLeftMm);
  const VectorFigure drawing = PrintedTableDrawing(variant.table);
  if (drawing.width <= 0 || bottom - at.y < kCardDrawingMinMm) return;
  PrintedFigure placed = FitFigure(at.y, bottom, kCardDrawingMaxWidthMm, SizeOf(drawing));
  placed.figure = drawing;
  document.Add(at.page, std::move(placed));
}

}  // namespace

std::string CardTitleLine(const TitleBlock& title) {
  std::string line;
  if (!title.group.empty()) line = "Группа: " + title.group + ".";
  if (!title.date.empty()) line += (line.empty() ? "" : "  ") + ("Дата: " + title.date + ".");
  return line;
}

PageDocument ComposeVariantCards(const std::vector<Variant>& variants, const TitleBlock& title) {
  const std::string titleLine = CardTitleLine(title);
  PageDocument document;
  bool lowerHalfFree = false;
  Cursor at;
  for (const Variant& variant : variants) {
    // A card too tall for half a page takes a page of its own.
    const bool halfPage = CardHeight(variant, titleLine) <= kCardFrameMm;
    int bottom = halfPage ? kCutLineMm - kCardGapMm : kPageBottomMm;
    if (lowerHalfFree && halfPage) {
      at = {at.page, kCutLineMm + kCardTopMm};
      PrintCutLine(document, at.page);
      lowerHalfFree = false;
      bottom = kPageBottomMm;
    } else {
      at = document.StartPage(false, kCardTopMm);
      lowerHalfFree = halfPage;
    }
    PrintCard(document, at, variant, titleLine, bottom);
    if (!halfPage) lowerHalfFree = false;
  }
  return document;
}

namespace {

constexpr int kKeyColumnsMm[] = {8, 108};
constexpr int kKeyTopMm = 12;
constexpr int kKeyLineMm = 3;
constexpr int kKeyPoints = 7;

// Lines flowing down the left column, then the right one, then onto a new page.
class KeyColumns {
 public:
  explicit KeyColumns(PageDocument& document) : document_(document) { NewPage(); }

  void Add(const std::string& text) {
    if (!document_.Fits(at_.y, kKeyLineMm)) NextColumn();
    PrintLine(document_, at_, kKeyColumnsMm[column_], kKeyPoints, kKeyLineMm, text);
  }
  void Gap() {
    if (at_.y != kKeyTopMm) at_.y += kKeyLineMm;
  }

 private:
  void NewPage() {
    at_ = document_.StartPage(true, kKeyTopMm);
    column_ = 0;
  }
  void NextColumn() {
    if (++column_ < 2) at_.y = kKeyTopMm;
    else NewPage();
  }

  PageDocument& document_;
  Cursor at_;
  int column_ = 0;
};

}  // namespace

PageDocument ComposeAnswerKey(const std::vector<Variant>& variants) {
  PageDocument document;
  KeyColumns columns(document);
  for (const Variant& variant : variants) {
    columns.Gap();
    for (const std::string& line : AnswerKeyLines(variant)) columns.Add(line);
  }
  return document;
}

}  // namespace ohmara
