#include "analysis/linear_solver.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "analysis/finite_results.h"
#include "model/errors.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

// Room for one trace entry: two numbers of at most width 6 and their signs,
// "i" and a tab.
constexpr size_t kEntryRoom = 2 * (6 + kFixedTextRoom) + 4;

// One complex value of the trace: the real part by "%<realWidth>.3lf", then
// "+%<plusWidth>.3lfi\t" for an imaginary part >= 0 (-0 included, printed
// "+-0.000" as printf prints it) or "%4.3lfi\t" for a negative one.
char* WriteTraceValue(char* out, Complex z, int realWidth, int plusWidth) {
  out = WriteFixed(out, z.re, {realWidth, 3});
  if (z.im >= 0.0) {
    *out++ = '+';
    out = WriteFixed(out, z.im, {plusWidth, 3});
  } else {
    out = WriteFixed(out, z.im, {4, 3});
  }
  *out++ = 'i';
  *out++ = '\t';
  return out;
}

// Most entries of an elimination print as zero in both parts: exact zeros
// of the structure, and the rounding residue of eliminated entries. Their
// text depends only on the signs and on which part is exactly zero (-0
// prints "-0.000", an imaginary -0 even "+-0.000"), so it is written once
// per class by WriteTraceValue itself and then copied.
class ZeroEntryTexts {
 public:
  // The class of an entry whose parts both print as "0.000", or -1.
  static int ClassOf(Complex z) {
    if (!(std::fabs(z.re) < kPrintsAsZero && std::fabs(z.im) < kPrintsAsZero)) return -1;
    return PartClass(z.re) * 4 + PartClass(z.im);
  }

  // Copies the text of class `c` at `out`, which has the room of an entry;
  // returns the end. A copy of fixed size is a few instructions, where one
  // of the text's own length is a call.
  char* Copy(char* out, int c) const {
    if (lengths_[c] > kFixedCopy) [[unlikely]]
      return std::copy_n(texts_[c].data(), lengths_[c], out);
    std::memcpy(out, texts_[c].data(), kFixedCopy);
    return out + lengths_[c];
  }

  // Copies the text of `entries` exact zeros (0 + 0i) in a row, at `out`.
  char* CopyZeros(char* out, int entries) const {
    return std::copy_n(zeroRun_.data(), static_cast<size_t>(entries) * lengths_[0], out);
  }

  // Writes the texts for the widths of a line of `count` entries, unless
  // they are written already.
  void Prepare(int realWidth, int plusWidth, int count) {
    if (realWidth != realWidth_ || plusWidth != plusWidth_) {
      realWidth_ = realWidth;
      plusWidth_ = plusWidth;
      zeroRun_.clear();
      for (int re = 0; re < 4; ++re) {
        for (int im = 0; im < 4; ++im) {
          const Complex sample(Representative(re), Representative(im));
          char* const text = texts_[re * 4 + im].data();
          lengths_[re * 4 + im] = static_cast<size_t>(WriteTraceValue(text, sample, realWidth, plusWidth) - text);
        }
      }
    }
    while (zeroRun_.size() < static_cast<size_t>(count) * lengths_[0]) zeroRun_.append(texts_[0].data(), lengths_[0]);
  }

 private:
  // Below half a unit of the third decimal by a safe margin: such a part
  // rounds to 0 whatever its last bits.
  static constexpr double kPrintsAsZero = 0.00049;
  static constexpr size_t kFixedCopy = 32;

  // 0 for +0, 1 for -0, 2 for a positive value, 3 for a negative one.
  static int PartClass(double x) { return (x != 0.0) * 2 + std::signbit(x); }
  static double Representative(int partClass) {
    const double magnitude = partClass >= 2 ? 1e-300 : 0.0;
    return partClass % 2 ? -magnitude : magnitude;
  }

  int realWidth_ = -1;
  int plusWidth_ = -1;
  std::array<std::array<char, kEntryRoom>, 16> texts_{};
  std::array<size_t, 16> lengths_{};
  std::string zeroRun_;  // the text of class 0 repeated: exact zeros come in long runs
};

// How many of values[0..count) from the first on are exactly 0 + 0i.
int ExactZeroRun(const Complex* values, int count) {
  int run = 0;
  while (run < count && (std::bit_cast<uint64_t>(values[run].re) | std::bit_cast<uint64_t>(values[run].im)) == 0) ++run;
  return run;
}

// Where the trace goes: a text in memory with "\n" line ends, or a results
// file with CR LF. A file's lines are formatted straight into the file
// stream's buffer and reach the file as they are produced; no more than a
// block is ever held, and the trace is ASCII and needs no conversion.
class TraceSink {
 public:
  explicit TraceSink(std::string& text) : text_(&text), lineEnd_("\n") {}
  explicit TraceSink(ResultsDirectory::Rewriting& file) : lineEnd_("\r\n"), file_(&file) {}
  // A sink that wants nothing: the elimination alone.
  TraceSink() = default;

  // False when nothing would reach the file: the formatting can be skipped.
  bool Wanted() const { return file_ ? file_->Writing() : text_ != nullptr; }

  // One line: every value as a trace entry, then the line end.
  void Line(const Complex* values, int count, int realWidth, int plusWidth) {
    if (!Wanted()) return;
    const size_t room = static_cast<size_t>(count) * kEntryRoom + lineEnd_.size();
    char* const start = Room(room);
    zeros_.Prepare(realWidth, plusWidth, count);
    char* end = start;
    for (int j = 0; j < count;) {
      if (const int zeros = ExactZeroRun(values + j, count - j); zeros > 0) {
        end = zeros_.CopyZeros(end, zeros);
        j += zeros;
        continue;
      }
      const int zeroClass = ZeroEntryTexts::ClassOf(values[j]);
      end = zeroClass >= 0 ? zeros_.Copy(end, zeroClass) : WriteTraceValue(end, values[j], realWidth, plusWidth);
      ++j;
    }
    Commit(std::copy(lineEnd_.begin(), lineEnd_.end(), end));
  }
  void EmptyLine() {
    if (!Wanted()) return;
    Commit(std::copy(lineEnd_.begin(), lineEnd_.end(), Room(lineEnd_.size())));
  }

 private:
  char* Room(size_t size) {
    if (file_) return file_->Room(size);
    if (line_.size() < size) line_.resize(size);
    return line_.data();
  }
  void Commit(const char* end) {
    if (file_) file_->Commit(end);
    else text_->append(line_.data(), static_cast<size_t>(end - line_.data()));
  }

  std::string* text_ = nullptr;
  std::string_view lineEnd_;
  ResultsDirectory::Rewriting* file_ = nullptr;
  std::vector<char> line_;
  ZeroEntryTexts zeros_;
};

void TraceMatrix(TraceSink& sink, const ComplexMatrix& rows, int n) {
  if (!sink.Wanted()) return;
  for (int i = 0; i < n; ++i) sink.Line(rows[i].data(), n + 1, 6, 5);
  sink.EmptyLine();
}

void CheckShape(const ComplexMatrix& rows, int n) {
  if (n < 0 || rows.size() < static_cast<size_t>(n)) throw std::invalid_argument("SolveLinearSystem: too few rows");
  for (int i = 0; i < n; ++i)
    if (rows[i].size() < static_cast<size_t>(n) + 1) throw std::invalid_argument("SolveLinearSystem: row too short");
}

// Rows are exchanged only for an exactly zero pivot, with the first later row
// that has a non-zero entry in the column; there is no pivoting by magnitude,
// so the trace shows the steps a student does by hand.
void ExchangeForZeroPivot(ComplexMatrix& rows, int n, int c) {
  if (!IsZero(rows[c][c])) return;
  for (int r = c + 1; r < n; ++r) {
    if (!IsZero(rows[r][c])) {
      std::swap(rows[c], rows[r]);
      return;
    }
  }
}

void NormaliseRow(std::vector<Complex>& row, int n, int c) {
  const Complex g = Complex(1.0, 0.0) / row[c];
  for (int j = 0; j <= n; ++j) row[j] = row[j] * g;
}

// target + f·source, entry by entry. The product is written out with the
// operands in the order of Complex's own multiplication, so the results are
// the same bits; inline, the O(n³) loop runs several times faster than
// through the out-of-line operator.
void AddMultiple(std::vector<Complex>& target, Complex f, const std::vector<Complex>& source, int n) {
  for (int j = 0; j <= n; ++j) {
    const Complex s = source[j];
    target[j].re = target[j].re + (f.re * s.re - f.im * s.im);
    target[j].im = target[j].im + (f.re * s.im + f.im * s.re);
  }
}

// AddMultiple for a factor that is exactly zero, as most factors of a
// sparse system are: every product is then a zero, which leaves each entry
// as it is, except that -0 plus +0 makes +0 (and the trace shows the sign
// of a zero). So only the -0 parts are computed, by the same expression.
void AddZeroMultiple(std::vector<Complex>& target, Complex f, const std::vector<Complex>& source, int n) {
  constexpr uint64_t kMinusZero = 1ULL << 63;
  for (int j = 0; j <= n; ++j) {
    const Complex s = source[j];
    if (std::bit_cast<uint64_t>(target[j].re) == kMinusZero) target[j].re = target[j].re + (f.re * s.re - f.im * s.im);
    if (std::bit_cast<uint64_t>(target[j].im) == kMinusZero) target[j].im = target[j].im + (f.re * s.im + f.im * s.re);
  }
}

// Every changed row is checked while it is at hand; a zero factor changes
// nothing that could overflow.
void EliminateColumn(ComplexMatrix& rows, int n, int c) {
  for (int h = 0; h < n; ++h) {
    if (h == c) continue;
    const Complex f = (rows[h][c] / rows[c][c]) * -1.0;
    if (IsZero(f)) {
      AddZeroMultiple(rows[h], f, rows[c], n);
    } else {
      AddMultiple(rows[h], f, rows[c], n);
      RequireFiniteElimination(rows[h], n, c);
    }
  }
}

// A pivot still 0 + 0i after the row search makes the system unsolvable
// here. A step that overflows is refused before it is traced, so neither the
// trace nor the solution ever holds an infinity or NaN.
void ReduceColumn(ComplexMatrix& rows, int n, int c) {
  ExchangeForZeroPivot(rows, n, c);
  if (IsZero(rows[c][c])) throw SingularSystem(c);
  try {
    NormaliseRow(rows[c], n, c);
    RequireFiniteElimination(rows[c], n, c);
    EliminateColumn(rows, n, c);
  } catch (const DivisionByZero&) {
    throw SingularSystem(c);
  }
}

// Entries that are rounding residue of an exact zero become exactly 0, so the
// windows show " 0" rather than a value of order 1e-16.
Complex Snapped(Complex z) {
  if (std::fabs(z.re) < 1e-10 && std::fabs(z.im) < 1e-10) return {};
  return z;
}

void TraceSolution(TraceSink& sink, const std::vector<Complex>& solution) {
  if (!sink.Wanted()) return;
  sink.EmptyLine();
  sink.Line(solution.data(), static_cast<int>(solution.size()), 4, 4);
  sink.EmptyLine();
  sink.EmptyLine();
}

// On SingularSystem the matrices before the failing column are already in
// the sink.
std::vector<Complex> SolveTraced(ComplexMatrix& rows, int n, TraceSink& sink) {
  CheckShape(rows, n);
  TraceMatrix(sink, rows, n);
  for (int c = 0; c < n; ++c) {
    ReduceColumn(rows, n, c);
    TraceMatrix(sink, rows, n);
  }
  std::vector<Complex> solution(n);
  for (int i = 0; i < n; ++i) solution[i] = Snapped(rows[i][n]);
  TraceSolution(sink, solution);
  return solution;
}

}  // namespace

void AppendTraceMatrix(std::string& trace, const ComplexMatrix& rows, int n) {
  TraceSink sink(trace);
  TraceMatrix(sink, rows, n);
}

std::vector<Complex> SolveLinearSystemTrace(ComplexMatrix& rows, int n, std::string& trace) {
  TraceSink sink(trace);
  return SolveTraced(rows, n, sink);
}

std::vector<Complex> SolveLinearSystem(ComplexMatrix& rows, int n, ResultsDirectory& results,
                                       std::string_view fileName) {
  ResultsDirectory::Rewriting file = results.StartRewrite(fileName);
  TraceSink sink(file);
  return SolveTraced(rows, n, sink);
}

std::vector<Complex> SolveLinearSystem(ComplexMatrix& rows, int n) {
  TraceSink sink;
  return SolveTraced(rows, n, sink);
}

void WriteSolverTrace(ComplexMatrix rows, int n, ResultsDirectory& results, std::string_view fileName) {
  try {
    SolveLinearSystem(rows, n, results, fileName);
  } catch (const SingularSystem&) {
  } catch (const NonFiniteValue&) {
  }
}

}  // namespace ohmara
