#include "cli/run_command_line.h"

#include "analysis/refusal_text.h"
#include "cli/answer_formats.h"
#include "cli/circuit_answer.h"
#include "cli/command_line.h"
#include "model/branch_table_file.h"
#include "model/install_paths.h"
#include "model/text_file.h"

namespace ohmara {

namespace {

BranchTable ReadTable(const std::string& fileName) {
  const BranchFileReading reading = ReadBranchTableFile(fileName);
  if (!reading.ok()) throw CommandRefusal(BranchFileReadingText(fileName, reading));
  return reading.table;
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
  if (SaveTextFileAtomically(request.output, netlist)) return 0;
  err << "ohmara: Не удалось записать файл «" << request.output << "».\n";
  return kExitRefused;
}

int Run(const ParsedArguments& arguments, std::ostream& out, std::ostream& err) {
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
  return ExportSpice(arguments, out, err);
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  try {
    return Run(ParseArguments(words), out, err);
  } catch (const UsageError& error) {
    err << "ohmara: " << error.what() << "\nСправка: ohmara --help\n";
    return kExitUsage;
  } catch (const CommandRefusal& error) {
    err << error.what() << "\n";
    return kExitRefused;
  }
}

}  // namespace ohmara
