#pragma once
// Prompts whose answers a test writes beforehand: nothing blocks, and every
// message shown is recorded.

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/prompts.h"

namespace ohmara::testing {

class ScriptedPrompts : public Prompts {
 public:
  struct Message {
    QString title;
    QString text;
    std::optional<QPoint> topLeft;
    bool critical = false;
  };

  void Inform(QWidget*, const QString& title, const QString& text, std::optional<QPoint> topLeft) override {
    messages.push_back({title, text, topLeft, false});
  }
  void Critical(QWidget*, const QString& title, const QString& text) override {
    messages.push_back({title, text, std::nullopt, true});
  }
  QString OpenFileName(QWidget*, const QString&, const QString& directory) override {
    lastDirectory = directory;
    return Take(openNames);
  }
  QString SaveFileName(QWidget*, const QString&, const QString& directory) override {
    lastDirectory = directory;
    return Take(saveNames);
  }
  QString SavePdfFileName(QWidget*, const QString&, const QString& directory) override {
    lastDirectory = directory;
    return Take(pdfNames);
  }
  QString ExistingFolder(QWidget*, const QString&, const QString& directory) override {
    lastDirectory = directory;
    return Take(folderNames);
  }
  bool SetUpPrinter(QWidget*, QPrinter& printer) override {
    ++printerDialogs;
    return onPrinter ? onPrinter(printer) : false;
  }
  // The preview shows nothing unless the test says what to do with its pages.
  void PreviewPrint(QWidget*, QPrinter& printer, const PaintPages& paint) override {
    ++previews;
    if (onPreview) onPreview(printer, paint);
  }
  // Records the question and answers with the next scripted choice, or
  // with the second button when none is left.
  int Choose(QWidget*, const QString&, const QString& text, const QStringList&) override {
    questions.push_back(text);
    if (choices.empty()) return 1;
    const int choice = choices.front();
    choices.pop_front();
    return choice;
  }
  // Records the dialog and lets the test act in it (fill edits, click OK);
  // the dialog's result code is returned as exec() would.
  int RunModal(QDialog& dialog) override {
    modalShown.push_back(dialog.objectName());
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (onModal) onModal(dialog);
    const int result = dialog.result();
    dialog.hide();
    return result;
  }

  // Texts of the messages shown so far.
  std::vector<QString> Texts() const {
    std::vector<QString> texts;
    for (const Message& m : messages) texts.push_back(m.text);
    return texts;
  }

  std::vector<Message> messages;
  std::deque<QString> openNames;
  std::deque<QString> saveNames;
  std::deque<QString> pdfNames;
  std::deque<QString> folderNames;
  QString lastDirectory;
  std::vector<QString> modalShown;
  std::vector<QString> questions;
  std::deque<int> choices;
  std::function<void(QDialog&)> onModal;
  std::function<bool(QPrinter&)> onPrinter;
  std::function<void(QPrinter&, const PaintPages&)> onPreview;
  int printerDialogs = 0;
  int previews = 0;

 private:
  static QString Take(std::deque<QString>& answers) {
    if (answers.empty()) return QString();
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace ohmara::testing
