// Random sequences of what a student does in the circuit editor: choose a
// tool, press on the sheet (often at a terminal), accept the branch dialog,
// "Del", draw a small table, save and load. After every step the occupied
// cells are exactly those of the drawing's branches and wires, and a save
// and load keeps the drawing and its table.

#include <unistd.h>

#include <filesystem>

#include "editor/sheet_editor.h"
#include "editor_fuzz.h"
#include "model/text_file.h"

namespace {

using namespace ohmara;

class Steps {
 public:
  Steps(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Done() const { return at_ >= size_; }
  int Next() { return at_ < size_ ? data_[at_++] : 0; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// The one scheme file of the process, removed when it ends.
class SchemeFile {
 public:
  SchemeFile() {
    const std::filesystem::path directory =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string name = "ohmara_editor_fuzz_";
    name += std::to_string(getpid());
    path_ = directory / (name + ".sch");
  }
  ~SchemeFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const std::filesystem::path& SchemePath() {
  static const SchemeFile file;
  return file.Path();
}

void PressAt(SheetEditor& editor, Steps& steps, int x, int y) {
  const PressOutcome outcome = editor.Press(x, y);
  if (outcome.result != PressResult::NeedElementValues) return;
  const int kind = steps.Next();
  ElementValues values;
  if (kind & 1) values.R = steps.Next() % 50;
  if (kind & 2) values.L = steps.Next() / 10.0;
  if (kind & 4) values.C = steps.Next() % 7;
  if (kind & 8) values.E = steps.Next() - 128, values.Angle = steps.Next() - 90;
  editor.PlaceBranch(*outcome.placement, values);
}

// A press within the third of a branch next to one of its terminals.
void PressNearTerminal(SheetEditor& editor, Steps& steps) {
  const auto& branches = editor.Drawing().Branches();
  const int which = steps.Next();
  const int offset = 5 + steps.Next() % 30;
  if (branches.empty()) return;
  const SheetBranch& b = branches[(which >> 1) % branches.size()];
  const bool start = (which & 1) == 0;
  const int x = b.Vertical ? b.X1 : (start ? b.X1 + offset : b.X2 - offset);
  const int y = !b.Vertical ? b.Y1 : (start ? b.Y1 + offset : b.Y2 - offset);
  PressAt(editor, steps, x, y);
}

// The editor keeps a terminal picked before "Del" or a drawn table and joins
// the next pick to it (a known fault, reported, in the editor's hands); the
// harness picks anew after those steps, so a run goes on to other faults.
void ForgetPickedTerminal(SheetEditor& editor) {
  if (editor.Mode() == SheetMode::PickSecondTerminal) editor.SelectTool(SheetTool::Connect);
}

void DrawSmallTable(SheetEditor& editor, Steps& steps) {
  BranchTable table;
  const int rows = steps.Next() % 6;
  for (int r = 0; r < rows; ++r) {
    const int from = 1 + steps.Next() % 5;
    const int to = 1 + steps.Next() % 5;
    table.push_back({std::to_string(from) + "->" + std::to_string(to), std::to_string(steps.Next() % 9), "0", "0",
                     std::to_string(steps.Next() % 3), "0"});
  }
  try {
    editor.DrawTable(table);
  } catch (const EditorError&) {
    return;  // a branch from a node to itself is refused before anything changes
  }
  ForgetPickedTerminal(editor);
}

// Saved as SaveScheme saves, less its flush to disk, which would make every
// run wait for the disk.
void SaveAndLoad(SheetEditor& editor) {
  const SheetDrawing before = editor.Drawing();
  const std::string table = ExportDrawingTable(before).text;
  FUZZ_CHECK(WriteTextFile(SchemePath(), SchemeFileText(before)), "the scheme file is written");
  editor.LoadScheme(SchemePath());
  FUZZ_CHECK(fuzz::SameDrawing(before, editor.Drawing()), "a save and a load keep the drawing");
  FUZZ_CHECK(ExportDrawingTable(editor.Drawing()).text == table, "a save and a load keep the drawing's table");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SheetEditor editor;
  Steps steps(data, size);
  while (!steps.Done()) {
    switch (steps.Next() % 8) {
      case 0:
        editor.SelectTool(static_cast<SheetTool>(steps.Next() % 4));
        break;
      case 1:
      case 2: {
        const int high = steps.Next();
        const int x = (high << 2 | (steps.Next() & 3)) % 900;
        PressAt(editor, steps, x, steps.Next() * 5 % 660);
        break;
      }
      case 3:
      case 4:
        PressNearTerminal(editor, steps);
        break;
      case 5:
        editor.Clear();
        ForgetPickedTerminal(editor);
        break;
      case 6:
        DrawSmallTable(editor, steps);
        break;
      case 7:
        SaveAndLoad(editor);
        break;
    }
    FUZZ_CHECK(fuzz::DrawnCells(editor.Drawing()) == fuzz::Cells(editor.Drawing().Occupied().Cells()),
               "occupied cells are those of the branches and wires");
  }
  return 0;
}
