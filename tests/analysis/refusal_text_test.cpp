#include "analysis/refusal_text.h"

#include <gtest/gtest.h>

namespace ohmara {
namespace {

// Every save of a user's file is worded by one function; the scheme and the
// drawing's table keep the words they have always had for a failed write.
TEST(SaveProblemMessage, OneWordingForEveryFileKind) {
  struct Case {
    SaveProblem problem;
    SavedFile kind;
    const char* text;
  };
  const Case cases[] = {
      {SaveProblem::None, SavedFile::Scheme, ""},
      {SaveProblem::CannotWrite, SavedFile::Other,
       "Не удалось записать файл «a». Прежнее содержимое файла не изменено."},
      {SaveProblem::CannotWrite, SavedFile::Scheme, "Не удалось сохранить схему в файл «a»; прежний файл не изменён."},
      {SaveProblem::CannotWrite, SavedFile::DrawingTable, "Не удалось записать таблицу ветвей в файл «a»."},
      {SaveProblem::NotPermitted, SavedFile::Scheme, "Нет прав на запись файла «a». Файл не изменён."},
      {SaveProblem::NotAFile, SavedFile::DrawingTable, "«a» — не файл (например, папка). Ничего не записано."},
  };
  for (const Case& c : cases) EXPECT_EQ(SaveProblemMessage(c.problem, "a", c.kind), c.text);
}

}  // namespace
}  // namespace ohmara
