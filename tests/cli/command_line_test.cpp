// The command line without any window: arguments read as GNU programs read
// them, answers equal to the methods' own, refusals worded as the windows
// word them, and the exported netlist solved by ngspice to the same currents.

#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "cli/circuit_answer.h"
#include "cli/run_command_line.h"
#include "model/branch_table_file.h"
#include "model/circuit.h"
#include "support/scratch_directory.h"
#include "support/spice_oracle.h"

namespace ohmara {
namespace {

namespace fs = std::filesystem;

const fs::path kFiveBranch = fs::path(OHMARA_CLI_SAMPLES) / "five_branch.txt";
const fs::path kBadName = fs::path(OHMARA_CLI_SAMPLES) / "bad_name.txt";

struct Outcome {
  int code;
  std::string out, err;
};

Outcome RunWords(const std::vector<std::string>& words) {
  std::ostringstream out, err;
  const int code = RunCommandLine(words, out, err);
  return {code, out.str(), err.str()};
}

TEST(CommandLine, ArgumentsAreReadAsGnuProgramsReadThem) {
  struct Case {
    std::vector<std::string> words;
    std::string zero, unit, method, table;  // "" when not given
    bool usageError;
  };
  const Case cases[] = {
      {{"solve", "t.txt", "--zero", "4", "--unit=кГц", "-m", "nodal"}, "4", "кГц", "nodal", "t.txt", false},
      {{"solve", "-z4", "-mmesh", "--", "-t.txt"}, "4", "", "mesh", "-t.txt", false},
      {{"solve", "--zero", "2", "--zero", "5", "t.txt"}, "5", "", "", "t.txt", false},
      {{"export-spice", "-o", "-", "t.txt"}, "", "", "", "t.txt", false},
      {{"solve"}, "", "", "", "", true},                            // no table
      {{"solve", "a", "b"}, "", "", "", "", true},                  // two tables
      {{"solve", "t.txt", "--zero"}, "", "", "", "", true},         // option without its value
      {{"solve", "t.txt", "--output", "x"}, "", "", "", "", true},  // an option of another command
      {{"solve", "t.txt", "--help=1"}, "", "", "", "", true},       // a switch given a value
      {{"variant", "t.txt"}, "", "", "", "", true},                 // no such command
      {{}, "", "", "", "", true},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& word : c.words) line += word + " ";
    SCOPED_TRACE(line);
    if (c.usageError) {
      EXPECT_THROW(ParseArguments(c.words), UsageError);
      continue;
    }
    const ParsedArguments parsed = ParseArguments(c.words);
    EXPECT_EQ(parsed.operands, std::vector<std::string>{c.table});
    EXPECT_EQ(parsed.Option("zero").value_or(""), c.zero);
    EXPECT_EQ(parsed.Option("unit").value_or(""), c.unit);
    EXPECT_EQ(parsed.Option("method").value_or(""), c.method);
  }
}

TEST(CommandLine, ValuesOutsideTheirChoicesAreUsageErrors) {
  for (const std::vector<std::string>& words : {std::vector<std::string>{"solve", "t", "--zero", "3x"},
                                                {"solve", "t", "--unit", "Гцы"},
                                                {"solve", "t", "--method", "fast"},
                                                {"solve", "t", "--format", "xml"}}) {
    SCOPED_TRACE(words[2] + " " + words[3]);
    const Outcome run = RunWords(words);
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find(words[3]), std::string::npos) << run.err;
  }
}

TEST(CommandLine, HelpAndVersionNeedNoTable) {
  const Outcome help = RunWords({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("Использование: ohmara"), std::string::npos);
  for (const CommandSpec& command : Commands()) EXPECT_NE(help.out.find(command.name), std::string::npos);
  const Outcome solveHelp = RunWords({"solve", "--help"});
  EXPECT_EQ(solveHelp.code, 0);
  EXPECT_NE(solveHelp.out.find("--method МЕТОД"), std::string::npos) << solveHelp.out;
  const Outcome version = RunWords({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out.rfind("ohmara ", 0), 0u);
}

// Every method solves the worked example to the same known currents, in the
// text the windows show and in the numbers of the CSV form.
TEST(CommandLine, SolveGivesTheWorkedExamplesCurrentsByEveryMethod) {
  const Outcome text = RunWords({"solve", kFiveBranch.string(), "--frequency", "50", "--zero", "3"});
  ASSERT_EQ(text.code, 0) << text.err;
  for (const char* line :
       {"Метод контурных токов", "Метод узловых потенциалов\n", "Метод узловых потенциалов оптимальный", "I12 =  3.75",
        "I23 =  2.5", "I43 =  1.25", "Мощность источников = 37.5", "1)   2->3  3->1  1->2"})
    EXPECT_NE(text.out.find(line), std::string::npos) << line << "\n" << text.out;

  const Outcome csv = RunWords({"solve", kFiveBranch.string(), "--format", "csv"});
  ASSERT_EQ(csv.code, 0) << csv.err;
  const std::map<std::string, double> known = {
      {"1->2", 3.75}, {"2->3", 2.5}, {"3->1", 3.75}, {"2->4", 1.25}, {"4->3", 1.25}};
  std::istringstream rows(csv.out);
  std::string row;
  std::getline(rows, row);
  EXPECT_EQ(row, "method,quantity,name,re,im");
  std::map<std::string, int> currentsPerMethod;
  while (std::getline(rows, row)) {
    std::vector<std::string> fields;
    std::istringstream cells(row);
    for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(cell);
    if (fields.size() != 5 || fields[1] != "branch_current") continue;
    SCOPED_TRACE(row);
    EXPECT_NEAR(std::stod(fields[3]), known.at(fields[2]), 1e-12);
    EXPECT_NEAR(std::stod(fields[4]), 0.0, 1e-12);
    ++currentsPerMethod[fields[0]];
  }
  EXPECT_EQ(currentsPerMethod, (std::map<std::string, int>{{"mesh", 5}, {"nodal", 5}, {"optimal", 5}}));

  // Node 4 joins two branches only: every method but the optimal one, which is told on stderr.
  const Outcome atPoint = RunWords({"solve", kFiveBranch.string(), "--zero", "4", "--format", "csv"});
  ASSERT_EQ(atPoint.code, 0) << atPoint.err;
  EXPECT_EQ(atPoint.out.find("optimal"), std::string::npos);
  EXPECT_NE(atPoint.out.find("nodal,node_potential,u4,0,0"), std::string::npos) << atPoint.out;
  EXPECT_NE(atPoint.err.find("Точка с нулевым потенциалом - не узел"), std::string::npos);
}

TEST(CommandLine, RefusalsAreTheWindowsMessagesWithExitCodeOne) {
  ScratchDirectory dir("ohmara-cli-refusals");
  std::ofstream(dir.Path() / "words.txt") << "2\n1->2\t1\t0\t0\tten\t0\t\n2->1\t1\t0\t0\t0\t0\t\n";
  struct Case {
    std::vector<std::string> words;
    std::string message;
  };
  const Case cases[] = {
      {{"solve", kBadName.string()}, "Ветвь 2: имя «2-3» написано неверно"},
      {{"solve", (dir.Path() / "missing.txt").string()}, "Не удалось открыть файл"},
      {{"solve", (dir.Path() / "words.txt").string()}, "строка 2: в столбце «E, В» ветви 1 стоит «ten»"},
      {{"solve", kFiveBranch.string(), "-m", "nodal", "-z", "9"}, "в ней узлы от 1 до 4."},
      {{"solve", kFiveBranch.string(), "-m", "optimal", "-z", "1"}, "Точка с нулевым потенциалом - не узел"},
      {{"solve", kFiveBranch.string(), "-f", "5O"}, "Частота"},
      {{"export-spice", kBadName.string(), "-o", (dir.Path() / "c.cir").string()}, "Ветвь 2:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const Outcome run = RunWords(c.words);
    EXPECT_EQ(run.code, kExitRefused);
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(dir.Path() / "c.cir"));
}

// The netlist the command line exports, solved by ngspice, gives the currents
// and potentials `solve` prints, on a circuit with every kind of element.
TEST(CommandLine, ExportedNetlistSolvedByNgspiceAgreesWithSolve) {
  if (!SpiceAvailable()) GTEST_SKIP() << kSpiceMissing;
  ScratchDirectory dir("ohmara-cli-spice");
  const BranchTable table = {{"1->2", "10", "30", "", "100", "30"},
                             {"2->3", "5", "", "200", ""},
                             {"3->1", "8", "12", "", "50", "-45"},
                             {"2->4", "4", "25", "", ""},
                             {"4->3", "", "", "150", "20", "90"}};
  ASSERT_TRUE(SaveBranchTableFile(dir.Path() / "t.txt", table));
  const fs::path netlist = dir.Path() / "c.cir";
  const Outcome exported =
      RunWords({"export-spice", "-f", "50", "--zero=3", "-o", netlist.string(), (dir.Path() / "t.txt").string()});
  ASSERT_EQ(exported.code, 0) << exported.err;

  const FrequencySetting frequency{"50", 0};
  const CircuitAnswer answer = SolveCircuit(table, frequency, 3, {Method::Mesh, Method::Nodal});
  std::vector<CircuitBranch> branches;
  int nodeCount = 0;
  ASSERT_EQ(ParseBranchTable(BranchNames(table), branches, nodeCount), ParseResult::Ok);
  const SpiceSolution spice = SolveSpiceFile(netlist, branches, table, frequency, nodeCount, 3);
  for (const MethodAnswer& method : answer.methods) {
    SCOPED_TRACE(MethodName(method.method));
    const double scale = LargestMagnitude(spice.currents);
    for (size_t k = 0; k < branches.size(); ++k)
      EXPECT_TRUE(AgreesWithSpice(method.branchCurrents[k], spice.currents[k], scale, spice.currentFloor))
          << answer.branchNames[k];
    for (size_t k = 0; k < method.nodes.size(); ++k)
      EXPECT_TRUE(AgreesWithSpice(method.potentials[k], spice.potentials[method.nodes[k] - 1],
                                  LargestMagnitude(spice.potentials)))
          << "u" << method.nodes[k];
  }
}

}  // namespace
}  // namespace ohmara
