#include "analysis/refusal_text.h"

#include "model/errors.h"
#include "model/quoted_text.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

std::string DivisionText(const DivisionByZero& error) {
  std::string text = "Деление на ноль";
  if (!error.Quantity().empty()) text += " при вычислении " + error.Quantity();
  return text +
         ".\nПроверьте значения элементов ветвей и частоту: ветвь без R, L и C "
         "или ёмкость 0 дают нулевое или бесконечное сопротивление.";
}

std::string SingularText(const SingularSystem& error) {
  return "Система уравнений вырождена (столбец " + std::to_string(error.Column() + 1) +
         "): у неё нет единственного решения.\n"
         "Так бывает, когда в цепи есть контур с нулевым суммарным сопротивлением "
         "или узел, соединённый ветвями без сопротивления.";
}

std::string Quoted(const std::string& text) { return "«" + text + "»"; }

std::string FileAtLine(const std::string& name, int line) {
  return "Файл " + Quoted(name) + ", строка " + std::to_string(line);
}

// "Нужно 3 независимых контура", "Нужен 1 независимый контур", "Нужно 5 независимых контуров".
std::string NeededLoops(int count) {
  const int last = count % 10, lastTwo = count % 100;
  const std::string number = std::to_string(count);
  if (last == 1 && lastTwo != 11) return "Нужен " + number + " независимый контур";
  if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) return "Нужно " + number + " независимых контура";
  return "Нужно " + number + " независимых контуров";
}

std::string Joined(const std::vector<std::string>& parts, const std::string& between) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) text += (i > 0 ? between : "") + parts[i];
  return text;
}

// "1-2_1 или 1-2_2": the steps from nodeA to nodeB along each of `count` branches.
std::string ParallelSteps(const LoopRefusal& refusal, int count) {
  std::vector<std::string> steps;
  for (int k = 1; k <= count; ++k) steps.push_back(Format("%d-%d_%d", refusal.nodeA, refusal.nodeB, k));
  const std::string last = steps.back();
  steps.pop_back();
  return Joined(steps, ", ") + " или " + last;
}

}  // namespace

std::string LoopRefusalText(const LoopRefusal& refusal) {
  using Kind = LoopRefusal::Kind;
  const std::string loop = "Контур " + std::to_string(refusal.loop);
  const std::string nodeA = std::to_string(refusal.nodeA);
  switch (refusal.kind) {
    case Kind::Unreadable:
      return loop + ": нужны номера узлов через дефис, например 1-2-3-1.";
    case Kind::TooShort:
      return loop + " должен пройти хотя бы по двум разным ветвям.";
    case Kind::NotClosed:
      return loop + " не замкнут: он должен кончаться узлом, с которого начат.";
    case Kind::NoNode:
      return loop + ": узла " + nodeA + " в цепи нет.";
    case Kind::NoBranch:
      return "Между узлами " + nodeA + " и " + std::to_string(refusal.nodeB) + " нет ветви" +
             (refusal.parallel > 0 ? " с номером _" + std::to_string(refusal.parallel) : "") + " (контур " +
             std::to_string(refusal.loop) + ").";
    case Kind::Ambiguous:
      return loop + ": узлы " + nodeA + " и " + std::to_string(refusal.nodeB) + " соединяют несколько ветвей — " +
             Joined(refusal.choices, ", ") +
             ". Укажите ветвь номером после узла: " + ParallelSteps(refusal, static_cast<int>(refusal.choices.size())) +
             ".";
    case Kind::NodeTwice:
      return loop + " проходит узел " + nodeA + " дважды.";
    case Kind::Repeats:
      return loop + " повторяет контур " + std::to_string(refusal.other);
    case Kind::Dependent:
      return loop + " выражается через предыдущие: контуры должны быть независимыми.";
    case Kind::TooFew:
    case Kind::TooMany:
      return NeededLoops(refusal.needed) + ", задано " + std::to_string(refusal.given);
    case Kind::IdealSource:
      return "В цепи есть идеальный источник тока (ветвь " + Joined(refusal.choices, ", ") +
             "): свои контуры для неё не проверяются. Оставьте поле пустым — ответ сверится с контурами программы.";
  }
  return "";
}

std::string RefusalText(const std::exception& error) {
  const auto* refusal = dynamic_cast<const Refusal*>(&error);
  if (!refusal) return error.what();
  switch (refusal->Category()) {
    case RefusalKind::DivisionByZero:
      return DivisionText(static_cast<const DivisionByZero&>(*refusal));
    case RefusalKind::SingularSystem:
      return SingularText(static_cast<const SingularSystem&>(*refusal));
    case RefusalKind::UnsolvableCircuit:
      return "Цепь нельзя рассчитать этим методом: цепочка последовательных ветвей от узла " +
             std::to_string(static_cast<const UnsolvableCircuit&>(*refusal).Node()) +
             " не приходит в другой узел (например, возвращается в тот же узел). "
             "Проверьте цепь кнопкой «Тест».";
    // The others come worded by the core, which alone knows the branch,
    // column, file line or quantity they belong to.
    case RefusalKind::Number:
    case RefusalKind::NonFiniteValue:
    case RefusalKind::Circuit:
    case RefusalKind::Editor:
    case RefusalKind::Generator:
    case RefusalKind::Variants:
      break;
  }
  return refusal->what();
}

std::string SaveProblemMessage(SaveProblem problem, const std::string& fileName, SavedFile kind) {
  switch (problem) {
    case SaveProblem::None:
      return "";
    case SaveProblem::NotPermitted:
      return "Нет прав на запись файла «" + fileName + "». Файл не изменён.";
    case SaveProblem::NotAFile:
      return "«" + fileName + "» — не файл (например, папка). Ничего не записано.";
    case SaveProblem::Unencodable:
      return "В таблице есть знак, которого нет в кодировке Windows-1251, в которой хранится файл. Файл не записан.";
    case SaveProblem::CannotWrite:
      break;
  }
  switch (kind) {
    case SavedFile::Scheme:
      return "Не удалось сохранить схему в файл «" + fileName + "»; прежний файл не изменён.";
    case SavedFile::DrawingTable:
      return "Не удалось записать таблицу ветвей в файл «" + fileName + "».";
    case SavedFile::Other:
      break;
  }
  return "Не удалось записать файл «" + fileName + "». Прежнее содержимое файла не изменено.";
}

std::string BranchFileReadingText(const std::string& name, const BranchFileReading& reading) {
  const std::string token = QuotedText(reading.token);
  switch (reading.problem) {
    case BranchFileProblem::None:
      break;
    case BranchFileProblem::CannotOpen:
      return "Не удалось открыть файл " + Quoted(name) + ".";
    case BranchFileProblem::BadCount:
      if (token.empty()) return "Файл " + Quoted(name) + " пуст: в нём нет числа ветвей.";
      return FileAtLine(name, reading.line) + ": первым должно стоять число ветвей (целое, не меньше 0), а стоит " +
             Quoted(token) + ".";
    case BranchFileProblem::EndsEarly:
      return "Файл " + Quoted(name) + " обрывается на строке " + std::to_string(reading.line) + ": объявлено ветвей " +
             std::to_string(reading.expectedRows) + ", но " +
             (reading.column == kNameColumn ? "ветви " + std::to_string(reading.row) + " в нём нет"
                                            : "ветвь " + std::to_string(reading.row) + " записана не полностью") +
             ".";
    case BranchFileProblem::NotANumber:
      return FileAtLine(name, reading.line) + ": в столбце " + Quoted(BranchTableTitles()[reading.column]) + " ветви " +
             std::to_string(reading.row) + " стоит " + Quoted(token) + ", а это не число.";
  }
  return "";
}

std::string ZeroNodeOutsideText(const std::string& typed, int nodeCount) {
  return "Узел с нулевым потенциалом " + Quoted(QuotedText(typed)) +
         " - не узел проверенной цепи: в ней узлы от 1 до " + std::to_string(nodeCount) + ".";
}

}  // namespace ohmara
