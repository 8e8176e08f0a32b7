#include "cli/run_command_line.h"

#include "analysis/refusal_text.h"
#include "cli/answer_formats.h"
#include "cli/circuit_answer.h"
#include "cli/command_line.h"
#include "cli/pdf_output.h"
#include "editor/editor_error.h"
#include "editor/scheme_file.h"
#include "model/branch_table_file.h"
#include "model/install_paths.h"
#include "model/text_file.h"
#include "printing/sheet_figure.h"
#include "variants/variant_set.h"

namespace ohmara {

namespace {

BranchTable ReadTable(const std::string& fileName) {
  const BranchFileReading reading = ReadBranchTableFile(fileName);
  if (!reading.ok()) throw CommandRefusal(BranchFileReadingText(fileName, reading));
  return reading.table;
}

int NotWritten(std::ostream& err, const std::string& fileName) {
  err << "ohmara: Не удалось записать файл «" << fileName << "».\n";
  return kExitRefused;
}

int Solve(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) {
  const SolveRequest request = ReadSolveRequest(arguments);
  const CircuitRequest& circuit = request.circuit;
  const CircuitAnswer answer =
      SolveCircuit(ReadTable(circuit.tableFile), circuit.frequency, circuit.zeroNode, request.methods);
  out << FormatAnswer(answer, circuit.frequency, request.format);
  // A method left out is told beside the results, not inside a CSV table.
  for (const std::string& note : answer.notes) err << note << "\n";
  return 0;
}

int ExportSpice(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) {
  const SpiceRequest request = ReadSpiceRequest(arguments);
  const CircuitRequest& circuit = request.circuit;
  const std::string netlist = TestedSpiceNetlist(ReadTable(circuit.tableFile), circuit.frequency, circuit.zeroNode);
  if (request.output == "-") {
    out << netlist;
    return 0;
  }
  // The same bytes as the window's export writes.
  if (SaveTextFileSafely(request.output, netlist) == SaveProblem::None) return 0;
  return NotWritten(err, request.output);
}

PdfOutput& RequirePdf(PdfOutput* pdf) {
  if (!pdf) throw CommandRefusal("ohmara: запись PDF здесь недоступна.");
  return *pdf;
}

// The scheme file's drawing when one is named, else the table drawn as the
// editor draws it.
VectorFigure ReportDrawing(const ReportRequest& request, const BranchTable& table) {
  if (request.scheme.empty()) return PrintedTableDrawing(table);
  try {
    return PrintedSheetFigure(RedrawSheet(LoadSchemeFile(request.scheme)));
  } catch (const EditorError& error) {
    throw CommandRefusal(error.what());
  }
}

int Report(const ParsedArguments& arguments, std::ostream& err, PdfOutput* pdf) {
  const ReportRequest request = ReadReportRequest(arguments);
  const CircuitRequest& circuit = request.circuit;
  const BranchTable table = ReadTable(circuit.tableFile);
  ReportContent content = SolvedReport(table, circuit.frequency, circuit.zeroNode, request.methods);
  content.task.drawing = ReportDrawing(request, table);
  content.available.drawing = content.task.drawing.width > 0;
  const ReportChoices choices = PrintedParts(content, ReportChoices{});
  const bool written = RequirePdf(pdf).Write(
      request.output, [&](const PageSize& page, PageCanvas& canvas) { PrintReport(content, choices, page, canvas); });
  if (written) return 0;
  return NotWritten(err, request.output);
}

int Variants(const ParsedArguments& arguments, std::ostream& out, std::ostream& err, PdfOutput* pdf) {
  const VariantsRequest request = ReadVariantsRequest(arguments);
  PdfOutput& output = RequirePdf(pdf);
  std::vector<Variant> variants;
  try {
    variants = MakeVariants(request.settings);
  } catch (const NoSolvableVariant& error) {
    throw CommandRefusal(error.what());
  }
  const std::filesystem::path folder = request.folder;
  const std::vector<std::string> problems = WriteVariantSet(folder, variants, output);
  for (const std::string& problem : problems) err << "ohmara: " << problem << "\n";
  if (!problems.empty()) return kExitRefused;
  out << "Вариантов: " << variants.size() << " (начальное число " << request.settings.seed << "), записаны в «"
      << folder.string() << "».\n";
  return 0;
}

int Run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err, PdfOutput* pdf) {
  if (arguments.command == "help") {
    out << ProgramHelp();
    return 0;
  }
  if (arguments.command == "version") {
    out << "ohmara " << OhmaraVersion() << "\n";
    return 0;
  }
  if (arguments.help) {
    out << CommandHelp(FindCommand(arguments.command));
    return 0;
  }
  if (arguments.command == "solve") return Solve(arguments, out, err);
  if (arguments.command == "report") return Report(arguments, err, pdf);
  if (arguments.command == "variants") return Variants(arguments, out, err, pdf);
  return ExportSpice(arguments, out, err);
}

}  // namespace

bool WriteDocumentPdf(PdfOutput& pdf, const std::filesystem::path& path, const PageDocument& document) {
  return pdf.Write(path, [&](const PageSize& page, PageCanvas& canvas) { document.Render(PageScale(page), canvas); });
}

int RunCommandLine(const std::vector<std::string>& words, std::ostream& out, std::ostream& err, PdfOutput* pdf) {
  try {
    return Run(ParseArguments(words), out, err, pdf);
  } catch (const UsageError& error) {
    err << "ohmara: " << error.what() << "\nСправка: ohmara --help\n";
    return kExitUsage;
  } catch (const CommandRefusal& error) {
    err << error.what() << "\n";
    return kExitRefused;
  }
}

}  // namespace ohmara
