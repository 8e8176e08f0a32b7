#include <unistd.h>

#include <QCheckBox>
#include <QPrinter>
#include <QProcess>
#include <algorithm>
#include <fstream>
#include <optional>

#include "support/file_size_limit.h"
#include "support/gui_app_fixture.h"
#include "ui/editor_window.h"
#include "ui/print_dialog.h"

namespace ohmara::testing {
namespace {

const QString kPortraitMessage = "В настройках необходимо установить ориентацию страницы в виде 'портрет'";

// The page (1-based) of every image in a PDF file, as pdfimages lists them.
std::vector<int> PdfImagePages(const std::filesystem::path& pdf) {
  QProcess pdfimages;
  pdfimages.start("pdfimages", {"-list", QString::fromStdString(pdf.string())});
  EXPECT_TRUE(pdfimages.waitForFinished(30000)) << "pdfimages (poppler-utils) did not run";
  std::vector<int> pages;
  // Two heading lines, then one line per image that starts with its page.
  const QStringList lines = QString::fromUtf8(pdfimages.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  for (qsizetype i = 2; i < lines.size(); ++i)
    pages.push_back(lines[i].section(' ', 0, 0, QString::SectionSkipEmpty).toInt());
  return pages;
}

// The text of each page of a PDF file as pdftotext reads it, without the
// spaces, which it drops between the small glyphs of the page numbers.
QStringList PdfPages(const std::filesystem::path& pdf) {
  QProcess pdftotext;
  pdftotext.start("pdftotext", {QString::fromStdString(pdf.string()), "-"});
  EXPECT_TRUE(pdftotext.waitForFinished(30000)) << "pdftotext (poppler-utils) did not run";
  QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
  text.remove(QLatin1Char(' '));
  QStringList pages = text.split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

class PrintDialogTest : public AppFixture {
 protected:
  PrintDialog& Dialog() { return Windows().printDialog(); }
  QCheckBox* Box(const char* name) { return Find<QCheckBox>(Dialog(), name); }
  void ClickInDialog(const char* button) { Find<QPushButton>(Dialog(), button)->click(); }

  // The worked example drawn in the editor, tested and solved by every
  // method, as a student would before printing; the node window shows the
  // optimal variant.
  void SolveFiveBranches() {
    TypeTable(kFiveBranches);
    Find<QPushButton>(Windows().editorWindow(), "BitBtn1")->click();
    for (const char* command : {"TestBtn", "ContBtn", "PotentialBtn", "BitBtn3"}) Click(command);
    prompts_.messages.clear();
  }

  // Sends every printer the dialog sets up to `pdf`, in `orientation`.
  void PrintTo(const std::filesystem::path& pdf, QPageLayout::Orientation orientation = QPageLayout::Portrait) {
    prompts_.onPrinter = [pdf, orientation](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(pdf.string()));
      printer.setPageOrientation(orientation);
      return true;
    };
    prompts_.onPreview = [pdf](QPrinter& printer, const Prompts::PaintPages& paint) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(pdf.string()));
      paint(printer);
    };
    prompts_.pdfNames = {QString::fromStdString(pdf.string())};
  }
};

TEST_F(PrintDialogTest, MenuShowsTheDialogAndTheDrawingFollowsTheTask) {
  EXPECT_FALSE(Dialog().isVisible());
  Trigger("N4");
  EXPECT_TRUE(Dialog().isVisible());
  EXPECT_FALSE(Dialog().isModal());
  EXPECT_EQ(Dialog().windowTitle(), "PrintForm");
  for (const char* name : {"ChTask", "ChDraw", "ChCurr", "ChPot"}) EXPECT_TRUE(Box(name)->isChecked()) << name;

  Box("ChTask")->click();
  EXPECT_FALSE(Box("ChDraw")->isEnabled());
  EXPECT_TRUE(Box("ChDraw")->isChecked());
  Box("ChTask")->click();
  EXPECT_TRUE(Box("ChDraw")->isEnabled());
}

TEST_F(PrintDialogTest, NothingCheckedStartsNothingAndSaysSo) {
  SolveFiveBranches();
  const auto pdf = scratch_.Path() / "report.pdf";
  PrintTo(pdf);
  // The drawing alone is nothing: it belongs to the task.
  for (const char* name : {"ChTask", "ChCurr", "ChPot"}) Box(name)->click();
  for (const char* button : {"BtnPrint", "BtnPreview", "BtnPdf"}) {
    SCOPED_TRACE(button);
    prompts_.messages.clear();
    ClickInDialog(button);
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_FALSE(prompts_.messages[0].critical);
    EXPECT_TRUE(prompts_.messages[0].text.startsWith("Отметьте")) << prompts_.messages[0].text.toStdString();
  }
  EXPECT_EQ(prompts_.printerDialogs, 0);
  EXPECT_EQ(prompts_.previews, 0);
  EXPECT_EQ(prompts_.pdfNames.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(PrintDialogTest, LandscapePageIsRefusedBeforeAnythingIsPrinted) {
  SolveFiveBranches();
  const auto pdf = scratch_.Path() / "landscape.pdf";
  PrintTo(pdf, QPageLayout::Landscape);
  ClickInDialog("BtnPrint");
  EXPECT_EQ(prompts_.Texts(), std::vector<QString>{kPortraitMessage});
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

// The printer, the preview and the PDF file all get the same three pages,
// the editor's drawing on the first.
TEST_F(PrintDialogTest, ReportOfTheSolvedExampleOnEveryOutput) {
  struct Heading {
    int page;
    const char* text;
  };
  const Heading headings[] = {
      {0, "- 1 -"},
      {0, "Задание"},
      {0, "Частота 15 Гц"},
      {1, "- 2 -"},
      {1, "Метод контурных токов"},
      {1, "Матрица сопротивлений"},
      {1, "Матрица ЭДС"},
      {1, "Контуры"},
      {1, "Контурные токи"},
      {1, "Токи в ветвях"},
      {1, "Баланс мощностей"},
      {1, "Мощность источников = 37.5"},
      {2, "- 3 -"},
      {2, "Метод узловых потенциалов"},
      {2, "Матрица проводимостей"},
      {2, "Матрица токов"},
      {2, "Узловые потенциалы"},
      {2, "Токи в ветвях"},
      {2, "Баланс мощностей"},
  };
  SolveFiveBranches();
  for (const char* button : {"BtnPdf", "BtnPrint", "BtnPreview"}) {
    SCOPED_TRACE(button);
    const auto pdf = scratch_.Path() / (std::string(button) + ".pdf");
    PrintTo(pdf);
    ClickInDialog(button);
    EXPECT_TRUE(prompts_.messages.empty()) << prompts_.Texts().front().toStdString();
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(PdfImagePages(pdf), std::vector<int>{1}) << "the drawing, under the task";
    for (const Heading& heading : headings)
      EXPECT_TRUE(pages[heading.page].contains(QString::fromUtf8(heading.text).remove(QLatin1Char(' '))))
          << "page " << heading.page + 1 << " lacks " << heading.text;
  }
}

// The PDF goes to a temporary file beside the target and replaces it only
// once the print job ended whole: a full disk or a place that cannot be
// written keeps the old file and names the file in the message.
TEST_F(PrintDialogTest, APdfThatCannotBeWrittenKeepsTheOldFileAndNamesIt) {
  SolveFiveBranches();
  const auto old = scratch_.Path() / "old.pdf";
  const auto locked = scratch_.Path() / "locked.pdf";
  std::ofstream(old, std::ios::binary) << "old pdf";
  std::ofstream(locked, std::ios::binary) << "locked pdf";
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
  struct Case {
    std::filesystem::path pdf;
    bool fullDisk;
    const char* message;
    const char* kept;
  };
  std::vector<Case> cases = {
      {old, true, "Не удалось записать файл «%1». Прежнее содержимое файла не изменено.", "old pdf"},
      {scratch_.Path() / "missing" / "new.pdf", false,
       "Не удалось записать файл «%1». Прежнее содержимое файла не изменено.", nullptr},
  };
  if (::geteuid() != 0)
    cases.push_back({locked, false, "Нет прав на запись файла «%1». Файл не изменён.", "locked pdf"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pdf.string());
    const QString name = QString::fromStdString(c.pdf.string());
    prompts_.messages.clear();
    prompts_.pdfNames = {name};
    {
      std::optional<FileSizeLimit> disk;
      if (c.fullDisk) disk.emplace(4096);
      ClickInDialog("BtnPdf");
    }
    ASSERT_EQ(prompts_.Texts(), std::vector<QString>{QString::fromUtf8(c.message).arg(name)});
    EXPECT_TRUE(prompts_.messages.front().critical);
    if (c.kept) {
      EXPECT_EQ(ReadFileBytes(c.pdf), c.kept);
    }
  }
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(scratch_.Path()))
    if (entry.path().extension() == ".pdf" || entry.path().filename().string().starts_with("."))
      names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"locked.pdf", "old.pdf"})) << "no temporary file stays";

  prompts_.messages.clear();
  prompts_.pdfNames = {QString::fromStdString(old.string())};
  ClickInDialog("BtnPdf");
  EXPECT_TRUE(prompts_.messages.empty());
  EXPECT_EQ(PdfPages(old).size(), 3) << "with room, the old file is replaced";
}

}  // namespace
}  // namespace ohmara::testing
