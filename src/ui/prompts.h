#pragma once
// Every modal question the program asks goes through Prompts: message boxes,
// file dialogs, the printer dialog, the print preview and the program's own
// modal dialogs. The
// application passes QtPrompts; the window tests pass a scripted one, so
// that nothing blocks in exec().

#include <QPoint>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace ohmara {

// A file name a dialog returned, as a path the core can open.
std::filesystem::path ChosenFilePath(const QString& fileName);

class Prompts {
 public:
  virtual ~Prompts() = default;

  // An informational box with one OK button; `topLeft` places it on screen.
  virtual void Inform(QWidget* parent, const QString& title, const QString& text,
                      std::optional<QPoint> topLeft = std::nullopt) = 0;
  // The error box of a command that failed.
  virtual void Critical(QWidget* parent, const QString& title, const QString& text) = 0;
  // A file to open or to save, starting in `directory`; empty when cancelled.
  virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& directory) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& directory) = 0;
  // A PDF file to write, starting in `directory`; empty when cancelled.
  virtual QString SavePdfFileName(QWidget* parent, const QString& title, const QString& directory) = 0;
  // An existing folder, starting in `directory`; empty when cancelled.
  virtual QString ExistingFolder(QWidget* parent, const QString& title, const QString& directory) = 0;
  // The printer-setup dialog; false when cancelled.
  virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;
  // The print preview of what `paint` draws on `printer`; the preview calls
  // it whenever the page settings change, and its own print button prints.
  using PaintPages = std::function<void(QPrinter&)>;
  virtual void PreviewPrint(QWidget* parent, QPrinter& printer, const PaintPages& paint) = 0;
  // A question with its own buttons, the first the default: the index of
  // the button pressed, -1 when the box was closed without one.
  virtual int Choose(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons) = 0;
  // Shows one of the program's modal dialogs and returns its result code.
  virtual int RunModal(QDialog& dialog) = 0;
};

class QtPrompts : public Prompts {
 public:
  void Inform(QWidget* parent, const QString& title, const QString& text,
              std::optional<QPoint> topLeft = std::nullopt) override;
  void Critical(QWidget* parent, const QString& title, const QString& text) override;
  QString OpenFileName(QWidget* parent, const QString& title, const QString& directory) override;
  QString SaveFileName(QWidget* parent, const QString& title, const QString& directory) override;
  QString SavePdfFileName(QWidget* parent, const QString& title, const QString& directory) override;
  QString ExistingFolder(QWidget* parent, const QString& title, const QString& directory) override;
  bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
  void PreviewPrint(QWidget* parent, QPrinter& printer, const PaintPages& paint) override;
  int Choose(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons) override;
  int RunModal(QDialog& dialog) override;
};

}  // namespace ohmara
