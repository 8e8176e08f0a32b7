#pragma once
// "Варианты для группы": the settings of a class set and the folder it goes
// to; "Составить" writes the branch-table files and both PDFs there, the
// same files as `ohmara variants`.

#include <QDialog>
#include <optional>

#include "ui/command_guard.h"
#include "variants/class_variants.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace ohmara {

class Prompts;

class VariantsDialog : public QDialog {
  Q_OBJECT

 public:
  VariantsDialog(Prompts& prompts, CommandGuard guard, QWidget* parent = nullptr);

  // The settings as the controls now show them; nothing (after telling the
  // teacher why) when the seed or the frequency cannot be read.
  std::optional<VariantSettings> ReadSettings();

 private:
  void ChooseFolder();
  void MakeSet();
  void ShowZeroNodes(int points);

  Prompts& prompts_;
  CommandGuard guard_;
  QSpinBox* countBox_ = nullptr;
  QSpinBox* firstBox_ = nullptr;
  QLineEdit* seedEdit_ = nullptr;
  QSpinBox* loopsBox_ = nullptr;
  QSpinBox* pointsBox_ = nullptr;
  QLineEdit* frequencyEdit_ = nullptr;
  QComboBox* unitBox_ = nullptr;
  QComboBox* zeroBox_ = nullptr;
  QCheckBox* methodBoxes_[3] = {};
  QLineEdit* folderEdit_ = nullptr;
};

}  // namespace ohmara
