#include "ui/phasor_diagram_window.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

#include "ui/error_messages.h"
#include "ui/prompts.h"
#include "ui/widget_style.h"

namespace ohmara {

PhasorDiagramWindow::PhasorDiagramWindow(Prompts& prompts, CommandGuard guard, const QString& method, QWidget* parent)
    : QMainWindow(parent, Qt::Window), prompts_(prompts), guard_(std::move(guard)), method_(method) {
  setObjectName(QStringLiteral("PhasorForm"));
  setWindowTitle(QStringLiteral("Векторная диаграмма"));
  BuildControls();
  BuildMenu();
  resize(600, 660);
}

void PhasorDiagramWindow::BuildControls() {
  auto* body = new QWidget(this);
  body->setFont(InterfaceFont(11));
  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel(QStringLiteral("Кирхгоф в узле"), body));
  nodeBox_ = new QComboBox(body);
  nodeBox_->setObjectName(QStringLiteral("NodeBox"));
  controls->addWidget(nodeBox_);
  logLengthBox_ = new QCheckBox(QStringLiteral("Логарифмическая длина"), body);
  logLengthBox_->setObjectName(QStringLiteral("LogLengthBox"));
  controls->addWidget(logLengthBox_);
  potentialsBox_ = new QCheckBox(QStringLiteral("Потенциалы узлов"), body);
  potentialsBox_->setObjectName(QStringLiteral("PotentialsBox"));
  controls->addWidget(potentialsBox_);
  controls->addStretch();
  canvas_ = new PhasorCanvas(body);
  canvas_->setObjectName(QStringLiteral("PhasorView"));
  auto* column = new QVBoxLayout(body);
  column->addLayout(controls);
  column->addWidget(canvas_, 1);
  setCentralWidget(body);

  auto redraw = [this] { guard_([this] { Redraw(); }); };
  connect(nodeBox_, &QComboBox::currentIndexChanged, this, redraw);
  connect(logLengthBox_, &QCheckBox::toggled, this, redraw);
  connect(potentialsBox_, &QCheckBox::toggled, this, redraw);
}

void PhasorDiagramWindow::BuildMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
  savePngAction_ = file->addAction(QStringLiteral("Сохранить как PNG…"));
  savePngAction_->setObjectName(QStringLiteral("SavePngItem"));
  savePngAction_->setShortcut(QKeySequence::Save);
  file->addSeparator();
  closeAction_ = file->addAction(QStringLiteral("Закрыть"));
  closeAction_->setObjectName(QStringLiteral("CloseItem"));
  closeAction_->setShortcut(QKeySequence::Close);
  connect(savePngAction_, &QAction::triggered, this, [this] { guard_([this] { SaveAsPng(); }); });
  connect(closeAction_, &QAction::triggered, this, &QWidget::close);
}

void PhasorDiagramWindow::ShowSolution(const SolutionPhasors& phasors) {
  const int chosenNode = nodeBox_->currentData().toInt();
  {
    // One redraw at the end, not one per item.
    const QSignalBlocker blocker(nodeBox_);
    nodeBox_->clear();
    nodeBox_->addItem(QStringLiteral("все токи"), 0);
    for (int node = 1; node <= phasors.nodeCount; ++node) nodeBox_->addItem(QString::number(node), node);
    nodeBox_->setCurrentIndex(std::max(0, nodeBox_->findData(chosenNode)));
  }
  potentialsBox_->setVisible(!phasors.potentials.empty());
  canvas_->SetPhasors(phasors);
  Redraw();
}

PhasorChoice PhasorDiagramWindow::Choice() const {
  PhasorChoice choice;
  choice.node = nodeBox_->currentData().toInt();
  // The polygon at a node adds lengths head to tail, which only a linear
  // scale does, and it holds currents alone.
  if (choice.node > 0) return choice;
  choice.length = logLengthBox_->isChecked() ? ArrowLength::Logarithmic : ArrowLength::Linear;
  choice.potentials = potentialsBox_->isVisibleTo(this) && potentialsBox_->isChecked();
  return choice;
}

QString PhasorDiagramWindow::Title(const PhasorChoice& choice) const {
  if (choice.node > 0)
    return QStringLiteral("%1. Кирхгоф в узле %2: входящие токи со знаком «+»").arg(method_).arg(choice.node);
  if (choice.potentials) return QStringLiteral("%1. Токи ветвей и потенциалы узлов").arg(method_);
  return QStringLiteral("%1. Токи ветвей").arg(method_);
}

void PhasorDiagramWindow::Redraw() {
  const PhasorChoice choice = Choice();
  logLengthBox_->setEnabled(choice.node == 0);
  potentialsBox_->setEnabled(choice.node == 0);
  canvas_->SetChoice(choice, Title(choice));
}

std::vector<PhasorLayer> PhasorDiagramWindow::Layers() const { return canvas_->Layers(); }

const PhasorPicture& PhasorDiagramWindow::Shown() const { return canvas_->Shown(); }

void PhasorDiagramWindow::SaveAsPng() {
  QString name = prompts_.SaveFileName(this, QStringLiteral("Сохранить как PNG"), QStringLiteral("phasors.png"));
  if (name.isEmpty()) return;
  if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".png");
  QByteArray bytes;
  QBuffer buffer(&bytes);
  const bool encoded = buffer.open(QIODevice::WriteOnly) && canvas_->Picture().save(&buffer, "PNG");
  const SaveProblem problem =
      encoded
          ? SaveFileSafely(ChosenFilePath(name), std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))
          : SaveProblem::CannotWrite;
  if (problem != SaveProblem::None) prompts_.Critical(this, QStringLiteral("Ошибка"), SaveProblemText(problem, name));
}

}  // namespace ohmara
