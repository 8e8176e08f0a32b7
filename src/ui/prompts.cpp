#include "ui/prompts.h"

#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <algorithm>
#include <vector>

namespace ohmara {

std::filesystem::path ChosenFilePath(const QString& fileName) {
  return std::filesystem::path(QFile::encodeName(fileName).toStdString());
}

void QtPrompts::Inform(QWidget* parent, const QString& title, const QString& text, std::optional<QPoint> topLeft) {
  QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
  if (topLeft) {
    box.adjustSize();
    box.move(*topLeft);
  }
  box.exec();
}

void QtPrompts::Critical(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox::critical(parent, title, text);
}

QString QtPrompts::OpenFileName(QWidget* parent, const QString& title, const QString& directory) {
  return QFileDialog::getOpenFileName(parent, title, directory);
}

QString QtPrompts::SaveFileName(QWidget* parent, const QString& title, const QString& directory) {
  return QFileDialog::getSaveFileName(parent, title, directory);
}

QString QtPrompts::ExistingFolder(QWidget* parent, const QString& title, const QString& directory) {
  return QFileDialog::getExistingDirectory(parent, title, directory);
}

QString QtPrompts::SavePdfFileName(QWidget* parent, const QString& title, const QString& directory) {
  QFileDialog dialog(parent, title, directory, QStringLiteral("PDF (*.pdf)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

bool QtPrompts::SetUpPrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

void QtPrompts::PreviewPrint(QWidget* parent, QPrinter& printer, const PaintPages& paint) {
  QPrintPreviewDialog dialog(&printer, parent);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&paint](QPrinter* pages) { paint(*pages); });
  dialog.exec();
}

int QtPrompts::Choose(QWidget* parent, const QString& title, const QString& text, const QStringList& buttons) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
  std::vector<QAbstractButton*> made;
  for (const QString& caption : buttons) made.push_back(box.addButton(caption, QMessageBox::AcceptRole));
  if (!made.empty()) {
    box.setDefaultButton(static_cast<QPushButton*>(made.front()));
    box.setEscapeButton(made.back());
  }
  box.exec();
  const auto chosen = std::find(made.begin(), made.end(), box.clickedButton());
  return chosen == made.end() ? -1 : static_cast<int>(chosen - made.begin());
}

int QtPrompts::RunModal(QDialog& dialog) { return dialog.exec(); }

}  // namespace ohmara
