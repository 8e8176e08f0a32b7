#pragma once
// "О программе": who made the program and when.

#include <QDialog>

class QLabel;
class QPushButton;

namespace ohmara {

class TAboutPrForm : public QDialog {
 public:
  explicit TAboutPrForm(QWidget* parent = nullptr);

  QLabel* Credit = nullptr;
  QLabel* Year = nullptr;
  QPushButton* Okk = nullptr;
};

}  // namespace ohmara
