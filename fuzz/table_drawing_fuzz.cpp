// Any branch-table file drawn by "Нарисовать по таблице": a table the reader
// accepts is drawn or refused with a located message, and a drawing made
// holds one branch per row with the row's values, and its occupied cells are
// those of its branches and wires.

#include "editor/table_to_drawing.h"
#include "editor_fuzz.h"
#include "model/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ohmara;
  const std::string text = Cp1251ToUtf8(std::string(reinterpret_cast<const char*>(data), size));
  const BranchFileReading reading = ParseBranchTableText(text);
  if (!reading.ok() || reading.table.size() > 60) return 0;
  TableLayout layout;
  try {
    layout = LayOutBranchTable(reading.table);
  } catch (const EditorError& refusal) {
    FUZZ_CHECK(std::string(refusal.what()).starts_with("Строка "), "a refusal names the row");
    return 0;
  }
  const SheetDrawing& drawing = layout.drawing;
  FUZZ_CHECK(drawing.Branches().size() == reading.table.size(), "one branch per row");
  FUZZ_CHECK(fuzz::DrawnCells(drawing) == fuzz::Cells(drawing.Occupied().Cells()),
             "occupied cells are those of the branches and wires");
  const BranchTable drawn = fuzz::CheckDrawingTable(drawing, ExportDrawingTable(drawing).text);
  for (size_t r = 0; r < drawn.size(); ++r)
    for (int c = kNameColumn + 1; c < kBranchColumns; ++c)
      FUZZ_CHECK(fuzz::CellValue(drawn[r][c]) == fuzz::CellValue(reading.table[r][c]),
                 "a drawn branch keeps its row's values");
  return 0;
}
