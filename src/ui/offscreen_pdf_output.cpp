#include "ui/offscreen_pdf_output.h"

#include <QPageSize>
#include <QPrinter>
#include <cstdio>
#include <system_error>

#include "ui/printer_canvas.h"

namespace ohmara {

namespace {

char kProgram[] = "ohmara";
char kPlatformSwitch[] = "-platform";
char kOffscreen[] = "offscreen";

// A script reads the command's own messages on standard error; Qt's notes
// about the environment (no runtime directory, no session bus) are not its
// business. Real faults still get through.
void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

OffscreenPdfOutput::~OffscreenPdfOutput() = default;

void OffscreenPdfOutput::StartApplication() {
  if (QCoreApplication::instance()) return;
  // The platform from the arguments outranks QT_QPA_PLATFORM, so a display
  // named in the environment is never touched either.
  qInstallMessageHandler(QuietHandler);
  argv_[0] = kProgram;
  argv_[1] = kPlatformSwitch;
  argv_[2] = kOffscreen;
  application_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

bool OffscreenPdfOutput::Write(const std::filesystem::path& path, const Draw& draw) {
  StartApplication();
  std::error_code error;
  std::filesystem::remove(path, error);
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path.string()));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    PrinterCanvas canvas(printer, [this](const QString& text) { err_ << text.toStdString() << "\n"; });
    try {
      draw(PrinterCanvas::PageOf(printer), canvas);
    } catch (const std::exception& problem) {
      err_ << problem.what() << "\n";
      return false;
    }
  }
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace ohmara
