// A drawing of any scheme file turned into a branch table: the table reads
// back whole and is spelled as "Тест" reads it, or the conversion refuses.

#include "editor_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ohmara;
  const std::optional<SheetDrawing> drawing = fuzz::ReadScheme(std::string(reinterpret_cast<const char*>(data), size));
  if (!drawing) return 0;
  try {
    const DrawingTable table = ExportDrawingTable(*drawing);
    fuzz::CheckDrawingTable(*drawing, table.text);
  } catch (const EditorError& refusal) {
    FUZZ_CHECK(*refusal.what() != '\0', "a refusal says why");
  }
  return 0;
}
