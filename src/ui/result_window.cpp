#include "ui/result_window.h"

#include <QAction>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStyle>
#include <QTableWidget>
#include <QTextBlock>
#include <QToolTip>

#include "analysis/power_balance.h"
#include "model/complex.h"
#include "ui/phasor_diagram_window.h"
#include "ui/prompts.h"
#include "ui/self_check_window.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

constexpr int kPolarPanelWidth = 250;
constexpr int kPowersPanelWidth = 300;

QStringList PolarLineTexts(const std::vector<LabelledPhasor>& values) {
  QStringList lines;
  for (const std::string& line : PolarLines(values)) lines << QString::fromStdString(line);
  return lines;
}

}  // namespace

ResultWindow::ResultWindow(Prompts& prompts, CommandGuard guard, const char* name, const QString& caption,
                           int clientWidth, int clientHeight)
    : prompts_(prompts),
      guard_(std::move(guard)),
      caption_(caption),
      clientWidth_(clientWidth),
      clientHeight_(clientHeight),
      body_(new QWidget(this)),
      client_(new QWidget(body_)) {
  setObjectName(QString::fromLatin1(name));
  setWindowTitle(caption);
  client_->setObjectName(QStringLiteral("client"));
  client_->setFont(InterfaceFont(11));
  client_->setAutoFillBackground(true);
  QPalette palette = client_->palette();
  palette.setColor(QPalette::Window, Qt::white);
  client_->setPalette(palette);
  client_->setGeometry(0, 0, clientWidth, clientHeight);
  polarPanel_ = new QPlainTextEdit(body_);
  polarPanel_->setObjectName(QStringLiteral("PolarView"));
  polarPanel_->setReadOnly(true);
  polarPanel_->setFont(InterfaceFont(11, true));
  polarPanel_->setLineWrapMode(QPlainTextEdit::NoWrap);
  polarPanel_->setGeometry(clientWidth, 0, kPolarPanelWidth, clientHeight);
  polarPanel_->hide();
  powersPanel_ = PlaceGrid(body_, "BranchPowersView", 0, 2, {clientWidth, 0, kPowersPanelWidth, clientHeight});
  powersPanel_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  powersPanel_->setHorizontalHeaderLabels({QStringLiteral("Элемент"), QStringLiteral("P + jQ, ВА")});
  powersPanel_->horizontalHeader()->setVisible(true);
  powersPanel_->setColumnWidth(0, 150);
  powersPanel_->setColumnWidth(1, 130);
  powersPanel_->hide();
  setCentralWidget(body_);

  QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
  printAction_ = file->addAction(PrintIcon(), QStringLiteral("Печать"));
  printAction_->setShortcut(QKeySequence::Print);
  exitAction_ = file->addAction(QStringLiteral("Выход"));
  exitAction_->setShortcut(QKeySequence::Close);
  connect(printAction_, &QAction::triggered, this, &ResultWindow::PrintPicture);
  connect(exitAction_, &QAction::triggered, this, &QWidget::close);
  phasorDiagram_ = new PhasorDiagramWindow(prompts_, guard_, caption, this);
  BuildViewMenu();
  ShowSidePanels();
  CentreOnDesktop(this);
}

void ResultWindow::BuildViewMenu() {
  QMenu* view = menuBar()->addMenu(QStringLiteral("Вид"));
  polarPanelAction_ = view->addAction(QStringLiteral("Показательная форма"));
  polarPanelAction_->setObjectName(QStringLiteral("PolarFormItem"));
  polarPanelAction_->setCheckable(true);
  powersPanelAction_ = view->addAction(QStringLiteral("Мощности ветвей"));
  powersPanelAction_->setObjectName(QStringLiteral("BranchPowersItem"));
  powersPanelAction_->setCheckable(true);
  connect(powersPanelAction_, &QAction::toggled, this, [this] { guard_([this] { ShowSidePanels(); }); });
  phasorDiagramAction_ = view->addAction(QStringLiteral("Векторная диаграмма"));
  phasorDiagramAction_->setObjectName(QStringLiteral("PhasorDiagramItem"));
  phasorDiagramAction_->setEnabled(false);
  connect(polarPanelAction_, &QAction::toggled, this, [this] { guard_([this] { ShowSidePanels(); }); });
  connect(phasorDiagramAction_, &QAction::triggered, this, [this] { guard_([this] { OpenPhasorDiagram(); }); });
  selfCheckAction_ = view->addAction(QStringLiteral("Проверить своё решение"));
  selfCheckAction_->setObjectName(QStringLiteral("SelfCheckItem"));
  selfCheckAction_->setEnabled(false);
  connect(selfCheckAction_, &QAction::triggered, this, [this] { guard_([this] { OpenSelfCheck(); }); });
}

void ResultWindow::ShowSidePanels() {
  const bool polar = polarPanelAction_->isChecked(), powers = powersPanelAction_->isChecked();
  polarPanel_->setVisible(polar);
  powersPanel_->setVisible(powers);
  powersPanel_->move(clientWidth_ + (polar ? kPolarPanelWidth : 0), 0);
  const int width = clientWidth_ + (polar ? kPolarPanelWidth : 0) + (powers ? kPowersPanelWidth : 0);
  body_->setFixedSize(width, clientHeight_);
  setFixedSize(width, clientHeight_ + menuBar()->sizeHint().height());
  // A side panel switched on widens the window to the right: keep it on screen.
  if (isVisible()) KeepOnDesktop(this);
}

void ResultWindow::OpenPhasorDiagram() { Present(phasorDiagram_); }

void ResultWindow::OfferSelfCheck(SelfCheckSubject subject) {
  selfCheckSubject_ = std::move(subject);
  selfCheckAction_->setEnabled(true);
}

std::vector<std::string> ResultWindow::MarkedAttempt() const {
  if (!selfCheck_ || !selfCheckSubject_) return {};
  return selfCheck_->MarkedAttempt();
}

SelfCheckWindow& ResultWindow::selfCheckWindow() {
  if (!selfCheck_) selfCheck_ = new SelfCheckWindow(prompts_, guard_, this);
  return *selfCheck_;
}

void ResultWindow::OpenSelfCheck() {
  if (!selfCheckSubject_) return;
  SelfCheckWindow& window = selfCheckWindow();
  window.Begin(*selfCheckSubject_);
  Present(&window);
}

void ResultWindow::ShowSolutionPhasors(const std::vector<MemoValues>& memos, const SolutionPhasors& phasors) {
  polarLines_.clear();
  QStringList panel;
  for (const MemoValues& memo : memos) {
    const QStringList lines = PolarLineTexts(memo.values);
    polarLines_[memo.memo] = lines;
    memo.memo->viewport()->installEventFilter(this);
    if (!panel.isEmpty()) panel << QString();
    panel << memo.heading << lines;
  }
  polarPanel_->setPlainText(panel.join(QLatin1Char('\n')));
  phasorDiagram_->ShowSolution(phasors);
  phasorDiagramAction_->setEnabled(true);
}

void ResultWindow::ShowBranchPowers(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents) {
  branchPowers_ = BranchPowers(branches, currents);
  const std::vector<BranchPower>& powers = branchPowers_;
  powersPanel_->setRowCount(static_cast<int>(powers.size()));
  for (int row = 0; row < static_cast<int>(powers.size()); ++row) {
    powersPanel_->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(powers[row].label)));
    powersPanel_->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(ComplexToText(powers[row].power))));
  }
}

std::vector<std::string> ResultWindow::AskedBranchPowers() const {
  if (!powersPanelAction_->isChecked()) return {};
  return BranchPowerLines(branchPowers_);
}

void ResultWindow::ForgetSolution() {
  polarLines_.clear();
  polarPanel_->clear();
  powersPanel_->setRowCount(0);
  branchPowers_.clear();
  phasorDiagramAction_->setEnabled(false);
  phasorDiagram_->hide();
  // A form checked against a solution that is gone would mark by it.
  selfCheckSubject_.reset();
  selfCheckAction_->setEnabled(false);
  if (selfCheck_) selfCheck_->hide();
}

QString ResultWindow::PolarLineAt(const QPlainTextEdit& memo, QPoint position) const {
  const auto lines = polarLines_.find(&memo);
  if (lines == polarLines_.end()) return QString();
  const QTextCursor cursor = memo.cursorForPosition(position);
  // Below the last line the nearest position is still on that line.
  if (position.y() > memo.cursorRect(cursor).bottom()) return QString();
  return lines->second.value(cursor.blockNumber());
}

bool ResultWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QMainWindow::eventFilter(watched, event);
  const auto* memo = qobject_cast<const QPlainTextEdit*>(watched->parent());
  if (!memo || !polarLines_.count(memo)) return QMainWindow::eventFilter(watched, event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QString line = PolarLineAt(*memo, help->pos());
  if (line.isEmpty()) QToolTip::hideText();
  else QToolTip::showText(help->globalPos(), line, memo->viewport());
  return true;
}

void ResultWindow::PrintPicture() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  if (!prompts_.SetUpPrinter(this, printer)) return;
  const QPixmap picture = grab(QRect(0, 0, clientWidth_, height()));
  QPainter painter;
  if (!painter.begin(&printer)) {
    prompts_.Critical(this, QStringLiteral("Печать"),
                      QStringLiteral("Не удалось начать печать на выбранном принтере."));
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

void ResultWindow::MarkStale(bool stale) {
  setWindowTitle(stale ? caption_ + QStringLiteral(" — таблица изменена после проверки") : caption_);
  // A hand solution is checked only against a solution of the circuit as it stands.
  selfCheckAction_->setEnabled(!stale && selfCheckSubject_.has_value());
  if (stale && selfCheck_) selfCheck_->hide();
}

void ResultWindow::ShowTexts(std::initializer_list<GridTexts> grids, std::initializer_list<MemoTexts> memos) {
  for (const auto& [grid, cells] : grids) {
    if (!cells.written) continue;
    GridView& view = *grids_.at(grid);
    view.SetRowCount(cells.rows);
    view.SetColCount(cells.cols);
    for (const auto& [col, width] : cells.widths) view.SetColWidth(col, width);
    for (const auto& [place, text] : cells.cells)
      if (place.first < cells.cols && place.second < cells.rows) view.SetCell(place.first, place.second, text);
  }
  for (const auto& [memo, lines] : memos) {
    MemoView& view = *memos_.at(memo);
    view.Clear();
    for (const std::string& line : lines.lines) view.Add(line);
  }
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
