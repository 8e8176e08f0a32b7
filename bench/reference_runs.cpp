#include "reference_runs.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "support/scratch_directory.h"

namespace ohmara::bench {

namespace {

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

// Starts `argv` with stdout and stderr to /dev/null (or the given file) and
// waits; the child's rusage, or nothing when it did not end with status 0.
bool RunChild(const std::vector<std::string>& args, const std::filesystem::path& workDir, rusage& usage) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(127);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (wait4(child, &status, 0, &usage) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

double SpiceCpuSeconds(const std::string& netlist, int runs) {
  ScratchDirectory dir("ohmara-bench-spice");
  std::ofstream(dir.Path() / "circuit.cir") << netlist;
  double best = 0.0;
  for (int i = 0; i < runs; ++i) {
    rusage usage{};
    if (!RunChild({"ngspice", "-b", "circuit.cir"}, dir.Path(), usage)) return 0.0;
    const double cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    best = i == 0 ? cpu : std::min(best, cpu);
  }
  return best;
}

double PlainWriteCpuSeconds(const std::filesystem::path& directory, size_t bytes, PlainWrite how, int runs) {
  const std::string block(1 << 20, 'x');
  const std::string path = (directory / "plain.bin").string();
  const int flags = O_WRONLY | O_CREAT | (how == PlainWrite::kReplacing ? O_TRUNC : 0);
  double best = 0.0;
  // The first write only creates the file: every timed one finds a file of
  // that size, as a method finds its results file of the last run.
  for (int i = -1; i < runs; ++i) {
    ::sync();
    const double start = ProcessCpuSeconds();
    const int fd = open(path.c_str(), flags, 0644);
    if (fd < 0) return 0.0;
    for (size_t left = bytes; left > 0;) {
      const size_t piece = std::min(left, block.size());
      if (write(fd, block.data(), piece) != static_cast<ssize_t>(piece)) break;
      left -= piece;
    }
    close(fd);
    const double cpu = ProcessCpuSeconds() - start;
    if (i >= 0) best = i == 0 ? cpu : std::min(best, cpu);
  }
  std::filesystem::remove(path);
  return best;
}

void TimeAgainst(benchmark::State& state, double reference, const std::function<void()>& body) {
  // Hundreds of megabytes left dirty by an earlier benchmark would be
  // written back while this one runs and slow its own writes.
  ::sync();
  const double start = ProcessCpuSeconds();
  for (auto _ : state) body();
  const double perIteration = (ProcessCpuSeconds() - start) / static_cast<double>(state.iterations());
  state.counters["cpu_ms"] = perIteration * 1e3;
  if (reference > 0.0) {
    state.counters["ref_ms"] = reference * 1e3;
    state.counters["ratio"] = perIteration / reference;
  }
}

double PeakMiBOfRun(const std::string& what) {
  rusage usage{};
  if (!RunChild({"/proc/self/exe", "--peak", what}, {}, usage)) return 0.0;
  return usage.ru_maxrss / 1024.0;
}

void RunPeakChildIfAsked(int argc, char** argv, const std::function<int(const std::string&)>& run) {
  if (argc == 3 && std::string(argv[1]) == "--peak") std::exit(run(argv[2]));
}

}  // namespace ohmara::bench
