// The block-list test of one URL against the 37 built-in patterns.
//
// BlockListTypicalUrl: five everyday URLs of 137 characters, one of which
// (20 %) is hit, taken in turn, one per iteration. Baseline: one
// Aho-Corasick pass over the same URL for the patterns' star-free pieces,
// written plainly (a goto table, failure links followed while the scan runs).
//
// BlockListHostile64K: URLs of 64 KB built to pass the substring pre-test of
// many patterns and to offer the stars a choice at nearly every position,
// taken in turn, one per iteration; BlockListHostile64K.<shape> gives each
// shape on its own. Baseline: the same pre-test followed by the plain
// recursive reference matcher, on the one shape where it ends in seconds
// (PopRun); on the others it runs for minutes to hours.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "ReferenceWildcard.h"
#include "monitor/BlockList.h"

namespace {

const std::vector<std::string>& Patterns()
{
    static const std::vector<std::string> patterns = [] {
        std::vector<std::string> list;
        AppendBlockListPatterns(list);
        return list;
    }();
    return patterns;
}

const CBlockList& Compiled()
{
    static const CBlockList list = [] {
        CBlockList compiled;
        compiled = Patterns();
        return compiled;
    }();
    return list;
}

const std::vector<std::string>& TypicalUrls()
{
    static const std::vector<std::string> urls = [] {
        std::vector<std::string> list = {
            "http://ad.doubleclick.net/adj/N3880.news.test/B1234567.89;sz=728x90;ord=20040317?"
            "click=http%3A%2F%2Fnews.test%2Fworld%2Fstory.html&tile=1&dc_ref=front",
            "http://news.test/world/2004/03/17/story.html?ref=front&section=world&page=2&"
            "utm_source=newsletter&utm_medium=email&utm_campaign=spring&utm_content=top",
            "http://search.test/results.aspx?q=garden+furniture+teak+bench&first=11&form=PERE&"
            "setlang=en-US&cc=us&mkt=en-US&sp=-1&pq=garden+furniture+teak&sc=8-27&qs=n",
            "http://www.shop.test/catalog/product.jsp?id=4711&category=books&sort=price&view=grid&"
            "page=3&session=A81F2C9E77D04B1B&ref=search&lang=en&currency=EUR&stock=1",
            "http://mail.test/cgi-bin/inbox?folder=Inbox&order=date&start=0&count=50&view=threaded&"
            "session=5f0c2b7e9a1d4c3b8e6f&refresh=300&lang=en&theme=classic&compact=0",
        };
        for (std::string& url : list)
            url.resize(137, 'x');
        return list;
    }();
    return urls;
}

// Every string of star-free pieces, once each.
std::vector<std::string> Pieces()
{
    std::vector<std::string> pieces;
    for (const std::string& pattern : Patterns()) {
        std::size_t start = 0;
        while (start < pattern.size()) {
            const std::size_t star = std::min(pattern.find('*', start), pattern.size());
            const std::string piece = pattern.substr(start, star - start);
            if (!piece.empty() && std::find(pieces.begin(), pieces.end(), piece) == pieces.end())
                pieces.push_back(piece);
            start = star + 1;
        }
    }
    return pieces;
}

// Aho-Corasick as in the textbook: the trie's goto function, a failure link
// per node and the number of words that end at a node or at its suffixes.
class PlainAhoCorasick
{
public:
    explicit PlainAhoCorasick(const std::vector<std::string>& words)
    {
        NewNode();
        for (const std::string& word : words) {
            int node = 0;
            for (const unsigned char c : word) {
                if (go[node][c] < 0) {
                    const int child = NewNode();
                    go[node][c] = child;
                }
                node = go[node][c];
            }
            ++out[node];
        }
        std::vector<int> queue;
        for (int& child : go[0]) {
            if (child < 0)
                child = 0;
            else
                queue.push_back(child);
        }
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const int node = queue[head];
            for (int c = 0; c < 256; ++c) {
                const int child = go[node][c];
                if (child < 0)
                    continue;
                int f = fail[node];
                while (go[f][c] < 0)
                    f = fail[f];
                fail[child] = go[f][c];
                out[child] += out[fail[child]];
                queue.push_back(child);
            }
        }
    }

    // The number of occurrences of all words in text.
    int Count(const char* text) const
    {
        int node = 0, count = 0;
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
            while (go[node][*p] < 0)
                node = fail[node];
            node = go[node][*p];
            count += out[node];
        }
        return count;
    }

private:
    int NewNode()
    {
        std::array<int, 256> row;
        row.fill(-1);
        go.push_back(row);
        fail.push_back(0);
        out.push_back(0);
        return static_cast<int>(go.size()) - 1;
    }

    std::vector<std::array<int, 256>> go;
    std::vector<int> fail, out;
};

int ProjectHits(const std::string& url)
{
    int hits = 0;
    Compiled().ForEachHit(url.c_str(), [&hits](std::size_t) { ++hits; });
    return hits;
}

int ReferenceHits(const std::string& url)
{
    int hits = 0;
    for (const std::string& pattern : Patterns()) {
        std::string literal;
        for (const char c : pattern)
            if (c != '*')
                literal += c;
        if (std::strstr(url.c_str(), literal.c_str()) != nullptr && ReferenceWildcardMatch(url.c_str(), pattern))
            ++hits;
    }
    return hits;
}

void TypicalUrlProject(benchmark::State& state)
{
    const std::vector<std::string>& urls = TypicalUrls();
    std::size_t next = 0;
    int hits = 0;
    for (auto _ : state) {
        hits += ProjectHits(urls[next]);
        next = next + 1 == urls.size() ? 0 : next + 1;
    }
    state.counters["hits/url"] = benchmark::Counter(hits, benchmark::Counter::kAvgIterations);
}

void TypicalUrlBaseline(benchmark::State& state)
{
    const PlainAhoCorasick automaton(Pieces());
    const std::vector<std::string>& urls = TypicalUrls();
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(automaton.Count(urls[next].c_str()));
        next = next + 1 == urls.size() ? 0 : next + 1;
    }
}

std::string Fill(const std::string& unit, const std::string& tail)
{
    std::string url = "http://x.test/";
    while (url.size() + unit.size() + tail.size() <= 64 * 1024)
        url += unit;
    return url + tail;
}

struct Shape {
    const char* name;
    std::string url;
};

// Each ".com", ".net" and ".htm" of the tails is followed by a star, which a
// pattern's trailing star takes as one ordinary character, so nothing is hit
// and every branch of the search is tried.
const std::vector<Shape>& HostileShapes()
{
    static const std::vector<Shape> shapes = [] {
        const std::string generic = "ad..com*x/ads..com*x/ad..net*x/ads..net*x/casino.com*x/casino.net*x/pop.htm*x";
        std::string everyLiteral;
        for (const std::string& pattern : Patterns()) {
            for (const char c : pattern)
                if (c != '*')
                    everyLiteral += c;
            everyLiteral += "*x/";
        }
        return std::vector<Shape>{
            {"AdsRun", Fill("ads.", generic)},
            {"AdsRunUpperCase", Fill("ADS.", generic)},
            {"StarRun", Fill("ad*.*", generic)},
            {"PopRun", Fill("/pop", "/pop.htm*x")},
            {"CasinoRun", Fill("casino", "casino.com*x/casino.net*x")},
            {"EveryLiteral", Fill(everyLiteral, "")},
            {"DotComRun", Fill(".com*", generic)},
        };
    }();
    return shapes;
}

void HostileProject(benchmark::State& state)
{
    const std::vector<Shape>& shapes = HostileShapes();
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ProjectHits(shapes[next].url));
        next = next + 1 == shapes.size() ? 0 : next + 1;
    }
}

void HostileBaseline(benchmark::State& state)
{
    const std::string& url = HostileShapes()[3].url;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReferenceHits(url));
}

void HostileShapeProject(benchmark::State& state, const Shape* shape)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ProjectHits(shape->url));
}

const int kShapesRegistered = [] {
    for (const Shape& shape : HostileShapes())
        benchmark::RegisterBenchmark((std::string("BlockListHostile64K.") + shape.name).c_str(), HostileShapeProject, &shape)
            ->Unit(benchmark::kMicrosecond);
    return 0;
}();

} // namespace

BENCHMARK(TypicalUrlProject)->Name("BlockListTypicalUrl/Project");
BENCHMARK(TypicalUrlBaseline)->Name("BlockListTypicalUrl/Baseline");
BENCHMARK(HostileProject)->Name("BlockListHostile64K/Project")->Unit(benchmark::kMillisecond);
BENCHMARK(HostileBaseline)->Name("BlockListHostile64K/Baseline")->Unit(benchmark::kMillisecond)->Iterations(1);
