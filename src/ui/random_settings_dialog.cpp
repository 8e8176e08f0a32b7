#include "ui/random_settings_dialog.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "model/number_text.h"
#include "ui/main_window.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

QPushButton* PlaceButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon, const QString& text,
                         QRect bounds) {
  auto* button = new QPushButton(parent->style()->standardIcon(icon), text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(bounds);
  return button;
}

}  // namespace

TRandSetForm::TRandSetForm(TRGZForm& main) : main_(main) {
  setObjectName(QStringLiteral("RandSetForm"));
  setWindowTitle(QStringLiteral("Random settings"));
  setFont(InterfaceFont(11, true));
  FixClientSize(this, 243, 125);

  Panel1 = PlacePanel(this, "Panel1", {8, 8, 225, 81});
  Label1 = PlaceLabel(Panel1, "Label1", QStringLiteral("Мимимальное количество контуров"), 8, 8, 137, 33);
  Label1->setWordWrap(true);
  Edit1 = PlaceEdit(Panel1, "Edit1", QStringLiteral("4"), 152, 16, 25);
  Label2 = PlaceLabel(Panel1, "Label2", QStringLiteral("Требуемое количество точек"), 8, 40, 137, 33);
  Label2->setWordWrap(true);
  Edit2 = PlaceEdit(Panel1, "Edit2", QStringLiteral("7"), 152, 48, 25);

  BitBtn1 = PlaceButton(this, "BitBtn1", QStyle::SP_DialogOkButton, QStringLiteral("OK"), {8, 96, 75, 25});
  BitBtn1->setDefault(true);
  BitBtn2 = PlaceButton(this, "BitBtn2", QStyle::SP_DialogCancelButton, QStringLiteral("Отмена"), {88, 96, 81, 25});
  connect(BitBtn1, &QPushButton::clicked, this, [this] { main_.Guarded([this] { BitBtn1Click(); }); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { main_.Guarded([this] { BitBtn2Click(); }); });

  CentreOnDesktop(this);
  FormCreate();
}

void TRandSetForm::FormCreate() { Accepted = 0; }

void TRandSetForm::BitBtn1Click() {
  // A text that is not an integer throws here, before anything changes, and
  // the dialog stays open for a correction.
  const int loops = StrToInt(Edit1->text().toStdString());
  const int points = StrToInt(Edit2->text().toStdString());
  main_.RandLoops = loops;
  main_.RandPoints = points;
  Accepted = 1;
  accept();
}

void TRandSetForm::BitBtn2Click() { reject(); }

void TRandSetForm::reject() {
  Accepted = 0;
  QDialog::reject();
}

}  // namespace ohmara
