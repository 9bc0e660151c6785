// The wildcard matcher alone against its plain recursive reference, on the
// kind of input that is worst for the reference: each of five stars has a
// choice at every position, and nothing matches in the end.
#include <benchmark/benchmark.h>

#include <string>

#include "ReferenceWildcard.h"
#include "monitor/WildcardMatch.h"

namespace {

// Long enough for the reference to take milliseconds.
const std::string kManyChoices(40, 'a');
const char* const kManyStars = "*a*a*a*a*a*b";

void ManyStarsProject(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(WildcardMatch(kManyChoices.c_str(), kManyStars));
}

void ManyStarsBaseline(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReferenceWildcardMatch(kManyChoices.c_str(), kManyStars));
}

} // namespace

BENCHMARK(ManyStarsProject)->Name("WildcardManyStars/Project");
BENCHMARK(ManyStarsBaseline)->Name("WildcardManyStars/Baseline")->Unit(benchmark::kMillisecond);
