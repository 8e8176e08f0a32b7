// Start-up of the program to its first painted main window, against a
// minimal Qt main window started the same way: each is a fresh process of
// this program, measured to the end of the window's first paint by the CPU
// time it has used (the ratio) and by the wall clock from just before it is
// started (the wall ratio). The two kinds take turns, and each ratio is the
// median over the pairs of a start of each: a shared virtual machine slows
// whole stretches of runs, which a pair shares but the fastest run of each
// kind need not. best_ratio is the fastest run of each kind, for comparison.
// The minimal window is what any main window shows: a title, a menu bar with
// one menu, one line of text, at the size of the program's.
// Target: ratio <= 1.2.
//
// The windows go to the display there is; without one, to an Xvfb server of
// their own when Xvfb is installed, else to Qt's offscreen platform. The
// label says which.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ui/prompts.h"
#include "ui/startup.h"

namespace ohmara::bench {
namespace {

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// In the child: prints the clock and the CPU time used so far when `window`
// has been painted, and ends at once, leaving the teardown out of the figure.
void ReportFirstPaint(QWidget& window) {
  CallAfterFirstPaint(window, [] {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const long long cpu =
        (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1'000'000LL + usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    std::printf("%lld %lld\n", MonotonicNanoseconds(), cpu);
    std::fflush(stdout);
    std::_Exit(0);
  });
}

int FirstPaintChild(int argc, char** argv, const std::string& what) {
  QApplication app(argc, argv);
  if (what == "minimal") {
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Ohmara"));
    window.menuBar()->addMenu(QStringLiteral("Файл"));
    window.setCentralWidget(new QLabel(QStringLiteral("ВНИМАНИЕ. Перед тем как вычислять - протестируй цепь.")));
    window.resize(673, 561);
    ReportFirstPaint(window);
    window.show();
    return app.exec();
  }
  QtPrompts prompts;
  const auto ohmara = StartOhmara(prompts);
  ReportFirstPaint(ohmara->mainWindow());
  return app.exec();
}

// One start, in milliseconds: the wall clock from just before this program
// is started as "--first-paint <what>" to the child's report, and the CPU
// time the child used until then.
struct StartTimes {
  double wall = 0.0;
  double cpu = 0.0;
};

std::optional<StartTimes> FirstPaintTimes(const std::string& what) {
  int out[2];
  if (pipe(out) != 0) return std::nullopt;
  const long long start = MonotonicNanoseconds();
  const pid_t child = fork();
  if (child == 0) {
    dup2(out[1], 1);
    close(out[0]);
    execl("/proc/self/exe", "first_paint_gui_bench", "--first-paint", what.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  char text[64] = {};
  const ssize_t got = child > 0 ? read(out[0], text, sizeof text - 1) : -1;
  close(out[0]);
  int status = 0;
  if (child > 0) waitpid(child, &status, 0);
  long long paintedAt = 0, cpuMicroseconds = 0;
  if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      std::sscanf(text, "%lld %lld", &paintedAt, &cpuMicroseconds) != 2)
    return std::nullopt;
  return StartTimes{static_cast<double>(paintedAt - start) / 1e6, static_cast<double>(cpuMicroseconds) / 1e3};
}

double Median(std::vector<double> values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

double Fastest(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

// An Xvfb server for the children when there is no display, ended with the
// benchmark.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int ready[2];
    if (pipe(ready) != 0) return;
    server_ = fork();
    if (server_ == 0) {
      const std::string fd = std::to_string(ready[1]);
      close(ready[0]);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 2);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ready[1]);
    // Xvfb writes its display number there, then a line end, once it
    // listens; the pipe must stay open for the whole line, or Xvfb ends.
    std::string digits;
    char next = 0;
    while (server_ > 0 && read(ready[0], &next, 1) == 1 && next != '\n') digits += next;
    close(ready[0]);
    if (next == '\n' && !digits.empty()) display_ = ":" + digits;
  }
  ~VirtualDisplay() {
    if (server_ <= 0) return;
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
  }
  const std::string& Name() const { return display_; }

 private:
  pid_t server_ = -1;
  std::string display_;
};

// Where the children's windows go, for the label.
std::string ChooseDisplay(std::optional<VirtualDisplay>& virtualDisplay) {
  if (std::getenv("QT_QPA_PLATFORM")) return std::getenv("QT_QPA_PLATFORM");
  if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY")) return "display";
  virtualDisplay.emplace();
  if (!virtualDisplay->Name().empty()) {
    setenv("DISPLAY", virtualDisplay->Name().c_str(), 1);
    return "Xvfb";
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  return "offscreen";
}

void BM_FirstPaint(benchmark::State& state) {
  // Qt wants a private runtime directory and warns on every start without one.
  char runtime[] = "/tmp/ohmara-bench-runtime-XXXXXX";
  const bool ownRuntime = !std::getenv("XDG_RUNTIME_DIR") && mkdtemp(runtime);
  if (ownRuntime) setenv("XDG_RUNTIME_DIR", runtime, 1);
  std::optional<VirtualDisplay> virtualDisplay;
  state.SetLabel(ChooseDisplay(virtualDisplay));
  // CPU times of each kind, and the ratios of each pair of starts.
  std::vector<double> cpu, referenceCpu, cpuRatios, wallRatios;
  for (auto _ : state) {
    const std::optional<StartTimes> program = FirstPaintTimes("ohmara");
    const std::optional<StartTimes> reference = FirstPaintTimes("minimal");
    if (!program || !reference) {
      state.SkipWithError("a start-up run failed");
      return;
    }
    cpu.push_back(program->cpu);
    referenceCpu.push_back(reference->cpu);
    cpuRatios.push_back(program->cpu / reference->cpu);
    wallRatios.push_back(program->wall / reference->wall);
  }
  if (ownRuntime) std::filesystem::remove_all(runtime);
  state.counters["cpu_ms"] = Median(cpu);
  state.counters["ref_ms"] = Median(referenceCpu);
  state.counters["ratio"] = Median(cpuRatios);
  state.counters["best_ratio"] = Fastest(cpu) / Fastest(referenceCpu);
  state.counters["wall_ratio"] = Median(wallRatios);
}
BENCHMARK(BM_FirstPaint)->Unit(benchmark::kMillisecond)->Iterations(31);

}  // namespace
}  // namespace ohmara::bench

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--first-paint") return ohmara::bench::FirstPaintChild(argc, argv, argv[2]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
