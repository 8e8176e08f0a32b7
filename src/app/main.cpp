// Ohmara: starts the windows and runs the event loop.
#include <QApplication>

#include "ui/prompts.h"
#include "ui/startup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ohmara::QtPrompts prompts;
  const auto ohmara = ohmara::StartOhmara(prompts);
  return app.exec();
}
