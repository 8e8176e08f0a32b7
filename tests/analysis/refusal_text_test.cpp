#include "analysis/refusal_text.h"

#include <gtest/gtest.h>

#include "model/errors.h"

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

// Every refusal of a circuit is worded by RefusalText: those the core words
// itself as they stand, the others from what they carry.
TEST(RefusalText, WordsEveryRefusalOfACircuit) {
  EXPECT_EQ(RefusalText(ConversionError("x", ConversionError::Kind::Float)), "«x» — не число.");
  EXPECT_EQ(RefusalText(NonFiniteValue("ω", "Частота слишком велика.")), "Частота слишком велика.");
  EXPECT_EQ(RefusalText(CircuitRefusal(CircuitRefusal::Kind::NoJunction, "нет узла")), "нет узла");
  EXPECT_TRUE(RefusalText(DivisionByZero("Y12")).starts_with("Деление на ноль при вычислении Y12.\n"));
  EXPECT_TRUE(RefusalText(SingularSystem(2)).starts_with("Система уравнений вырождена (столбец 3)"));
  EXPECT_TRUE(RefusalText(UnsolvableCircuit("ring", 4)).find("от узла 4 не приходит") != std::string::npos);
  EXPECT_EQ(RefusalText(std::runtime_error("unexpected")), "unexpected");
}

}  // namespace
}  // namespace ohmara
