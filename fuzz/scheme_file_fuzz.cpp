// The scheme-file reader on any bytes: it answers with a drawing or a refusal
// naming the file and the line, and a drawing it read is saved and read back
// unchanged.

#include "editor_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ohmara;
  const std::optional<SheetDrawing> drawing = fuzz::ReadScheme(std::string(reinterpret_cast<const char*>(data), size));
  if (!drawing) return 0;
  const std::string saved = SchemeFileText(*drawing);
  const std::optional<SheetDrawing> again = fuzz::ReadScheme(saved);
  FUZZ_CHECK(again.has_value(), "a saved drawing loads");
  FUZZ_CHECK(fuzz::SameDrawing(*drawing, *again), "a drawing is saved and loaded back unchanged");
  FUZZ_CHECK(SchemeFileText(*again) == saved, "saving again writes the same text");
  return 0;
}
