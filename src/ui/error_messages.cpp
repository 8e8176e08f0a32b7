#include "ui/error_messages.h"

#include <QStringList>

#include "model/branch_table_file.h"
#include "model/errors.h"
#include "model/quoted_text.h"

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

}  // namespace

QString QuotedText(const std::string& text) {
  return QString::fromStdString(ohmara::QuotedText(std::string_view(text)));
}

QString QuotedText(const QString& text) { return QuotedText(text.toStdString()); }

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

QString FileNotWrittenMessage(const QString& fileName) {
  return QStringLiteral("Не удалось записать файл «%1». Прежнее содержимое файла не изменено.").arg(fileName);
}

QString SaveProblemText(SaveProblem problem, const QString& fileName) {
  return QString::fromStdString(SaveProblemMessage(problem, fileName.toStdString()));
}

QString UnwrittenFilesMessage(const std::vector<std::string>& files, const QString& directory) {
  QStringList names;
  for (const std::string& file : files) names << QString::fromStdString(file);
  return QStringLiteral("Не удалось записать в папку результатов %1 файл(ы): %2.\n"
                        "Вычисления выполнены, но эти записи пропущены.")
      .arg(directory, names.join(QStringLiteral(", ")));
}

}  // namespace ohmara
