#pragma once
// The command line's PDFs drawn by Qt with no display: the first PDF starts
// an application on the "offscreen" platform whatever the environment says,
// so a script on a machine without any X server can write them.

#include <QGuiApplication>
#include <memory>
#include <ostream>

#include "cli/pdf_output.h"

namespace ohmara {

class OffscreenPdfOutput : public PdfOutput {
 public:
  // Messages of the page layout go to `err`.
  explicit OffscreenPdfOutput(std::ostream& err) : err_(err) {}
  ~OffscreenPdfOutput() override;

  bool Write(const std::filesystem::path& path, const Draw& draw) override;

 private:
  void StartApplication();

  std::ostream& err_;
  int argc_ = 3;
  char* argv_[4] = {};
  std::unique_ptr<QGuiApplication> application_;
};

}  // namespace ohmara
