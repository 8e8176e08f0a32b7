#include "ui/startup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <QWidget>
#include <clocale>
#include <utility>

#include "model/install_paths.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

// Watches a window for its first paint event, then hands `call` to the event
// loop (so that it runs once the painting is done) and goes.
class FirstPaintWatch : public QObject {
 public:
  FirstPaintWatch(QWidget& window, std::function<void()> call) : QObject(&window), call_(std::move(call)) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, QCoreApplication::instance(), std::move(call_));
      deleteLater();
    }
    return false;
  }

 private:
  std::function<void()> call_;
};

// The interface is Russian, so the standard dialogs' buttons are too.
void InstallStandardDialogTranslation() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator);
  else delete translator;
}

}  // namespace

void CallAfterFirstPaint(QWidget& window, std::function<void()> call) { new FirstPaintWatch(window, std::move(call)); }

std::unique_ptr<OhmaraApplication> StartOhmara(Prompts& prompts) {
  // Qt takes the C locale from the environment; numbers on screen and in
  // files must always carry a decimal point.
  std::setlocale(LC_NUMERIC, "C");
  // One interface font for the whole program: menus and standard dialogs
  // match the windows, and no second sans font is loaded at start-up.
  QApplication::setFont(InterfaceFont(11));
  auto application = std::make_unique<OhmaraApplication>(
      prompts, ResultsFolderFor(QCoreApplication::applicationFilePath().toStdString(), CurrentUserFolders()));
  // No standard dialog can open before the main window is on screen.
  CallAfterFirstPaint(application->mainWindow(), InstallStandardDialogTranslation);
  application->mainWindow().show();
  return application;
}

}  // namespace ohmara
