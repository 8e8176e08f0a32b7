// The branch-table reader on any bytes a file may hold: it answers with a
// table or a located problem, and a table it read is written and read back
// unchanged.

#include <string>

#include "fuzz_check.h"
#include "model/branch_table_file.h"
#include "model/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ohmara;
  const std::string text = Cp1251ToUtf8(std::string(reinterpret_cast<const char*>(data), size));
  const BranchFileReading reading = ParseBranchTableText(text);
  if (!reading.ok()) {
    FUZZ_CHECK(reading.line >= 1 || reading.problem == BranchFileProblem::CannotOpen, "a problem has its line");
    return 0;
  }
  FUZZ_CHECK(static_cast<int>(reading.table.size()) == reading.expectedRows, "every announced row read");
  if (FindUnstorableCell(reading.table)) return 0;
  const BranchFileReading again = ParseBranchTableText(BranchTableFileText(reading.table));
  FUZZ_CHECK(again.ok() && again.table == reading.table, "a table read is written and read back unchanged");
  return 0;
}
