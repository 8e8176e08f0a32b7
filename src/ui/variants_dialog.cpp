#include "ui/variants_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <charconv>
#include <iostream>
#include <random>

#include "generator/random_circuit.h"
#include "ui/offscreen_pdf_output.h"
#include "ui/print_dialog.h"
#include "ui/prompts.h"
#include "variants/variant_set.h"

namespace ohmara {

namespace {

const QString kTitle = QStringLiteral("Варианты для группы");

QSpinBox* NumberBox(const char* name, int low, int high, int value) {
  auto* box = new QSpinBox;
  box->setObjectName(QString::fromLatin1(name));
  box->setRange(low, high);
  box->setValue(value);
  return box;
}

// A fresh seed each time the dialog opens: a new set unless the teacher
// types the seed of an earlier one.
QString ProposedSeed() {
  std::random_device device;
  return QString::number(device() % 1000000000u);
}

std::optional<std::uint64_t> SeedOf(const QString& text) {
  const std::string digits = text.trimmed().toStdString();
  std::uint64_t seed = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), seed);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return seed;
}

}  // namespace

VariantsDialog::VariantsDialog(Prompts& prompts, CommandGuard guard, QWidget* parent)
    : QDialog(parent), prompts_(prompts), guard_(std::move(guard)) {
  setObjectName(QStringLiteral("VariantsForm"));
  setWindowTitle(kTitle);
  const VariantSettings defaults;
  countBox_ = NumberBox("CountBox", 1, kMaxVariants, defaults.count);
  firstBox_ = NumberBox("FirstBox", 0, 999999, defaults.firstNumber);
  seedEdit_ = new QLineEdit(ProposedSeed());
  seedEdit_->setObjectName(QStringLiteral("SeedEdit"));
  loopsBox_ = NumberBox("LoopsBox", 2, 9, defaults.loops);
  pointsBox_ = NumberBox("PointsBox", 4, 19, defaults.points);
  frequencyEdit_ = new QLineEdit(QString::fromStdString(defaults.frequency.text));
  frequencyEdit_->setObjectName(QStringLiteral("FrequencyEdit"));
  unitBox_ = new QComboBox;
  unitBox_->setObjectName(QStringLiteral("UnitBox"));
  for (int unit = 0; unit < 3; ++unit) unitBox_->addItem(QString::fromUtf8(UnitName(unit)));
  zeroBox_ = new QComboBox;
  zeroBox_->setObjectName(QStringLiteral("ZeroBox"));
  ShowZeroNodes(defaults.points);
  connect(pointsBox_, &QSpinBox::valueChanged, this, [this](int points) { ShowZeroNodes(points); });

  auto* methods = new QVBoxLayout;
  const char* names[] = {"MeshCheck", "NodalCheck", "OptimalCheck"};
  for (Method method : {Method::Mesh, Method::Nodal, Method::Optimal}) {
    QCheckBox*& box = methodBoxes_[static_cast<int>(method)];
    box = new QCheckBox(QString::fromUtf8(MethodTitle(method)));
    box->setObjectName(QString::fromLatin1(names[static_cast<int>(method)]));
    box->setChecked(true);
    methods->addWidget(box);
  }

  folderEdit_ = new QLineEdit;
  folderEdit_->setObjectName(QStringLiteral("FolderEdit"));
  auto* folderButton = new QPushButton(QStringLiteral("Выбрать…"));
  folderButton->setObjectName(QStringLiteral("FolderButton"));
  auto* folder = new QHBoxLayout;
  folder->addWidget(folderEdit_);
  folder->addWidget(folderButton);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Число вариантов"), countBox_);
  form->addRow(QStringLiteral("Номер первого варианта"), firstBox_);
  form->addRow(QStringLiteral("Начальное число"), seedEdit_);
  form->addRow(QStringLiteral("Число контуров K"), loopsBox_);
  form->addRow(QStringLiteral("Число точек P"), pointsBox_);
  auto* frequency = new QHBoxLayout;
  frequency->addWidget(frequencyEdit_);
  frequency->addWidget(unitBox_);
  form->addRow(QStringLiteral("Частота"), frequency);
  form->addRow(QStringLiteral("Узел с нулевым потенциалом"), zeroBox_);
  form->addRow(QStringLiteral("Методы в ответах"), methods);
  form->addRow(QStringLiteral("Папка"), folder);

  auto* buttons = new QDialogButtonBox;
  QPushButton* make = buttons->addButton(QStringLiteral("Составить"), QDialogButtonBox::AcceptRole);
  make->setObjectName(QStringLiteral("MakeButton"));
  QPushButton* close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("CloseButton"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);

  connect(folderButton, &QPushButton::clicked, this, [this] { guard_([this] { ChooseFolder(); }); });
  connect(make, &QPushButton::clicked, this, [this] { guard_([this] { MakeSet(); }); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void VariantsDialog::ShowZeroNodes(int points) {
  const int chosen = zeroBox_->currentIndex();
  zeroBox_->clear();
  zeroBox_->addItem(QString::fromUtf8(kAnyJunctionText));
  for (int node = 1; node <= points; ++node) zeroBox_->addItem(QString::number(node));
  zeroBox_->setCurrentIndex(chosen >= 0 && chosen <= points ? chosen : 0);
}

void VariantsDialog::ChooseFolder() {
  const QString folder = prompts_.ExistingFolder(this, kTitle, folderEdit_->text());
  if (!folder.isEmpty()) folderEdit_->setText(folder);
}

std::optional<VariantSettings> VariantsDialog::ReadSettings() {
  const std::optional<std::uint64_t> seed = SeedOf(seedEdit_->text());
  if (!seed) {
    prompts_.Critical(this, kTitle, QStringLiteral("Начальное число должно быть целым неотрицательным числом."));
    return std::nullopt;
  }
  VariantSettings settings;
  settings.count = countBox_->value();
  settings.firstNumber = firstBox_->value();
  settings.seed = *seed;
  settings.loops = loopsBox_->value();
  settings.points = pointsBox_->value();
  settings.frequency = {frequencyEdit_->text().trimmed().toStdString(), unitBox_->currentIndex()};
  if (zeroBox_->currentIndex() > 0) settings.zeroNode = zeroBox_->currentIndex();
  settings.methods.clear();
  for (Method method : {Method::Mesh, Method::Nodal, Method::Optimal})
    if (methodBoxes_[static_cast<int>(method)]->isChecked()) settings.methods.push_back(method);
  if (auto problem = VariantSettingsProblem(settings)) {
    prompts_.Critical(this, kTitle, QString::fromStdString(*problem));
    return std::nullopt;
  }
  return settings;
}

void VariantsDialog::MakeSet() {
  const std::optional<VariantSettings> settings = ReadSettings();
  if (!settings) return;
  if (folderEdit_->text().trimmed().isEmpty()) {
    prompts_.Inform(this, kTitle, QStringLiteral("Выберите папку, куда записать варианты."));
    return;
  }
  const std::vector<Variant> variants = MakeVariants(*settings);
  const std::filesystem::path folder = ChosenFilePath(folderEdit_->text().trimmed());
  OffscreenPdfOutput pdf(std::cerr);
  const std::vector<std::string> problems = WriteVariantSet(folder, variants, pdf, RememberedReportTitle());
  if (!problems.empty()) {
    QString text;
    for (const std::string& problem : problems) text += QString::fromStdString(problem) + QStringLiteral("\n");
    prompts_.Critical(this, kTitle, text.trimmed());
    return;
  }
  prompts_.Inform(
      this, kTitle,
      QStringLiteral("Вариантов: %1 (начальное число %2). В папку «%3» записаны файлы таблиц ветвей, %4 и %5.")
          .arg(variants.size())
          .arg(seedEdit_->text().trimmed(), folderEdit_->text().trimmed(), QString::fromLatin1(kVariantCardsFile),
               QString::fromLatin1(kAnswerKeyFile)));
}

}  // namespace ohmara
