#include "ui/print_dialog.h"

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>

#include "analysis/circuit_session.h"
#include "model/safe_save.h"
#include "printing/sheet_figure.h"
#include "ui/error_messages.h"
#include "ui/printer_canvas.h"
#include "ui/prompts.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

// The original 413 x 141 client area, one row of buttons taller for the
// preview and the PDF file.
constexpr int kClientWidth = 413;
constexpr int kClientHeight = 333;

// The title fields, top to bottom: control name, caption, settings key
// (none for the date, which starts as today's on every run).
struct TitleField {
  const char* name;
  const char* caption;
  const char* key;
};
constexpr std::array<TitleField, 5> kTitleFields{{{"EdStudent", "Студент", "report/student"},
                                                  {"EdGroup", "Группа", "report/group"},
                                                  {"EdVariant", "Вариант", "report/variant"},
                                                  {"EdDate", "Дата", nullptr},
                                                  {"EdFile", "Файл схемы", "report/circuitFile"}}};
constexpr int kTitleTop = 204;
const QString kSettingsOwner = QStringLiteral("Ohmara");
constexpr int kTitleRowStep = 25;

const QString kTitle = QStringLiteral("Печать");

QCheckBox* PlaceCheckBox(QWidget* parent, const char* name, const QString& text, QRect bounds) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(bounds);
  box->setChecked(true);
  return box;
}

QString RefusalMessage(ReportStatus status) {
  switch (status) {
    case ReportStatus::NothingChosen:
      return QStringLiteral("Отметьте, что нужно напечатать: задание или решение.");
    case ReportStatus::NothingToPrint:
      return QStringLiteral("Печатать нечего: отмеченных частей ещё нет — проверьте и решите цепь.");
    case ReportStatus::Printed:
      break;
  }
  return QString();
}

// An A4 sheet, upright unless `landscape`. The preview and the PDF file use
// the whole sheet, which is what the report's millimetres are measured on.
void SetUpA4(QPrinter& printer, bool wholeSheet, bool landscape) {
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  if (wholeSheet) {
    printer.setPageMargins(QMarginsF());
    printer.setFullPage(true);
  }
}

// What the title field shows when the dialog opens.
QString StartingText(const TitleField& field) {
  if (!field.key) return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
  return QSettings(kSettingsOwner, kSettingsOwner).value(QLatin1String(field.key)).toString();
}

TitleBlock TitleOf(const std::array<QString, 5>& texts) {
  const auto text = [&texts](size_t k) { return texts[k].trimmed().toStdString(); };
  return {text(0), text(1), text(2), text(3), text(4)};
}

}  // namespace

TitleBlock RememberedReportTitle() {
  std::array<QString, 5> texts;
  for (size_t k = 0; k < kTitleFields.size(); ++k) texts[k] = StartingText(kTitleFields[k]);
  return TitleOf(texts);
}

PrintDialog::PrintDialog(Prompts& prompts, CommandGuard guard, ReportSources sources)
    : prompts_(prompts), guard_(std::move(guard)), sources_(std::move(sources)) {
  setObjectName(QStringLiteral("PrintForm"));
  setWindowTitle(QStringLiteral("PrintForm"));
  setModal(false);
  setFont(InterfaceFont(11));
  FixClientSize(this, kClientWidth, kClientHeight);
  BuildControls();
  ConnectCommands();
  CentreOnDesktop(this);
}

void PrintDialog::BuildControls() {
  taskBox_ = PlaceCheckBox(this, "ChTask", QStringLiteral("Напечатать задание"), {16, 8, 257, 17});
  drawingBox_ = PlaceCheckBox(this, "ChDraw", QStringLiteral("Напечатать чертеж"), {40, 32, 233, 17});
  meshCurrentsBox_ =
      PlaceCheckBox(this, "ChCurr", QStringLiteral("Напечатать решение методом контурных токов"), {16, 56, 313, 17});
  nodePotentialsBox_ =
      PlaceCheckBox(this, "ChPot", QStringLiteral("Напечатать решение методом узловых потенциалов"), {16, 80, 313, 17});
  PlaceLabel(this, "Label1", QStringLiteral("В настройках принтера задайте печать без полей"), 16, 112, 0, 0, false);
  polarBox_ = PlaceCheckBox(this, "ChPolar", QStringLiteral("Показательная форма"), {16, 148, 145, 17});
  polarBox_->setChecked(false);
  phasorBox_ = PlaceCheckBox(this, "ChPhasor", QStringLiteral("Векторная диаграмма"), {16, 172, 145, 17});
  phasorBox_->setChecked(false);
  landscapeBox_ = PlaceCheckBox(this, "ChLandscape", QStringLiteral("Альбомная ориентация"), {168, 172, 233, 17});
  landscapeBox_->setChecked(false);

  printButton_ = PlacePushButton(this, "BtnPrint", QString(), {344, 16, 57, 57});
  printButton_->setIcon(PrintIcon());
  printButton_->setIconSize(QSize(32, 32));
  printButton_->setToolTip(kTitle);
  previewButton_ = PlacePushButton(this, "BtnPreview", QStringLiteral("Предпросмотр"), {168, 144, 113, 25});
  pdfButton_ = PlacePushButton(this, "BtnPdf", QStringLiteral("Сохранить в PDF…"), {288, 144, 113, 25});
  BuildTitleFields();
}

void PrintDialog::BuildTitleFields() {
  for (size_t k = 0; k < kTitleFields.size(); ++k) {
    const TitleField& field = kTitleFields[k];
    const int top = kTitleTop + kTitleRowStep * static_cast<int>(k);
    PlaceLabel(this, "", QString::fromUtf8(field.caption), 16, top + 3);
    const QString text = StartingText(field);
    QLineEdit* edit = PlaceEdit(this, field.name, text, 120, top, 281);
    if (field.key) {
      connect(edit, &QLineEdit::textChanged, this, [key = QLatin1String(field.key)](const QString& value) {
        QSettings(kSettingsOwner, kSettingsOwner).setValue(key, value);
      });
    }
    titleEdits_[k] = edit;
  }
}

void PrintDialog::ConnectCommands() {
  connect(taskBox_, &QCheckBox::toggled, drawingBox_, &QWidget::setEnabled);
  auto bind = [this](QPushButton* button, void (PrintDialog::*command)()) {
    connect(button, &QPushButton::clicked, this, [this, command] { guard_([this, command] { (this->*command)(); }); });
  };
  bind(printButton_, &PrintDialog::PrintOnPrinter);
  bind(previewButton_, &PrintDialog::ShowPreview);
  bind(pdfButton_, &PrintDialog::SaveAsPdf);
}

ReportChoices PrintDialog::Choices() const {
  return {taskBox_->isChecked(),           drawingBox_->isChecked(), meshCurrentsBox_->isChecked(),
          nodePotentialsBox_->isChecked(), polarBox_->isChecked(),   phasorBox_->isChecked()};
}

void PrintDialog::PrintOnPrinter() {
  if (!SomethingChosen()) return;
  QPrinter printer(QPrinter::HighResolution);
  SetUpA4(printer, false, landscapeBox_->isChecked());
  if (!prompts_.SetUpPrinter(this, printer)) return;
  PaintReport(printer);
}

void PrintDialog::ShowPreview() {
  if (!SomethingChosen()) return;
  QPrinter printer(QPrinter::HighResolution);
  SetUpA4(printer, true, landscapeBox_->isChecked());
  // The preview repaints from inside its own event loop: each repaint is a
  // command of its own, so a failure shows its message and the preview stays.
  prompts_.PreviewPrint(this, printer, [this](QPrinter& pages) { guard_([this, &pages] { PaintReport(pages); }); });
}

void PrintDialog::SaveAsPdf() {
  if (!SomethingChosen()) return;
  const QString fileName = prompts_.SavePdfFileName(this, QStringLiteral("Сохранить в PDF"), QDir::homePath());
  if (fileName.isEmpty()) return;
  bool refused = false;
  // Qt's PDF writer reports no failed write: the job must have ended with
  // the file's end mark, or the previous file stays.
  const SaveProblem problem = SaveFileWrittenBy(ChosenFilePath(fileName), [&](const std::filesystem::path& temporary) {
    {
      QPrinter printer(QPrinter::HighResolution);
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QFile::decodeName(temporary.c_str()));
      SetUpA4(printer, true, landscapeBox_->isChecked());
      refused = !PaintReport(printer);
    }
    return !refused && FileEndsWith(temporary, "%%EOF\n");
  });
  if (problem != SaveProblem::None && !refused)
    prompts_.Critical(this, QStringLiteral("Ошибка"), SaveProblemText(problem, fileName));
}

TitleBlock PrintDialog::Title() const {
  std::array<QString, 5> texts;
  for (size_t k = 0; k < texts.size(); ++k) texts[k] = titleEdits_[k]->text();
  return TitleOf(texts);
}

bool PrintDialog::SomethingChosen() {
  if (!AnythingChosen(Choices())) {
    Tell(RefusalMessage(ReportStatus::NothingChosen));
    return false;
  }
  if (!AnythingChosen(PrintedParts(sources_.session->Report(), Choices()))) {
    Tell(RefusalMessage(ReportStatus::NothingToPrint));
    return false;
  }
  return true;
}

bool PrintDialog::PaintReport(QPrinter& printer) {
  ReportStatus status = ReportStatus::Printed;
  {
    PrinterCanvas canvas(printer, [this](const QString& text) { Tell(text); });
    status = PrintReport(Content(), Choices(), PrinterCanvas::PageOf(printer), canvas);
  }
  if (status == ReportStatus::Printed) return true;
  Tell(RefusalMessage(status));
  return false;
}

ReportContent PrintDialog::Content() const {
  ReportContent content = sources_.session->Report();
  content.title = Title();
  if (sources_.meshAttempt) content.meshAttempt = sources_.meshAttempt();
  if (sources_.nodeAttempt) content.nodeAttempt = sources_.nodeAttempt();
  if (sources_.sheetDrawing) content.task.drawing = PrintedSheetFigure(sources_.sheetDrawing());
  if (sources_.meshPhasors) content.meshPhasors = sources_.meshPhasors();
  if (sources_.nodePhasors) content.nodePhasors = sources_.nodePhasors();
  if (sources_.meshBranchPowers) content.meshBranchPowers = sources_.meshBranchPowers();
  if (sources_.nodeBranchPowers) content.nodeBranchPowers = sources_.nodeBranchPowers();
  return content;
}

void PrintDialog::Tell(const QString& text) { prompts_.Inform(this, kTitle, text); }

}  // namespace ohmara
