#pragma once
// The report's page canvas over a QPrinter: a real printer, a PDF file or
// the pages of the print preview. The painter starts with the first thing
// drawn, so a report the core refuses never begins a print job.

#include <QPainter>
#include <QString>
#include <functional>

#include "printing/page_canvas.h"

class QPrinter;

namespace ohmara {

class PrinterCanvas : public PageCanvas {
 public:
  using Tell = std::function<void(const QString&)>;

  // `tell` shows a message to the user.
  PrinterCanvas(QPrinter& printer, Tell tell);

  // The printer's page in device pixels: the paper with setFullPage(true),
  // otherwise the printable area inside its margins.
  static PageSize PageOf(const QPrinter& printer);

  void Text(const PixelPoint& topLeft, const Font& font, const std::string& text) override;
  void Line(const PixelPoint& from, const PixelPoint& to) override;
  void Figure(const PixelRect& target, const VectorFigure& figure) override;
  void NewPage() override;
  void Message(const std::string& text) override;

 private:
  // The painter, begun on the printer on first use; throws when the printer
  // cannot start.
  QPainter& Painter();

  QPrinter& printer_;
  Tell tell_;
  QPainter painter_;
};

}  // namespace ohmara
