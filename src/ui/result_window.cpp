#include "ui/result_window.h"

#include <QAction>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStyle>
#include <QTableWidget>

#include "ui/prompts.h"
#include "ui/widget_style.h"

namespace ohmara {

ResultWindow::ResultWindow(Prompts& prompts, const char* name, const QString& caption, int clientWidth,
                           int clientHeight)
    : prompts_(prompts), client_(new QWidget(this)) {
  setObjectName(QString::fromLatin1(name));
  setWindowTitle(caption);
  client_->setObjectName(QStringLiteral("client"));
  client_->setFont(InterfaceFont(11));
  client_->setAutoFillBackground(true);
  QPalette palette = client_->palette();
  palette.setColor(QPalette::Window, Qt::white);
  client_->setPalette(palette);
  client_->setFixedSize(clientWidth, clientHeight);
  setCentralWidget(client_);

  QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
  printAction_ = file->addAction(PrintIcon(), QStringLiteral("Печать"));
  printAction_->setShortcut(QKeySequence::Print);
  exitAction_ = file->addAction(QStringLiteral("Выход"));
  exitAction_->setShortcut(QKeySequence::Close);
  connect(printAction_, &QAction::triggered, this, &ResultWindow::PrintPicture);
  connect(exitAction_, &QAction::triggered, this, &QWidget::close);
  setFixedSize(clientWidth, clientHeight + menuBar()->sizeHint().height());
  CentreOnDesktop(this);
}

void ResultWindow::PrintPicture() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  if (!prompts_.SetUpPrinter(this, printer)) return;
  const QPixmap picture = grab();
  QPainter painter;
  if (!painter.begin(&printer)) {
    prompts_.Critical(this, QStringLiteral("Печать"), QStringLiteral("Не удалось начать печать на выбранном принтере."));
    return;
  }
  const QRect page = painter.viewport();
  const QSize fitted = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(QRect(page.topLeft(), fitted), picture);
  painter.end();
}

void ResultWindow::NameMenuItems(const char* print, const char* exit) {
  printAction_->setObjectName(QString::fromLatin1(print));
  exitAction_->setObjectName(QString::fromLatin1(exit));
}

QTableWidget* ResultWindow::AddGrid(const char* name, QRect bounds) {
  QTableWidget* grid = PlaceGrid(client_, name, 0, 0, bounds);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grids_[grid] = std::make_unique<WidgetGrid>(grid);
  return grid;
}

QPlainTextEdit* ResultWindow::AddMemo(const char* name, QRect bounds, bool bold) {
  auto* memo = new QPlainTextEdit(client_);
  memo->setObjectName(QString::fromLatin1(name));
  memo->setGeometry(bounds);
  memo->setReadOnly(true);
  memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->document()->setDocumentMargin(2);
  if (bold) memo->setFont(InterfaceFont(11, true));
  memos_[memo] = std::make_unique<WidgetMemo>(memo);
  return memo;
}

}  // namespace ohmara
