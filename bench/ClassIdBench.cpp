#include <benchmark/benchmark.h>

#include <string>

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

static void BM_CountClassIds(benchmark::State& state)
{
    CHttpClient client;
    FillPage(client);
    std::size_t bytes = 0;
    for (int i = 0; i < client.BodyLineCount(); ++i)
        bytes += std::string(client.BodyLine(i)).size();
    for (auto _ : state)
    {
        client.classIdCount = -1;
        benchmark::DoNotOptimize(client.CountClassIds());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    state.counters["occurrences"] = client.classIdCount;
}
BENCHMARK(BM_CountClassIds)->Unit(benchmark::kMicrosecond);

static void BM_GetClassIdAll(benchmark::State& state)
{
    CHttpClient client;
    FillPage(client);
    int count = client.CountClassIds();
    char value[256];
    for (auto _ : state)
    {
        for (int k = 0; k < count; ++k)
            benchmark::DoNotOptimize(client.GetClassId(k, value, sizeof(value)));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * count);
}
BENCHMARK(BM_GetClassIdAll)->Unit(benchmark::kMicrosecond);
