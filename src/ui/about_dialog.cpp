#include "ui/about_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "model/install_paths.h"
#include "ui/widget_style.h"

namespace ohmara {

AboutDialog::AboutDialog(const std::filesystem::path& resultsFolder, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutPrForm"));
  setWindowTitle(QStringLiteral("О программе"));
  setFont(InterfaceFont(11));
  FixClientSize(this, 281, 185);

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

  auto* version = new QLabel(QStringLiteral("Версия %1").arg(QString::fromLatin1(OhmaraVersion())), this);
  version->setObjectName(QStringLiteral("VersionLabel"));
  version->setAlignment(Qt::AlignCenter);
  version->setGeometry(8, 70, 265, 20);

  auto* resultsCaption = new QLabel(QStringLiteral("Папка результатов:"), this);
  resultsCaption->setAlignment(Qt::AlignCenter);
  resultsCaption->setGeometry(8, 96, 265, 18);
  // A read-only edit: a long path scrolls instead of being cut off, and can
  // be copied whole into a file manager.
  auto* results = new QLineEdit(QString::fromStdString(resultsFolder.string()), this);
  results->setObjectName(QStringLiteral("ResultsFolderEdit"));
  results->setReadOnly(true);
  results->setFrame(false);
  results->setStyleSheet(QStringLiteral("background: transparent;"));
  results->setToolTip(results->text());
  results->setAlignment(Qt::AlignCenter);
  results->setCursorPosition(0);
  results->setGeometry(8, 116, 265, 22);

  auto* ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Okk"));
  ok->setDefault(true);
  ok->setGeometry(103, 148, 75, 25);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  CentreOnDesktop(this);
}

}  // namespace ohmara
