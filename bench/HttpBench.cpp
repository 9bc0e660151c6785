// The HTTP client against servers of the benchmark's own on 127.0.0.1: a
// 1 MB page fetched with Get against a raw read of the same response, and a
// pass over ten silent servers against a single Get of one.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "LoopbackServer.h"
#include "http/HttpClient.h"
#include "http/PageFetcher.h"

namespace
{
// About 1 MB of markup in lines of 60 to 140 bytes.
std::string Page()
{
    std::string page = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
    for (int n = 0; page.size() < (1 << 20); ++n)
        page += "<p class=\"text\">Line " + std::to_string(n) + " of the page" + std::string(40 + n % 80, '.') + "</p>\r\n";
    return page;
}

// A server that answers every request with the page, for as long as the
// benchmark asks.
struct PageServer
{
    LoopbackServer server;
    std::string page = Page();
    PageServer()
    {
        server.Send(page);
        server.Start(1 << 30);
    }
};

void WallTime(benchmark::State& state)
{
    state.counters["wall"] = 1;
}
}

static void Get1MBProject(benchmark::State& state)
{
    PageServer page;
    CHttpClient client(page.server.Port());
    for (auto _ : state)
    {
        char address[] = "http://127.0.0.1/page.html";
        if (client.Get(address) != 0 || client.BodyLineCount() == 0)
            state.SkipWithError("the page did not come");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.page.size()));
    WallTime(state);
}
BENCHMARK(Get1MBProject)->Name("Get1MB/Project")->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same request and response over a plain socket: connect, send, read
// into one buffer until the server closes.
static void Get1MBBaseline(benchmark::State& state)
{
    PageServer page;
    CSocketClient client;
    const std::string request = "GET /page.html HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    std::vector<char> buffer(1 << 16);
    for (auto _ : state)
    {
        std::size_t total = 0;
        if (client.Connect(page.server.Port(), "127.0.0.1", AF_INET, SOCK_STREAM) == 0 &&
            send(client.sock, request.data(), static_cast<int>(request.size()), kSocketSendFlags) > 0)
        {
            for (int got; (got = static_cast<int>(recv(client.sock, buffer.data(), static_cast<int>(buffer.size()), 0))) > 0;)
                total += static_cast<std::size_t>(got);
        }
        client.Close();
        if (total != page.page.size())
            state.SkipWithError("the page did not come");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.page.size()));
    WallTime(state);
}
BENCHMARK(Get1MBBaseline)->Name("Get1MB/Baseline")->Unit(benchmark::kMicrosecond)->UseRealTime();

// Ten pages whose servers take the connection and never answer, fetched as
// one pass: every page waits out its 5 s of silence, all at once.
static void SilentPass10Project(benchmark::State& state)
{
    LoopbackServer silent;
    for (auto _ : state)
    {
        CPageFetcher fetcher(silent.Port());
        for (int i = 0; i < 10; ++i)
            fetcher.Add("http://127.0.0.1/");
        fetcher.FetchAll();
    }
    WallTime(state);
}
BENCHMARK(SilentPass10Project)->Name("SilentPass10/Project")->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// One wait: a single Get against one such server.
static void SilentPass10Baseline(benchmark::State& state)
{
    LoopbackServer silent;
    for (auto _ : state)
    {
        CHttpClient client(silent.Port());
        char address[] = "http://127.0.0.1/";
        benchmark::DoNotOptimize(client.Get(address));
    }
    WallTime(state);
}
BENCHMARK(SilentPass10Baseline)->Name("SilentPass10/Baseline")->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
