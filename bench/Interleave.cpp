#include "Interleave.h"
#include <algorithm>
#include <chrono>

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

double timeBatch(const Contestant& c, int calls)
{
    if (c.prepare)
        c.prepare();
    auto start = Clock::now();
    c.run(calls);
    benchmark::ClobberMemory();
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
}

// Doubles the batch until the baseline's batch lasts the wanted time.
int calibrate(const Contestant& c, double batchMicroseconds)
{
    int calls = 1;
    while (calls < (1 << 24) && timeBatch(c, calls) < batchMicroseconds * 1000)
        calls *= 2;
    return calls;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    auto mid = v.begin() + std::ptrdiff_t(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

} // namespace

Comparison compare(benchmark::State& state, const Contestant& measured, const std::vector<Contestant>& baselines,
                   int calls, double batchMicroseconds)
{
    std::vector<const Contestant*> all{&measured};
    for (const Contestant& b : baselines)
        all.push_back(&b);
    if (calls <= 0)
        calls = calibrate(*all[1], batchMicroseconds);
    for (const Contestant* c : all) // warm caches and lazily built state alike
        timeBatch(*c, calls);

    std::vector<std::vector<double>> samples(all.size());
    std::size_t round = 0;
    for (auto _ : state) {
        double measuredTime = 0;
        for (std::size_t k = 0; k < all.size(); ++k) {
            std::size_t i = round % 2 == 0 ? k : all.size() - 1 - k;
            double t = timeBatch(*all[i], calls) / calls;
            samples[i].push_back(t);
            if (i == 0)
                measuredTime = t * calls;
        }
        state.SetIterationTime(measuredTime / 1e9);
        ++round;
    }

    Comparison c;
    c.measuredNs = median(samples[0]);
    for (std::size_t i = 1; i < all.size(); ++i) {
        double m = median(samples[i]);
        if (c.baselineNs == 0 || m < c.baselineNs) {
            c.baselineNs = m;
            c.fastestBaseline = int(i - 1);
        }
        state.counters["baseline" + std::to_string(i - 1) + "_ns"] = m;
    }
    state.counters["batch_calls"] = calls;
    return c;
}

int runBenchmarks(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

void setCounters(benchmark::State& state, const Comparison& c)
{
    state.counters["measured_ns"] = c.measuredNs;
    state.counters["baseline_ns"] = c.baselineNs;
    state.counters["ratio"] = c.ratio();
}

void registerTarget(const Target& target, int rounds, std::function<Comparison(benchmark::State&)> body)
{
    benchmark::RegisterBenchmark(target.name.c_str(), [target, body](benchmark::State& state) {
        Comparison c = body(state);
        setCounters(state, c);
        state.counters["goal"] = target.limit;
        state.counters["required"] = target.required ? 1 : 0;
        state.SetLabel(target.name);
    })
        ->UseManualTime()
        ->Iterations(rounds)
        ->Unit(benchmark::kMicrosecond);
}

} // namespace bench
