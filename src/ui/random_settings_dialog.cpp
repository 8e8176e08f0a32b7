#include "ui/random_settings_dialog.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "model/number_text.h"
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

RandomSettingsDialog::RandomSettingsDialog(CommandGuard guard) : guard_(std::move(guard)) {
  setObjectName(QStringLiteral("RandSetForm"));
  setWindowTitle(QStringLiteral("Random settings"));
  setFont(InterfaceFont(11, true));
  FixClientSize(this, 243, 125);

  QFrame* panel = PlacePanel(this, "Panel1", {8, 8, 225, 81});
  PlaceLabel(panel, "Label1", QStringLiteral("Мимимальное количество контуров"), 8, 8, 137, 33)->setWordWrap(true);
  loopsEdit_ = PlaceEdit(panel, "Edit1", QStringLiteral("4"), 152, 16, 25);
  PlaceLabel(panel, "Label2", QStringLiteral("Требуемое количество точек"), 8, 40, 137, 33)->setWordWrap(true);
  pointsEdit_ = PlaceEdit(panel, "Edit2", QStringLiteral("7"), 152, 48, 25);

  QPushButton* ok = PlaceButton(this, "BitBtn1", QStyle::SP_DialogOkButton, QStringLiteral("OK"), {8, 96, 75, 25});
  ok->setDefault(true);
  QPushButton* cancel =
      PlaceButton(this, "BitBtn2", QStyle::SP_DialogCancelButton, QStringLiteral("Отмена"), {88, 96, 81, 25});
  connect(ok, &QPushButton::clicked, this, [this] { guard_([this] { Confirm(); }); });
  connect(cancel, &QPushButton::clicked, this, [this] { guard_([this] { reject(); }); });

  CentreOnDesktop(this);
}

void RandomSettingsDialog::Confirm() {
  // A text that is not an integer throws here, before anything changes, and
  // the dialog stays open for a correction.
  const int loops = FieldToInt(loopsEdit_->text().toStdString(), "Количество контуров");
  const int points = FieldToInt(pointsEdit_->text().toStdString(), "Количество точек");
  chosen_ = RandomSettings{loops, points};
  accept();
}

void RandomSettingsDialog::reject() {
  chosen_.reset();
  QDialog::reject();
}

}  // namespace ohmara
