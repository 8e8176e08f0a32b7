#pragma once
// "Random settings": the minimal number of loops and the number of points of
// the next random circuit.

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ohmara {

class TRGZForm;

class TRandSetForm : public QDialog {
  Q_OBJECT

 public:
  explicit TRandSetForm(TRGZForm& main);

  int Accepted = 0;  // 1 after "OK", 0 after "Отмена" or any other way of closing

  QFrame* Panel1 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;  // loops
  QLabel* Label2 = nullptr;
  QLineEdit* Edit2 = nullptr;  // points
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Отмена

  void BitBtn1Click();
  void BitBtn2Click();

  // Closing by Esc or the close box counts as "Отмена"; an earlier "OK"
  // must not make the next closing generate a circuit.
  void reject() override;

 private:
  void FormCreate();

  TRGZForm& main_;
};

}  // namespace ohmara
