#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "http/HttpClient.h"

namespace
{
// Fills the client's body with about 1 MB of markup: lines of up to 511
// bytes, as Get stores them, with a classid= attribute every few lines.
void FillPage(CHttpClient& client)
{
    const std::size_t pageSize = 1 << 20;
    std::size_t filled = 0;
    int lineNumber = 0;
    while (filled < pageSize)
    {
        std::string line;
        if (lineNumber % 8 == 3)
            line = "<object id=\"ctl\" classid=\"clsid:D27CDB6E-AE6D-11CF-96B8-444553540000\" width=\"1\" height=\"1\">";
        else if (lineNumber % 8 == 5)
            line = "<div class=\"content\"><a href=\"http://example.invalid/page?id=42\">Class of its own</a></div>";
        while (line.size() < 509)
            line += "<p class=\"text\">Some text of the page, with cc and Cl and CLASS in it.</p>";
        line.resize(509);
        line += "\r\n";
        client.bodyLines.Add(line.c_str());
        filled += line.size();
        ++lineNumber;
    }
}
}

// The project: the whole scan of a page as the inspection does it, the
// count and then the value of every occurrence.
static void ClassIdScanProject(benchmark::State& state)
{
    CHttpClient client;
    FillPage(client);
    std::size_t bytes = 0;
    for (int i = 0; i < client.BodyLineCount(); ++i)
        bytes += std::strlen(client.BodyLine(i));
    char value[256];
    for (auto _ : state)
    {
        client.classIdCount = -1;
        const int count = client.CountClassIds();
        for (int k = 0; k < count; ++k)
            benchmark::DoNotOptimize(client.GetClassId(k, value, sizeof(value)));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    state.counters["occurrences"] = client.classIdCount;
}
BENCHMARK(ClassIdScanProject)->Name("ClassIdScan1MB/Project")->Unit(benchmark::kMicrosecond);

// The baseline: the C library's memmem for the keyword over the same lines.
static void ClassIdScanBaseline(benchmark::State& state)
{
    CHttpClient client;
    FillPage(client);
    std::vector<std::pair<const char*, std::size_t>> lines;
    std::size_t bytes = 0;
    for (int i = 0; i < client.BodyLineCount(); ++i)
    {
        lines.emplace_back(client.BodyLine(i), std::strlen(client.BodyLine(i)));
        bytes += lines.back().second;
    }
    for (auto _ : state)
    {
        int count = 0;
        for (const auto& [line, length] : lines)
        {
            const char* at = line;
            while ((at = static_cast<const char*>(memmem(at, length - (at - line), "classid=", 8))) != nullptr)
                ++count, at += 8;
        }
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}
BENCHMARK(ClassIdScanBaseline)->Name("ClassIdScan1MB/Baseline")->Unit(benchmark::kMicrosecond);
