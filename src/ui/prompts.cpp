#include "ui/prompts.h"

#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

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

bool QtPrompts::SetUpPrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

int QtPrompts::RunModal(QDialog& dialog) { return dialog.exec(); }

}  // namespace ohmara
