// The page fetcher: the pages of a pass come at once, each with Get's
// result and lines and its own waits; a server that trickles is cut off at
// the page's time limit.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "LoopbackServer.h"
#include "http/PageFetcher.h"

TEST(PageFetcher, FetchesThePagesOfAPassAtOnceEachWithinItsOwnWaits) {
    const std::string html = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
    // The address, the script of its server (on 127.0.0.<case number + 1>,
    // all on one port; none: nothing listens there), then Get's result and
    // the lines kept: the header and body counts, the body lines cut at 8 bytes.
    const struct {
        const char* address;
        std::function<void(LoopbackServer&)> script;
        std::string kept;
    } cases[] = {
        {"http://127.0.0.1/late", [&](LoopbackServer& s) { s.Pause(1000).Send(html + "late\r\n"); }, "0 2/1 late\r\n|"},
        {"127.0.0.2/silent", [](LoopbackServer& s) { s.Pause(10000); }, "5 0/0 "},
        {"http:\\\\127.0.0.3\\trickles", [&](LoopbackServer& s) {
             s.Send(html);
             for (int n = 0; n < 100; ++n)
                 s.Pause(100).Send("x");
         },
         "0 2/1 xxxxxxxx|"},
        {"127.0.0.4/split", [&](LoopbackServer& s) { s.Send(html + "ab\r").Pause(300).Send("\ncd\r\nef"); },
         "0 2/3 ab\r\n|cd\r\n|ef|"},
        // 5 s of silence end a line; the next line has a wait of its own.
        {"127.0.0.5/pauses", [&](LoopbackServer& s) { s.Send(html + "part").Pause(5500).Send("\r\nmore\r\n"); },
         "0 2/3 part|\r\n|more\r\n|"},
        {"127.0.0.6/refused", nullptr, "1 0/0 "},
        {"ftp://127.0.0.7/", nullptr, "3 0/0 "},
    };
    std::vector<std::unique_ptr<LoopbackServer>> servers;
    for (const auto& c : cases) {
        const std::string host = "127.0.0." + std::to_string(servers.size() + 1);
        servers.emplace_back(c.script ? new LoopbackServer(host.c_str(), servers.empty() ? 0 : servers[0]->Port()) : nullptr);
        if (c.script) {
            c.script(*servers.back());
            servers.back()->Start();
        }
    }
    CPageFetcher fetcher(servers[0]->Port());
    fetcher.pageTimeLimitMs = 6000;
    for (const auto& c : cases)
        fetcher.Add(c.address);
    const auto start = std::chrono::steady_clock::now();
    fetcher.FetchAll();
    // The trickle is cut at its time limit, and the waits overlap: one page
    // at a time, the pass would take 18 s.
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(seconds, 5.9);
    EXPECT_LT(seconds, 9.0);
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        const CHttpClient& page = fetcher.Page(i);
        std::string kept = std::to_string(fetcher.Result(i)) + " " + std::to_string(page.HeaderCount()) + "/" +
                           std::to_string(page.BodyLineCount()) + " ";
        for (int j = 0; j < page.BodyLineCount(); ++j)
            kept += std::string(page.BodyLine(j)).substr(0, 8) + "|";
        EXPECT_EQ(cases[i].kept, kept) << cases[i].address;
        EXPECT_EQ(INVALID_SOCKET, page.sock);
    }
    EXPECT_STREQ("http://127.0.0.3/trickles", fetcher.Address(2));
}

// Every page is held until the pass is examined: what the pages keep
// together stays within the pass's limit, however much each server sends.
TEST(PageFetcher, ThePagesOfAPassKeepAtMostThePassLimitTogether) {
    const std::string html = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
    std::vector<std::unique_ptr<LoopbackServer>> servers;
    for (int i = 1; i <= 4; ++i) {
        const std::string host = "127.0.0." + std::to_string(i);
        servers.emplace_back(new LoopbackServer(host.c_str(), i == 1 ? 0 : servers[0]->Port()));
        servers.back()->Send(html).Send(std::string(1000, 'x') + "\r\n", 1000).Start();
    }
    CPageFetcher fetcher(servers[0]->Port());
    fetcher.passLimit = 1 << 20;
    for (int i = 1; i <= 4; ++i)
        fetcher.Add(("127.0.0." + std::to_string(i) + "/big").c_str());
    fetcher.FetchAll();
    long long kept = 0;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(0, fetcher.Result(i));
        kept += fetcher.Page(i).ResponseKept();
    }
    EXPECT_LE(kept, fetcher.passLimit);
    EXPECT_GT(kept, fetcher.passLimit - 4 * 1100) << "the limit is spent, not cut short";
}
