#pragma once
#include <benchmark/benchmark.h>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// One side of a comparison. run(n) performs the operation n times; prepare, when given, is
// called before every batch outside the timed part (for operations that use up their input).
struct Contestant {
    Contestant(std::function<void(int calls)> run_, std::function<void()> prepare_ = {})
        : run(std::move(run_))
        , prepare(std::move(prepare_))
    {
    }
    std::function<void(int calls)> run;
    std::function<void()> prepare;
};

struct Comparison {
    double measuredNs = 0; // median time of one call of the measured operation
    double baselineNs = 0; // the same for the fastest baseline
    int fastestBaseline = 0;
    double ratio() const { return measuredNs / baselineNs; }
};

// Runs the measured operation and its baselines in alternating short batches of the same
// number of calls, one round per benchmark iteration, the order turning round every time so
// that none always goes first. All of them thus share the load the machine has at that moment;
// medians over the rounds drop the rounds another process spoilt. calls fixes the batch size;
// 0 lets the first baseline choose one lasting about batchMicroseconds.
Comparison compare(benchmark::State& state, const Contestant& measured, const std::vector<Contestant>& baselines,
                   int calls = 0, double batchMicroseconds = 300);

// A target of make bench: the ratio measured / baseline must stay at or below limit. A limit of
// 0 only reports the numbers. Required targets fail the run when missed.
struct Target {
    std::string name;
    double limit = 0;
    bool required = true;
};

// Registers body as the benchmark of target, rounds iterations long. body calls compare and
// may add counters of its own; a counter "veto" other than 0 fails the target whatever the
// ratio says.
void registerTarget(const Target& target, int rounds, std::function<Comparison(benchmark::State&)> body);

// The main of a benchmark program, after its targets are registered.
int runBenchmarks(int argc, char** argv);

// The counters bench/run reads, from a comparison made some other way.
void setCounters(benchmark::State& state, const Comparison& c);

} // namespace bench
