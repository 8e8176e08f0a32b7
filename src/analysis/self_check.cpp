#include "analysis/self_check.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "analysis/branch_impedances.h"

namespace ohmara {

namespace {

constexpr char kHeading[] = "Ohmara self-check 1";
const std::string kAngleSign = "\u2220";
constexpr char kAngleInFile[] = "/_";

const char* MethodKey(Method method) {
  switch (method) {
    case Method::Mesh:
      return "mesh";
    case Method::Nodal:
      return "nodal";
    case Method::Optimal:
      return "optimal";
  }
  return "";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// A cell as it stands in the file: on one line, no tabs, ∠ spelled in ASCII.
std::string FileCell(const std::string& cell) {
  std::string text = Replaced(cell, kAngleSign, kAngleInFile);
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
  return text;
}

std::string JoinedCells(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t k = 0; k < cells.size(); ++k) line.append(k ? "\t" : "").append(FileCell(cells[k]));
  return line + "\n";
}

// A column is written as one cell a line.
std::string ColumnText(const char* key, const std::vector<std::string>& cells) {
  std::string text = std::string(key) + "\t" + std::to_string(cells.size()) + "\n";
  for (const std::string& cell : cells) text += FileCell(cell) + "\n";
  return text;
}

std::vector<std::string> SplitCells(const std::string& line) {
  std::vector<std::string> cells(1);
  for (char c : line) {
    if (c == '\t') cells.emplace_back();
    else cells.back() += c;
  }
  for (std::string& cell : cells) cell = Replaced(cell, kAngleInFile, kAngleSign);
  return cells;
}

// Reads the file line by line; any fault stops it at the line it stands on.
class AttemptParser {
 public:
  explicit AttemptParser(const std::string& text) {
    size_t start = 0;
    while (start <= text.size()) {
      const size_t end = std::min(text.find('\n', start), text.size());
      lines_.push_back(text.substr(start, end - start));
      start = end + 1;
    }
  }

  bool Line(std::string& line) {
    if (next_ >= lines_.size()) return false;
    line = lines_[next_++];
    return true;
  }
  int LineNumber() const { return static_cast<int>(next_); }

  // "key<TAB>count" with a count of at most `limit`.
  bool Count(const char* key, int limit, int& count) {
    std::string line;
    if (!Line(line)) return false;
    const std::vector<std::string> cells = SplitCells(line);
    return cells.size() == 2 && cells[0] == key && Number(cells[1], limit, count);
  }

  bool Column(const char* key, std::vector<std::string>& cells) {
    int count = 0;
    if (!Count(key, kMaxCells, count)) return false;
    cells.assign(count, std::string());
    for (std::string& cell : cells)
      if (!Line(cell)) return false;
    for (std::string& cell : cells) cell = Replaced(cell, kAngleInFile, kAngleSign);
    return true;
  }

  static bool Number(const std::string& text, int limit, int& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && value >= 0 && value <= limit;
  }

  static constexpr int kMaxCells = 10000;

 private:
  std::vector<std::string> lines_;
  size_t next_ = 0;
};

bool ReadMethod(const std::string& line, Method& method) {
  for (Method candidate : {Method::Mesh, Method::Nodal, Method::Optimal}) {
    if (line == std::string("method\t") + MethodKey(candidate)) {
      method = candidate;
      return true;
    }
  }
  return false;
}

bool ReadTolerance(const std::string& line, Tolerance& tolerance) {
  const std::vector<std::string> cells = SplitCells(line);
  if (cells.size() != 3 || cells[0] != "tolerance") return false;
  if (cells[1] == "percent") tolerance.kind = Tolerance::Kind::Percent;
  else if (cells[1] == "digits") tolerance.kind = Tolerance::Kind::SignificantDigits;
  else return false;
  const Answer amount = ReadAnswer(cells[2]);
  if (amount.kind != Answer::Kind::Value || amount.value.im != 0.0 || !(amount.value.re > 0.0)) return false;
  tolerance.amount = amount.value.re;
  return true;
}

bool ReadForm(AttemptParser& parser, AttemptForm& form) {
  std::string line;
  if (!parser.Line(line) || line != kHeading) return false;
  if (!parser.Line(line) || !ReadMethod(line, form.method)) return false;
  if (!parser.Line(line) || !ReadTolerance(line, form.tolerance)) return false;
  std::vector<std::string> loops;
  if (!parser.Column("loops", loops)) return false;
  for (const std::string& loop : loops) form.ownLoops += (form.ownLoops.empty() ? "" : "\n") + loop;
  int rows = 0;
  if (!parser.Count("matrix", AttemptParser::kMaxCells, rows)) return false;
  form.matrix.assign(rows, {});
  for (std::vector<std::string>& row : form.matrix) {
    if (!parser.Line(line)) return false;
    row = SplitCells(line);
    if (static_cast<int>(row.size()) != rows) return false;
  }
  if (!parser.Column("sources", form.sources) || !parser.Column("unknowns", form.unknowns) ||
      !parser.Column("currents", form.branchCurrents))
    return false;
  if (!parser.Line(line) || line != "powers" || !parser.Line(line)) return false;
  const std::vector<std::string> powers = SplitCells(line);
  if (powers.size() != 2) return false;
  form.sourcePower = powers[0];
  form.consumedPower = powers[1];
  // Nothing but blank lines may follow.
  while (parser.Line(line))
    if (!line.empty()) return false;
  return true;
}

CellMark MarkCell(const std::string& cell, Complex expected, double scale, const Tolerance& tolerance,
                  AttemptMarks& marks) {
  const Answer answer = ReadAnswer(cell);
  CellMark mark;
  mark.expected = expected;
  if (answer.kind == Answer::Kind::Blank) return mark;
  ++marks.filled;
  if (answer.kind == Answer::Kind::Unreadable) {
    mark.kind = CellMark::Kind::Unreadable;
    return mark;
  }
  mark.difference = RelativeDifference(answer.value, expected, scale);
  mark.kind = IsRight(answer.value, expected, scale, tolerance) ? CellMark::Kind::Right : CellMark::Kind::Wrong;
  if (mark.kind == CellMark::Kind::Right) ++marks.right;
  return mark;
}

std::vector<CellMark> MarkColumn(const std::vector<std::string>& cells, const std::vector<Complex>& expected,
                                 const Tolerance& tolerance, AttemptMarks& marks) {
  const double scale = LargestMagnitude(expected);
  std::vector<CellMark> column;
  for (size_t k = 0; k < cells.size() && k < expected.size(); ++k)
    column.push_back(MarkCell(cells[k], expected[k], scale, tolerance, marks));
  return column;
}

}  // namespace

AttemptForm EmptyAttempt(Method method, int equations, int unknowns, int branches) {
  AttemptForm form;
  form.method = method;
  form.matrix.assign(equations, std::vector<std::string>(equations));
  form.sources.assign(equations, std::string());
  form.unknowns.assign(unknowns, std::string());
  form.branchCurrents.assign(branches, std::string());
  return form;
}

ExpectedSolution WithOwnLoops(const ExpectedSolution& program, const LoopCurrentSolution& own) {
  ExpectedSolution expected = program;
  const size_t count = own.loopCurrents.size();
  expected.matrix.assign(count, {});
  expected.sources.assign(count, Complex());
  for (size_t p = 0; p < count; ++p) {
    expected.matrix[p].assign(own.system[p].begin(), own.system[p].begin() + static_cast<long>(count));
    expected.sources[p] = own.system[p][count];
  }
  expected.unknowns = own.loopCurrents;
  return expected;
}

namespace {

// The square part of an augmented system and its last column.
void SplitSystem(const ComplexMatrix& system, ExpectedSolution& expected) {
  const size_t count = system.size();
  for (const std::vector<Complex>& row : system) {
    expected.matrix.emplace_back(row.begin(), row.begin() + static_cast<long>(count));
    expected.sources.push_back(row[count]);
  }
}

SelfCheckSubject SubjectOf(Method method, const CircuitState& circuit, const ComplexMatrix& system) {
  SelfCheckSubject subject;
  subject.method = method;
  SplitSystem(system, subject.program);
  for (const CircuitBranch& branch : circuit.Branches) subject.branchNames.push_back(BranchLabel("I", branch));
  subject.branches = circuit.Branches;
  subject.nodeCount = circuit.NodeCount;
  return subject;
}

}  // namespace

SelfCheckSubject MeshSelfCheck(const CircuitState& circuit, const MeshSolution& solution) {
  SelfCheckSubject subject = SubjectOf(Method::Mesh, circuit, solution.system);
  subject.program.unknowns = solution.loopCurrents;
  for (size_t p = 0; p < solution.loopCurrents.size(); ++p)
    subject.unknownNames.push_back(LoopCurrentName(static_cast<int>(p)));
  subject.program.branchCurrents = solution.branchCurrents;
  subject.program.sourcePower = solution.source;
  subject.program.consumedPower = solution.consumed;
  return subject;
}

SelfCheckSubject NodeSelfCheck(Method method, const CircuitState& circuit, const NodalSolution& solution) {
  SelfCheckSubject subject = SubjectOf(method, circuit, solution.system);
  subject.program.unknowns = solution.Potentials;
  for (int node : solution.Nodes) subject.unknownNames.push_back(PotentialName(node));
  subject.program.branchCurrents = solution.Currents;
  subject.program.sourcePower = solution.SourcePower;
  subject.program.consumedPower = solution.ConsumedPower;
  return subject;
}

AttemptMarks MarkAttempt(const AttemptForm& form, const ExpectedSolution& expected) {
  AttemptMarks marks;
  const Tolerance& tolerance = form.tolerance;
  double matrixScale = 0.0;
  for (const std::vector<Complex>& row : expected.matrix) matrixScale = std::max(matrixScale, LargestMagnitude(row));
  for (size_t p = 0; p < form.matrix.size() && p < expected.matrix.size(); ++p) {
    std::vector<CellMark>& row = marks.matrix.emplace_back();
    for (size_t q = 0; q < form.matrix[p].size() && q < expected.matrix[p].size(); ++q)
      row.push_back(MarkCell(form.matrix[p][q], expected.matrix[p][q], matrixScale, tolerance, marks));
  }
  marks.sources = MarkColumn(form.sources, expected.sources, tolerance, marks);
  marks.unknowns = MarkColumn(form.unknowns, expected.unknowns, tolerance, marks);
  marks.branchCurrents = MarkColumn(form.branchCurrents, expected.branchCurrents, tolerance, marks);
  const double powerScale = LargestMagnitude({expected.sourcePower, expected.consumedPower});
  marks.sourcePower = MarkCell(form.sourcePower, expected.sourcePower, powerScale, tolerance, marks);
  marks.consumedPower = MarkCell(form.consumedPower, expected.consumedPower, powerScale, tolerance, marks);
  return marks;
}

namespace {

// What a student typed, cut to fit a line of the report.
std::string Shortened(const std::string& typed) {
  constexpr size_t kLongest = 24;
  if (typed.size() <= kLongest) return typed;
  size_t cut = kLongest;
  while (cut > 0 && (static_cast<unsigned char>(typed[cut]) & 0xC0) == 0x80) --cut;
  return typed.substr(0, cut) + "…";
}

void AddMarkedLine(std::vector<std::string>& lines, const std::string& name, const std::string& typed,
                   const CellMark& mark) {
  if (mark.kind == CellMark::Kind::Blank) return;
  std::string line = name + " = " + Shortened(typed) + " — ";
  if (mark.kind == CellMark::Kind::Right) line += "верно";
  else if (mark.kind == CellMark::Kind::Unreadable) line += "не прочитано";
  else line += "неверно, ответ программы" + ComplexToText(mark.expected);
  lines.push_back(line);
}

// "Z12", "E3": a letter and its indices, appended in place.
std::string Numbered(const std::string& letter, size_t row, size_t column = 0) {
  std::string name = letter;
  name.append(std::to_string(row));
  if (column > 0) name.append(std::to_string(column));
  return name;
}

std::string ToleranceText(const Tolerance& tolerance) {
  char amount[32];
  const auto end = std::to_chars(amount, amount + sizeof amount, tolerance.amount).ptr;
  const std::string number(amount, end);
  return tolerance.kind == Tolerance::Kind::Percent ? "допуск " + number + " %" : number + " значащих цифр";
}

}  // namespace

std::vector<std::string> AttemptReportLines(const SelfCheckSubject& subject, const AttemptForm& form,
                                            const AttemptMarks& marks) {
  const bool mesh = subject.method == Method::Mesh;
  std::vector<std::string> lines{"Верно " + std::to_string(marks.right) + " из " + std::to_string(marks.filled) + " (" +
                                 ToleranceText(form.tolerance) + ")"};
  if (mesh && !form.ownLoops.empty() && form.ownLoops.find_first_not_of(" \n\r") != std::string::npos)
    lines.push_back("Свои контуры: " + Shortened(form.ownLoops));
  const std::string matrix = mesh ? "Z" : "Y";
  for (size_t p = 0; p < marks.matrix.size(); ++p)
    for (size_t q = 0; q < marks.matrix[p].size(); ++q)
      AddMarkedLine(lines, Numbered(matrix, p + 1, q + 1), form.matrix[p][q], marks.matrix[p][q]);
  for (size_t p = 0; p < marks.sources.size(); ++p)
    AddMarkedLine(lines, Numbered(mesh ? "E" : "J", p + 1), form.sources[p], marks.sources[p]);
  for (size_t k = 0; k < marks.unknowns.size(); ++k)
    AddMarkedLine(lines, subject.unknownNames[k], form.unknowns[k], marks.unknowns[k]);
  for (size_t k = 0; k < marks.branchCurrents.size(); ++k)
    AddMarkedLine(lines, subject.branchNames[k], form.branchCurrents[k], marks.branchCurrents[k]);
  AddMarkedLine(lines, "Мощность источников", form.sourcePower, marks.sourcePower);
  AddMarkedLine(lines, "Потребляемая мощность", form.consumedPower, marks.consumedPower);
  return lines;
}

std::string AttemptFileText(const AttemptForm& form) {
  std::string text = std::string(kHeading) + "\nmethod\t" + MethodKey(form.method) + "\n";
  const bool percent = form.tolerance.kind == Tolerance::Kind::Percent;
  char amount[32];
  const auto end = std::to_chars(amount, amount + sizeof amount, form.tolerance.amount).ptr;
  text += std::string("tolerance\t") + (percent ? "percent" : "digits") + "\t" + std::string(amount, end) + "\n";
  std::vector<std::string> loops;
  for (const std::string& line : SplitCells(Replaced(form.ownLoops, "\n", "\t")))
    if (line.find_first_not_of(" \r") != std::string::npos) loops.push_back(line);
  text += ColumnText("loops", loops);
  text += "matrix\t" + std::to_string(form.matrix.size()) + "\n";
  for (const std::vector<std::string>& row : form.matrix) text += JoinedCells(row);
  text += ColumnText("sources", form.sources) + ColumnText("unknowns", form.unknowns) +
          ColumnText("currents", form.branchCurrents);
  return text + "powers\n" + JoinedCells({form.sourcePower, form.consumedPower});
}

AttemptRead ReadAttemptText(const std::string& text) {
  AttemptParser parser(text);
  AttemptForm form;
  if (!ReadForm(parser, form)) return {std::nullopt, std::max(parser.LineNumber(), 1)};
  return {std::move(form), 0};
}

}  // namespace ohmara
