// The benchmark executable's main: Google Benchmark's usual output, then one
// table that pairs each "<Row>/Project" with its "<Row>/Baseline", measured
// in the same run, and gives their ratio (project time / baseline time).
// Times are CPU time per iteration, which other work on the machine disturbs
// less, except in a row whose benchmarks wait (on a network, on a time-out)
// and say so with the counter "wall": there it is wall-clock time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Side {
    double real = -1, cpu = -1; // seconds per iteration
    bool wall = false;
};
struct Pair {
    Side project, baseline;
    double Seconds(const Side& side) const { return project.wall || baseline.wall ? side.real : side.cpu; }
};

class TableReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, Pair> rows;
    std::vector<std::string> order;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const std::string name = run.benchmark_name();
            const std::size_t slash = name.find('/');
            if (slash == std::string::npos)
                continue;
            const std::string row = name.substr(0, slash), side = name.substr(slash + 1, name.find('/', slash + 1) - slash - 1);
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            const Side measured = {run.GetAdjustedRealTime() / unit, run.GetAdjustedCPUTime() / unit,
                                   run.counters.count("wall") > 0};
            if (side != "Project" && side != "Baseline")
                continue;
            if (!rows.count(row))
                order.push_back(row);
            (side == "Project" ? rows[row].project : rows[row].baseline) = measured;
        }
    }
};

std::string Time(double seconds) {
    char text[32];
    if (seconds < 0)
        return "-";
    if (seconds < 1e-6)
        std::snprintf(text, sizeof(text), "%.0f ns", seconds * 1e9);
    else if (seconds < 1e-3)
        std::snprintf(text, sizeof(text), "%.2f us", seconds * 1e6);
    else if (seconds < 1)
        std::snprintf(text, sizeof(text), "%.2f ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof(text), "%.2f s", seconds);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%-28s %14s %14s %8s\n", "row", "project", "baseline", "ratio");
    for (const std::string& row : reporter.order) {
        const Pair& pair = reporter.rows[row];
        const double project = pair.Seconds(pair.project), baseline = pair.Seconds(pair.baseline);
        char ratio[16] = "-";
        if (project > 0 && baseline > 0)
            std::snprintf(ratio, sizeof(ratio), project / baseline < 0.01 ? "%.1e" : "%.2f", project / baseline);
        std::printf("%-28s %14s %14s %8s\n", row.c_str(), Time(project).c_str(), Time(baseline).c_str(), ratio);
    }
    return 0;
}
