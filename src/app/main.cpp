// Ohmara: with no arguments starts the windows and runs the event loop; with
// arguments runs one command of the command line, before any Qt object
// exists, so that it needs no display.
#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "cli/run_command_line.h"
#include "ui/offscreen_pdf_output.h"
#include "ui/prompts.h"
#include "ui/startup.h"

int main(int argc, char** argv) {
  if (argc > 1) {
    ohmara::OffscreenPdfOutput pdf(std::cerr);
    return ohmara::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, &pdf);
  }
  QApplication app(argc, argv);
  ohmara::QtPrompts prompts;
  const auto ohmara = ohmara::StartOhmara(prompts);
  return app.exec();
}
