// Ohmara: starts the windows and runs the event loop.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <clocale>

#include "ui/application.h"
#include "ui/prompts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt takes the C locale from the environment; numbers on screen and in
  // files must always carry a decimal point.
  std::setlocale(LC_NUMERIC, "C");
  // The interface is Russian, so the standard dialogs' buttons are too.
  QTranslator standardDialogs;
  if (standardDialogs.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&standardDialogs);
  ohmara::QtPrompts prompts;
  ohmara::OhmaraApplication ohmara(prompts, ohmara::ResultsDirectory::BesideExecutable(
                                                QCoreApplication::applicationFilePath().toStdString())
                                                .Directory());
  ohmara.mainWindow().show();
  return app.exec();
}
