#pragma once
// The command line of `ohmara`, read as GNU programs read theirs: a command
// word, long options (--zero 3, --zero=3), short ones (-z 3, -z3), "--" to
// end the options, "-" for standard output. A command is a row of a table
// (its options and operands), so further commands join as rows.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/branch_impedances.h"
#include "cli/circuit_answer.h"
#include "variants/class_variants.h"

namespace ohmara {

// A command line that cannot be obeyed as typed; exit code 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionSpec {
  const char* longName;   // "zero" for --zero
  char shortName;         // 'z' for -z, 0 for none
  const char* valueName;  // "УЗЕЛ" in the help; nullptr for a switch
  const char* help;
};

struct CommandSpec {
  const char* name;      // "solve"
  const char* operands;  // "ТАБЛИЦА" in the help; the command takes exactly one operand per word
  const char* summary;
  std::vector<OptionSpec> options;
};

// Every command, in the order the help lists them.
const std::vector<CommandSpec>& Commands();

// The words after the program's name, sorted by what they are. A command
// asked for its help (--help after it) or a bare --help/--version has no
// options or operands.
struct ParsedArguments {
  std::string command;                                       // a command's name, or "help", "version"
  std::vector<std::pair<std::string, std::string>> options;  // long name, value ("" for a switch)
  std::vector<std::string> operands;
  bool help = false;  // "ohmara solve --help"

  // The value of the last --name given, if any.
  std::optional<std::string> Option(const std::string& name) const;
};

ParsedArguments ParseArguments(const std::vector<std::string>& words);

enum class OutputFormat { Text, Json, Csv };

// What the circuit commands share: the table file, the frequency and the
// zero node, defaulting as the main window does (15 Гц, node 3).
struct CircuitRequest {
  std::string tableFile;
  FrequencySetting frequency{"15", 0};
  int zeroNode = 3;
};

struct SolveRequest {
  CircuitRequest circuit;
  std::vector<Method> methods{Method::Mesh, Method::Nodal, Method::Optimal};
  OutputFormat format = OutputFormat::Text;
};

struct SpiceRequest {
  CircuitRequest circuit;
  std::string output = "-";  // "-": standard output
};

struct ReportRequest {
  CircuitRequest circuit;
  std::vector<Method> methods{Method::Mesh, Method::Nodal};
  std::string output;  // the PDF file
  std::string scheme;  // the editor's scheme file to draw; empty: the table is drawn
};

struct VariantsRequest {
  VariantSettings settings;
  std::string folder;
};

ReportRequest ReadReportRequest(const ParsedArguments& arguments);
VariantsRequest ReadVariantsRequest(const ParsedArguments& arguments);

SolveRequest ReadSolveRequest(const ParsedArguments& arguments);
SpiceRequest ReadSpiceRequest(const ParsedArguments& arguments);

// The help of the whole program, and of one command.
std::string ProgramHelp();
std::string CommandHelp(const CommandSpec& command);
const CommandSpec& FindCommand(const std::string& name);

}  // namespace ohmara
