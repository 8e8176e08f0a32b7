#pragma once
// "О программе": who made the program and when.

#include <QDialog>

namespace ohmara {

class AboutDialog : public QDialog {
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace ohmara
