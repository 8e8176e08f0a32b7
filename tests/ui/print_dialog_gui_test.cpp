#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <algorithm>
#include <fstream>
#include <optional>

#include "support/file_size_limit.h"
#include "support/gui_app_fixture.h"
#include "ui/editor_window.h"
#include "ui/mesh_current_window.h"
#include "ui/node_potential_window.h"
#include "ui/phasor_diagram_window.h"
#include "ui/print_dialog.h"
#include "ui/self_check_window.h"

namespace ohmara::testing {
namespace {

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

// "widthxheight" of the first page of a PDF file in points, as pdfinfo reads it.
QString PdfPageSize(const std::filesystem::path& pdf) {
  QProcess pdfinfo;
  pdfinfo.start("pdfinfo", {QString::fromStdString(pdf.string())});
  EXPECT_TRUE(pdfinfo.waitForFinished(30000)) << "pdfinfo (poppler-utils) did not run";
  for (const QString& line : QString::fromUtf8(pdfinfo.readAllStandardOutput()).split('\n'))
    if (line.startsWith("Page size:")) {
      const QStringList words = line.simplified().split(' ');
      return QString::number(qRound(words[2].toDouble())) + "x" + QString::number(qRound(words[4].toDouble()));
    }
  return QString();
}

// A sheet on its side, chosen in the printer set-up or with "Альбомная
// ориентация" for the PDF file, gets the whole report on landscape pages.
TEST_F(PrintDialogTest, LandscapeChosenGivesLandscapePages) {
  SolveFiveBranches();
  const auto printed = scratch_.Path() / "landscape.pdf";
  PrintTo(printed, QPageLayout::Landscape);
  ClickInDialog("BtnPrint");
  EXPECT_TRUE(prompts_.messages.empty());
  EXPECT_EQ(PdfPageSize(printed), "842x595");
  EXPECT_EQ(PdfPages(printed).size(), 3);

  const auto saved = scratch_.Path() / "saved.pdf";
  PrintTo(saved);
  ClickInDialog("BtnPdf");
  EXPECT_EQ(PdfPageSize(saved), "595x842");
  Box("ChLandscape")->click();
  PrintTo(saved);
  ClickInDialog("BtnPdf");
  EXPECT_EQ(PdfPageSize(saved), "842x595");
  EXPECT_TRUE(PdfPages(saved).join("").contains(QStringLiteral("Матрицасопротивлений")));
}

// The printer, the preview and the PDF file all get the same three pages,
// the editor's drawing on the first.
TEST_F(PrintDialogTest, ReportOfTheSolvedExampleOnEveryOutput) {
  struct Heading {
    int page;
    const char* text;
  };
  const Heading headings[] = {
      {0, "- 1 из 3 -"},
      {0, "Задание"},
      {0, "Частота 15 Гц"},
      {1, "- 2 из 3 -"},
      {1, "Метод контурных токов"},
      {1, "Матрица сопротивлений"},
      {1, "Матрица ЭДС"},
      {1, "Контуры"},
      {1, "Контурные токи"},
      {1, "Токи в ветвях"},
      {1, "Баланс мощностей"},
      {1, "Мощность источников = 37.5"},
      {2, "- 3 из 3 -"},
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
    // The drawing is paths and texts: its source label, no image.
    EXPECT_EQ(PdfImagePages(pdf), std::vector<int>{});
    EXPECT_TRUE(pages[0].contains("10,0")) << pages[0].toStdString();
    for (const Heading& heading : headings)
      EXPECT_TRUE(pages[heading.page].contains(QString::fromUtf8(heading.text).remove(QLatin1Char(' '))))
          << "page " << heading.page + 1 << " lacks " << heading.text;
  }
}

// The report is the tested circuit's with the solutions made of it: circuit A
// solved by every method, then B tested at 50 Hz and solved by mesh
// currents only, then the frequency changed without a new test.
TEST_F(PrintDialogTest, ReportPrintsTheTestedCircuitBesideItsOwnSolutionsOnly) {
  SolveFiveBranches();
  const BranchTable b = {{"1->4", "2", "", "", "10", "0"}, {"4->3", "2"}, {"3->1", "2"}, {"4->2", "2"}, {"2->3", "2"}};
  TypeTable(b);
  Find<QLineEdit>(Main(), "Frequence")->setText("50");
  for (const char* command : {"TestBtn", "ContBtn"}) Click(command);
  Find<QLineEdit>(Main(), "Frequence")->setText("777");
  prompts_.messages.clear();

  const auto pdf = scratch_.Path() / "b.pdf";
  PrintTo(pdf);
  ClickInDialog("BtnPdf");
  EXPECT_TRUE(prompts_.messages.empty());
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 2);
  for (const char* text : {"1->4", "4->2", "Частота50Гц", "Таблицанаэкранеизмененапослепроверки"})
    EXPECT_TRUE(pages[0].contains(QString::fromUtf8(text))) << "task page lacks " << text;
  EXPECT_FALSE(pages[0].contains("777"));
  EXPECT_TRUE(pages[1].contains("Методконтурныхтоков"));
  EXPECT_TRUE(pages[1].contains("Мощностьисточников=18.75")) << "B's solution";
  EXPECT_FALSE(pages[1].contains("37.5")) << "A's solution";
  EXPECT_FALSE(pages.join("").contains("Методузловыхпотенциалов"));
}

// The page rendered by pdftoppm at a low resolution.
QImage RenderedPage(const std::filesystem::path& pdf, int page, const std::filesystem::path& prefix) {
  QProcess pdftoppm;
  const QString number = QString::number(page);
  pdftoppm.start("pdftoppm", {"-f", number, "-l", number, "-r", "40", "-singlefile", "-png",
                              QString::fromStdString(pdf.string()), QString::fromStdString(prefix.string())});
  EXPECT_TRUE(pdftoppm.waitForFinished(30000)) << "pdftoppm (poppler-utils) did not run";
  return QImage(QString::fromStdString(prefix.string()) + ".png");
}

// Pixels of `image` close to `colour`.
int PixelsOf(const QImage& image, QColor colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue()) <
          60)
        ++count;
    }
  return count;
}

// With "Векторная диаграмма" each solution is followed by a page with its
// diagram as the window shows it (here the currents at node 2 head to tail
// for the mesh method), drawn as paths: no page holds an image, the labels
// are text, and the arrows come out in their colours.
TEST_F(PrintDialogTest, PhasorDiagramsAsVectorPagesAfterTheirSolutions) {
  SolveFiveBranches();
  auto* nodeBox = Find<QComboBox>(Windows().meshCurrentWindow().phasorDiagram(), "NodeBox");
  nodeBox->setCurrentIndex(nodeBox->findData(2));
  Find<QCheckBox>(Windows().nodePotentialWindow().phasorDiagram(), "PotentialsBox")->setChecked(true);
  EXPECT_FALSE(Box("ChPhasor")->isChecked());
  Box("ChPhasor")->click();
  const auto pdf = scratch_.Path() / "phasors.pdf";
  PrintTo(pdf);
  ClickInDialog("BtnPdf");
  EXPECT_TRUE(prompts_.messages.empty());
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 5);
  EXPECT_EQ(PdfImagePages(pdf), std::vector<int>{}) << "no bitmap anywhere";
  const struct {
    int page;
    std::vector<const char*> texts;
  } diagrams[] = {
      {2, {"Векторнаядиаграмма", "Методконтурныхтоков.Кирхгофвузле2", "I12", "-I23", "-I24", "токи:"}},
      {4, {"Векторнаядиаграмма", "Токиветвейипотенциалыузлов", "I12,I31", "u2", "потенциалы:"}},
  };
  for (const auto& diagram : diagrams) {
    SCOPED_TRACE(diagram.page);
    for (const char* text : diagram.texts)
      EXPECT_TRUE(pages[diagram.page].contains(QString::fromUtf8(text))) << text << "\n"
                                                                         << pages[diagram.page].toStdString();
    const QImage rendered = RenderedPage(pdf, diagram.page + 1, scratch_.Path() / "page");
    ASSERT_FALSE(rendered.isNull());
    EXPECT_GT(PixelsOf(rendered, QColor(0x1f, 0x4e, 0xb4)), 20) << "the currents' arrows";
    EXPECT_EQ(PixelsOf(rendered, QColor(0xc0, 0x39, 0x2b)) > 20, diagram.page == 4) << "the potentials' arrows";
  }
  EXPECT_FALSE(pages[1].contains(QStringLiteral("Векторнаядиаграмма")));
}

// A fresh start has nothing to print, and says so instead of empty headings.
TEST_F(PrintDialogTest, NothingTestedNorTypedPrintsNothing) {
  const auto pdf = scratch_.Path() / "empty.pdf";
  PrintTo(pdf);
  ClickInDialog("BtnPdf");
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].text.startsWith("Печатать нечего")) << prompts_.messages[0].text.toStdString();
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

// The title fields go to the top of the first page, an empty one left out,
// and are remembered for the next run; the node section says which method
// ran and which node was at zero; the polar forms follow each solution.
TEST_F(PrintDialogTest, TitleFieldsNodeMethodAndPolarFormsInThePdf) {
  SolveFiveBranches();
  const struct {
    const char* name;
    const char* text;
  } fields[] = {{"EdStudent", "Иванов И. И."},
                {"EdGroup", ""},
                {"EdVariant", "7"},
                {"EdDate", "09.12.2026"},
                {"EdFile", "rgz7.txt"}};
  for (const auto& field : fields) Find<QLineEdit>(Dialog(), field.name)->setText(QString::fromUtf8(field.text));
  EXPECT_FALSE(Box("ChPolar")->isChecked());
  Box("ChPolar")->click();
  const auto pdf = scratch_.Path() / "titled.pdf";
  PrintTo(pdf);
  ClickInDialog("BtnPdf");
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 3);
  for (const char* text : {"Студент:ИвановИ.И.", "Вариант:7", "Дата:09.12.2026", "Файлсхемы:rgz7.txt"})
    EXPECT_TRUE(pages[0].contains(QString::fromUtf8(text))) << text;
  EXPECT_FALSE(pages.join("").contains(QStringLiteral("Группа")));
  EXPECT_TRUE(pages[2].contains(QStringLiteral("Методузловыхпотенциалов(оптимальный)")));
  EXPECT_TRUE(pages[2].contains(QStringLiteral("Узелснулевымпотенциалом:")));
  // Each solution followed by its values in polar form, as the windows list them.
  for (int page : {1, 2}) {
    EXPECT_TRUE(pages[page].contains(QStringLiteral("Показательнаяформа"))) << page;
    EXPECT_TRUE(pages[page].contains(QStringLiteral("I12=3.75∠0°"))) << pages[page].toStdString();
  }
  const QSettings settings(QStringLiteral("Ohmara"), QStringLiteral("Ohmara"));
  EXPECT_EQ(settings.value("report/student").toString(), QStringLiteral("Иванов И. И."));
  EXPECT_EQ(settings.value("report/circuitFile").toString(), QStringLiteral("rgz7.txt"));
}

// A student's marked attempt follows the solution it was checked against,
// every filled cell with its mark.
TEST_F(PrintDialogTest, MarkedAttemptFollowsItsSolution) {
  SolveFiveBranches();
  MeshCurrentWindow& mesh = Windows().meshCurrentWindow();
  Find<QAction>(mesh, "SelfCheckItem")->trigger();
  SelfCheckWindow& attempt = mesh.selfCheckWindow();
  Find<QTableWidget>(attempt, "UnknownGrid")->item(0, 0)->setText("3.75");
  Find<QTableWidget>(attempt, "UnknownGrid")->item(1, 0)->setText("1.3");
  attempt.Check();
  const auto pdf = scratch_.Path() / "attempt.pdf";
  PrintTo(pdf);
  ClickInDialog("BtnPdf");
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 3);
  for (const char* text :
       {"Проверкарешениястудента", "Верно1из2(допуск1%)", "I11=3.75—верно", "I22=1.3—неверно,ответпрограммы1.25"})
    EXPECT_TRUE(pages[1].contains(QString::fromUtf8(text))) << text << "\n" << pages[1].toStdString();
  EXPECT_FALSE(pages[2].contains(QStringLiteral("Проверкарешения"))) << "no attempt at the node method";
}

// The powers of every element go to the report with the solution whose
// window shows them, line for line as its table lists them.
TEST_F(PrintDialogTest, BranchPowersFollowTheSolutionWhoseWindowShowsThem) {
  SolveFiveBranches();
  NodePotentialWindow& nodes = Windows().nodePotentialWindow();
  Find<QAction>(nodes, "BranchPowersItem")->trigger();
  const auto pdf = scratch_.Path() / "powers.pdf";
  PrintTo(pdf);
  ClickInDialog("BtnPdf");
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 3);
  EXPECT_FALSE(pages[1].contains(QStringLiteral("Мощностиветвей"))) << "the mesh window does not show them";
  EXPECT_TRUE(pages[2].contains(QStringLiteral("Мощностиветвей,ВА")));
  const auto* table = Find<QTableWidget>(nodes, "BranchPowersView");
  ASSERT_GT(table->rowCount(), 2);
  for (int row = 0; row < table->rowCount(); ++row) {
    QString line = table->item(row, 0)->text() + "=" + table->item(row, 1)->text();
    line.remove(QLatin1Char(' '));
    EXPECT_TRUE(pages[2].contains(line)) << line.toStdString() << "\n" << pages[2].toStdString();
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
