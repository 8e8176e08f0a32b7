#include "ui/error_messages.h"

#include <QStringList>

#include "analysis/refusal_text.h"
#include "model/branch_table_file.h"
#include "model/quoted_text.h"

namespace ohmara {

QString QuotedText(const std::string& text) {
  return QString::fromStdString(ohmara::QuotedText(std::string_view(text)));
}

QString QuotedText(const QString& text) { return QuotedText(text.toStdString()); }

QString ErrorMessage(const std::exception& error) { return QString::fromStdString(RefusalText(error)); }

QString SaveProblemText(SaveProblem problem, const QString& fileName, SavedFile kind) {
  return QString::fromStdString(SaveProblemMessage(problem, fileName.toStdString(), kind));
}

QString UnwrittenFilesMessage(const std::vector<std::string>& files, const QString& directory) {
  QStringList names;
  for (const std::string& file : files) names << QString::fromStdString(file);
  return QStringLiteral(
             "Не удалось записать в папку результатов %1 файл(ы): %2.\n"
             "Вычисления выполнены, но эти записи пропущены.")
      .arg(directory, names.join(QStringLiteral(", ")));
}

}  // namespace ohmara
