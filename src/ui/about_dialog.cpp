#include "ui/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "ui/widget_style.h"

namespace ohmara {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutPrForm"));
  setWindowTitle(QStringLiteral("О программе"));
  setFont(InterfaceFont(11));
  FixClientSize(this, 281, 137);

  auto* credit = new QLabel(QStringLiteral("Ohmara"), this);
  credit->setObjectName(QStringLiteral("Credit"));
  credit->setFont(SerifFont(16, true));
  credit->setStyleSheet(QStringLiteral("color: blue;"));
  credit->setAlignment(Qt::AlignCenter);
  credit->setGeometry(8, 16, 265, 24);

  auto* year = new QLabel(QStringLiteral("2026"), this);
  year->setObjectName(QStringLiteral("Year"));
  year->setAlignment(Qt::AlignCenter);
  year->setGeometry(8, 48, 265, 20);

  auto* ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Okk"));
  ok->setDefault(true);
  ok->setGeometry(103, 96, 75, 25);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  CentreOnDesktop(this);
}

}  // namespace ohmara
