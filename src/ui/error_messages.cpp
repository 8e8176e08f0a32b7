#include "ui/error_messages.h"

#include <QStringList>

#include "model/errors.h"

namespace ohmara {

namespace {

QString DivisionMessage(const DivisionByZero& error) {
  QString text = QStringLiteral("Деление на ноль");
  if (!error.Quantity().empty()) text += QStringLiteral(" при вычислении %1").arg(QString::fromStdString(error.Quantity()));
  return text + QStringLiteral(".\nПроверьте значения элементов ветвей и частоту: ветвь без R, L и C "
                               "или ёмкость 0 дают нулевое или бесконечное сопротивление.");
}

QString SingularMessage(const SingularSystem& error) {
  return QStringLiteral("Система уравнений вырождена (столбец %1): у неё нет единственного решения.\n"
                        "Так бывает, когда в цепи есть контур с нулевым суммарным сопротивлением "
                        "или узел, соединённый ветвями без сопротивления.")
      .arg(error.Column() + 1);
}

// "Нужно 3 независимых контура", "Нужен 1 независимый контур", "Нужно 5 независимых контуров".
QString NeededLoops(int count) {
  const int last = count % 10, lastTwo = count % 100;
  if (last == 1 && lastTwo != 11) return QStringLiteral("Нужен %1 независимый контур").arg(count);
  if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
    return QStringLiteral("Нужно %1 независимых контура").arg(count);
  return QStringLiteral("Нужно %1 независимых контуров").arg(count);
}

}  // namespace

QString ErrorMessage(const std::exception& error) {
  if (const auto* division = dynamic_cast<const DivisionByZero*>(&error)) return DivisionMessage(*division);
  if (const auto* singular = dynamic_cast<const SingularSystem*>(&error)) return SingularMessage(*singular);
  if (const auto* unsolvable = dynamic_cast<const UnsolvableCircuit*>(&error))
    return QStringLiteral("Цепь нельзя рассчитать этим методом: цепочка последовательных ветвей от узла %1 "
                          "не приходит в другой узел (например, возвращается в тот же узел). "
                          "Проверьте цепь кнопкой «Тест».")
        .arg(unsolvable->Node());
  // Refused numbers and values that are not finite come worded by the core,
  // which alone knows the branch, column or quantity they belong to.
  return QString::fromStdString(error.what());
}

QString LoopRefusalMessage(const LoopRefusal& refusal) {
  using Kind = LoopRefusal::Kind;
  const QString loop = QString::number(refusal.loop);
  switch (refusal.kind) {
    case Kind::kUnreadable:
      return QStringLiteral("Контур %1: нужны номера узлов через дефис, например 1-2-3-1.").arg(loop);
    case Kind::kTooShort:
      return QStringLiteral("Контур %1 должен пройти хотя бы по двум разным ветвям.").arg(loop);
    case Kind::kNotClosed:
      return QStringLiteral("Контур %1 не замкнут: он должен кончаться узлом, с которого начат.").arg(loop);
    case Kind::kNoNode:
      return QStringLiteral("Контур %1: узла %2 в цепи нет.").arg(loop).arg(refusal.nodeA);
    case Kind::kNoBranch:
      return QStringLiteral("Между узлами %1 и %2 нет ветви (контур %3).").arg(refusal.nodeA).arg(refusal.nodeB).arg(loop);
    case Kind::kNodeTwice:
      return QStringLiteral("Контур %1 проходит узел %2 дважды.").arg(loop).arg(refusal.nodeA);
    case Kind::kRepeats:
      return QStringLiteral("Контур %1 повторяет контур %2").arg(loop).arg(refusal.other);
    case Kind::kDependent:
      return QStringLiteral("Контур %1 выражается через предыдущие: контуры должны быть независимыми.").arg(loop);
    case Kind::kTooFew:
    case Kind::kTooMany:
      return QStringLiteral("%1, задано %2").arg(NeededLoops(refusal.needed)).arg(refusal.given);
  }
  return QString();
}

QString FileNotWrittenMessage(const QString& fileName) {
  return QStringLiteral("Не удалось записать файл «%1». Прежнее содержимое файла не изменено.").arg(fileName);
}

QString UnwrittenFilesMessage(const std::vector<std::string>& files, const QString& directory) {
  QStringList names;
  for (const std::string& file : files) names << QString::fromStdString(file);
  return QStringLiteral("Не удалось записать в папку результатов %1 файл(ы): %2.\n"
                        "Вычисления выполнены, но эти записи пропущены.")
      .arg(directory, names.join(QStringLiteral(", ")));
}

}  // namespace ohmara
