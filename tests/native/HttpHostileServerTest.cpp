// Get against servers that misbehave: every one ends with a clear result,
// within the waits the client promises (5 s of silence, the connect time-out),
// holding at most twice the response limit in memory whatever was sent.
// Every server is a thread of this test on 127.0.0.1; the cases run at once,
// each in a thread of its own, so the silences overlap.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackServer.h"
#include "TestAllocator.h"
#include "http/HttpClient.h"

namespace {

const char kHtml[] = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n";
// 64 MB in all: 1024 sends of 64 KiB.
const int kBigSends = 1024;
std::string Block(const std::string& unit) {
    std::string block;
    while (block.size() + unit.size() <= 65536)
        block += unit;
    return block;
}

struct Case {
    const char* name;
    std::function<void(LoopbackServer&)> script;
    int result;
    // Bounds of the time Get takes, in seconds.
    double atLeast, below;
    // The header and body line counts, then the first body line or else the
    // last header line, cut at 24 bytes (or at a NUL).
    std::string kept;
};

struct Outcome {
    int result = -1;
    double seconds = 0;
    long long peakBytes = 0;
    std::string kept;
    bool closed = false;
};

std::string Kept(const CHttpClient& client) {
    const int headers = client.HeaderCount(), body = client.BodyLineCount();
    const char* last = body ? client.BodyLine(0) : headers ? client.HeaderLine(headers - 1) : "";
    return std::to_string(headers) + "/" + std::to_string(body) + " " + std::string(last).substr(0, 24);
}

Outcome Fetch(const Case& c, long long limit) {
    LoopbackServer server;
    CHttpClient client;
    client.responseLimit = limit;
    // Without a script, a port that is bound but not listening: refused.
    int refusing = 0;
    SOCKET bound = c.script ? INVALID_SOCKET : OpenLoopbackListener(0, &refusing, false);
    if (c.script) {
        c.script(server);
        server.Start();
    }
    client.httpPort = c.script ? server.Port() : refusing;
    char address[] = "http://127.0.0.1/page";
    TakeThreadPeakBytes();
    const auto start = std::chrono::steady_clock::now();
    Outcome outcome;
    outcome.result = client.Get(address);
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.peakBytes = TakeThreadPeakBytes();
    outcome.kept = Kept(client);
    outcome.closed = client.sock == INVALID_SOCKET;
    if (bound != INVALID_SOCKET)
        closesocket(bound);
    return outcome;
}

} // namespace

TEST(HttpHostileServer, EveryServerEndsInTimeWithBoundedMemory) {
    const std::string html = kHtml, header = html + "\r\n";
    const long long limit = 4 << 20;
    const std::string big(1 << 20, 'h');
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) >> 3);
    const std::vector<Case> cases = {
        {"silent", [](LoopbackServer& s) { s.Pause(10000); }, 5, 4.5, 8, "0/0 "},
        {"closes at once", [](LoopbackServer& s) { s.Close(); }, 5, 0, 2, "0/0 "},
        {"status line, then silent", [](LoopbackServer& s) { s.Send("HTTP/1.0 200 OK\r\n").Pause(10000); }, 5, 4.5, 8,
         "1/0 HTTP/1.0 200 OK"},
        {"trickles", [&](LoopbackServer& s) { for (char c : header + "tail\r\n") s.Send(std::string(1, c)).Pause(20); },
         0, 1, 8, "2/1 tail\r\n"},
        {"64 MB without a line end", [&](LoopbackServer& s) { s.Send(header).Send(Block("x"), kBigSends); }, 0, 0, 60,
         "2/7958 " + std::string(24, 'x')},
        {"64 MB of lines", [&](LoopbackServer& s) { s.Send(header).Send(Block("line of text\r\n"), kBigSends); }, 0, 0, 60,
         "2/139807 line of text\r\n"},
        {"64 MB of bare line ends", [&](LoopbackServer& s) { s.Send(header).Send(Block("\r\n"), kBigSends); }, 0, 0, 60,
         "2/233012 \r\n"},
        {"64 MB of header lines", [&](LoopbackServer& s) { s.Send(html).Send(Block("a\r\n"), kBigSends); }, 0, 0, 60,
         "220750/0 a"},
        {"NUL bytes and binary", [&](LoopbackServer& s) { s.Send(header + std::string("a\0b\r\n", 5) + binary); }, 0, 0, 2,
         "2/10 a"},
        {"bare LF", [&](LoopbackServer& s) { s.Send("HTTP/1.0 200 OK\nContent-Type: text/html\n\nbody\n"); }, 5, 0, 2,
         "1/0 HTTP/1.0 200 OK\nContent-"},
        {"1 MB header line", [&](LoopbackServer& s) { s.Send("HTTP/1.0 200 OK\r\nX: " + big + "\r\n" + html + "\r\nok\r\n"); },
         0, 0, 10, "2056/1 ok\r\n"},
        {"closes in a header", [](LoopbackServer& s) { s.Send("HTTP/1.0 200 OK\r\nContent-Ty"); }, 5, 0, 2,
         "2/0 Content-Ty"},
        {"keeps the connection open", [&](LoopbackServer& s) { s.Send(header + "page\r\n").Pause(10000); }, 0, 4.5, 8,
         "2/1 page\r\n"},
        {"silent after the header lines", [&](LoopbackServer& s) { s.Send(html).Pause(12000); }, 0, 4.5, 8,
         "2/0 Content-Type: text/html"},
        {"refuses", nullptr, 1, 0, 2, "0/0 "},
    };

    std::vector<Outcome> outcomes(cases.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < cases.size(); ++i)
        threads.emplace_back([&, i] { outcomes[i] = Fetch(cases[i], limit); });
    for (std::thread& thread : threads)
        thread.join();

    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const Outcome& o = outcomes[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, o.result);
        EXPECT_GE(o.seconds, c.atLeast);
        EXPECT_LT(o.seconds, c.below);
        EXPECT_LE(o.peakBytes, 2 * limit + (1 << 20));
        EXPECT_TRUE(o.closed);
        EXPECT_EQ(c.kept, o.kept);
    }
}
