// SPDX-License-Identifier: MIT
#pragma once
// What every benchmark program shares: how many repetitions it runs and the medians its ratios
// are made of.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace orin::bench {

// Hands the command line to Google Benchmark, with `defaultRepetitions` repetitions of every
// benchmark unless the command line names --benchmark_repetitions itself, interleaved at random
// unless it names --benchmark_enable_random_interleaving. Benchmarks leave
// their repetitions to this (a count set on a benchmark would override the flag).
inline void InitializeBenchmarks(int argc, char **argv, int defaultRepetitions)
{
    // Google Benchmark may keep pointers into the arguments: they live as long as the program.
    static std::vector<char *> args;
    static std::string repetitions;
    args.assign(argv, argv + argc);
    bool given = false;
    bool interleavingGiven = false;
    for (int i = 1; i < argc; ++i) {
        given |= std::strncmp(argv[i], "--benchmark_repetitions", 23) == 0;
        interleavingGiven |= std::strncmp(argv[i], "--benchmark_enable_random_interleaving", 38) == 0;
    }
    if (!given) {
        repetitions = "--benchmark_repetitions=" + std::to_string(defaultRepetitions);
        args.insert(args.begin() + std::min(argc, 1), repetitions.data());
    }
    // The repetitions of all benchmarks run in a random order rather than each benchmark's in
    // a block: a shared machine's speed drifts over minutes, and in blocks that drift fell on
    // ours or on the peer alone and moved a ratio by a third between runs.
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    if (!interleavingGiven)
        args.insert(args.begin() + std::min(argc, 1), interleave);
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
}

// Prints the runs as usual and keeps, per run name ("BM_Save/100", or the bare function name
// when the benchmark has no argument), the median of CPU time and of wall time in seconds; with
// a single repetition, that run's own times.
class CMedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            std::string key = run.run_name.function_name;
            if (!run.run_name.args.empty())
                key += "/" + run.run_name.args;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && !m_cpu.count(key);
            if (median || single) {
                const double perSecond = benchmark::GetTimeUnitMultiplier(run.time_unit);
                m_cpu[key] = run.GetAdjustedCPUTime() / perSecond;
                m_wall[key] = run.GetAdjustedRealTime() / perSecond;
            }
            m_repetitions = std::max<int>(m_repetitions, int(run.repetitions));
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double Cpu(const std::string &name) const { return Find(m_cpu, name); }
    double Wall(const std::string &name) const { return Find(m_wall, name); }

    // Ours over the peer's; 0 when either did not run.
    double CpuRatio(const std::string &ours, const std::string &peer) const
    {
        return Ratio(Cpu(ours), Cpu(peer));
    }
    double WallRatio(const std::string &ours, const std::string &peer) const
    {
        return Ratio(Wall(ours), Wall(peer));
    }

    int Repetitions() const { return m_repetitions; }

private:
    static double Find(const std::map<std::string, double> &times, const std::string &name)
    {
        const auto found = times.find(name);
        return found == times.end() ? 0.0 : found->second;
    }
    static double Ratio(double x, double y) { return (x > 0 && y > 0) ? x / y : 0.0; }

    std::map<std::string, double> m_cpu;
    std::map<std::string, double> m_wall;
    int m_repetitions = 1;
};

} // namespace orin::bench
