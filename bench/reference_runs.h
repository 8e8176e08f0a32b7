#pragma once
// The references the benchmark programs print beside their figures, measured
// in the same run so that a ratio can be read off directly: the CPU time of
// one `ngspice -b` run of the same circuit, the CPU time of a plain write of
// the same number of bytes, and the peak memory of a fresh process doing one
// run.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <string>

namespace ohmara::bench {

// CPU time (user + system) this process has used so far, in seconds.
double ProcessCpuSeconds();

// CPU time of one `ngspice -b` run of the netlist (best of `runs`), in
// seconds; 0 when ngspice is not installed or the run fails.
double SpiceCpuSeconds(const std::string& netlist, int runs = 3);

// How a plain write meets the file of its last run: emptied first, as any
// program that opens a file for writing does (on ext4 the emptied file is
// then forced to disk on closing), or written over in place and not cut,
// the least it can cost to put the bytes into the file.
enum class PlainWrite { kReplacing, kInPlace };

// CPU time of writing `bytes` bytes to a file in `directory` in blocks of
// 1 MiB and closing it (best of `runs`), in seconds; each timed write finds
// a file of that size.
double PlainWriteCpuSeconds(const std::filesystem::path& directory, size_t bytes, PlainWrite how, int runs = 3);

// Runs `body` once per benchmark iteration and sets the counters
// "<name>_ms" (our CPU time per iteration) and, when `reference` > 0,
// "<name>_per_ref" (that time over the reference).
void TimeAgainst(benchmark::State& state, double reference, const std::function<void()>& body);

// A program of this folder started again with "--peak <what>" does only that
// run and exits; this starts it and returns the peak resident memory of that
// fresh process in MiB (0 when it fails).
double PeakMiBOfRun(const std::string& what);

// For main(): when the arguments are "--peak <what>", runs `run(what)` and
// exits with its status; otherwise returns and the benchmarks run.
void RunPeakChildIfAsked(int argc, char** argv, const std::function<int(const std::string&)>& run);

}  // namespace ohmara::bench
