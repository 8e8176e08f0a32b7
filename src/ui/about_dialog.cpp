#include "ui/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "ui/widget_style.h"

namespace ohmara {

TAboutPrForm::TAboutPrForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutPrForm"));
  setWindowTitle(QStringLiteral("О программе"));
  setFont(InterfaceFont(11));
  FixClientSize(this, 281, 137);

  Credit = new QLabel(QStringLiteral("Ohmara"), this);
  Credit->setObjectName(QStringLiteral("Credit"));
  Credit->setFont(SerifFont(16, true));
  Credit->setStyleSheet(QStringLiteral("color: blue;"));
  Credit->setAlignment(Qt::AlignCenter);
  Credit->setGeometry(8, 16, 265, 24);

  Year = new QLabel(QStringLiteral("2026"), this);
  Year->setObjectName(QStringLiteral("Year"));
  Year->setAlignment(Qt::AlignCenter);
  Year->setGeometry(8, 48, 265, 20);

  Okk = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  Okk->setObjectName(QStringLiteral("Okk"));
  Okk->setDefault(true);
  Okk->setGeometry(103, 96, 75, 25);
  connect(Okk, &QPushButton::clicked, this, &QDialog::accept);
  CentreOnDesktop(this);
}

}  // namespace ohmara
