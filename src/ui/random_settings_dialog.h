#pragma once
// "Random settings": the minimal number of loops and the number of points of
// the next random circuit.

#include <QDialog>
#include <optional>

#include "ui/command_guard.h"

class QLineEdit;

namespace ohmara {

struct RandomSettings {
  int loops = 4;
  int points = 7;
};

class RandomSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit RandomSettingsDialog(CommandGuard guard);

  // The numbers of the last closing by "OK"; nothing after "Отмена" or any
  // other way of closing.
  std::optional<RandomSettings> Chosen() const { return chosen_; }

  // Closing by Esc or the close box counts as "Отмена"; an earlier "OK"
  // must not make the next closing generate a circuit.
  void reject() override;

 private:
  void Confirm();

  CommandGuard guard_;
  std::optional<RandomSettings> chosen_;
  QLineEdit* loopsEdit_ = nullptr;
  QLineEdit* pointsEdit_ = nullptr;
};

}  // namespace ohmara
