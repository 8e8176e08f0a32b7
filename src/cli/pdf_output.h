#pragma once
// Where the command line's PDFs are drawn. The core lays the pages out; only
// the program itself knows a painter, and it starts one only for a command
// that writes a PDF, so the other commands stay free of any window system.

#include <filesystem>
#include <functional>

#include "printing/page_canvas.h"
#include "printing/page_document.h"

namespace ohmara {

class PdfOutput {
 public:
  using Draw = std::function<void(const PageSize& page, PageCanvas& canvas)>;
  virtual ~PdfOutput() = default;
  // An A4 PDF at `path` holding what `draw` puts on the canvas; false when
  // the file could not be written.
  virtual bool Write(const std::filesystem::path& path, const Draw& draw) = 0;
};

// `document` drawn as laid out.
bool WriteDocumentPdf(PdfOutput& pdf, const std::filesystem::path& path, const PageDocument& document);

}  // namespace ohmara
