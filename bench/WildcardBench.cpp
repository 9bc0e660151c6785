// The wildcard matcher against its plain recursive reference, and the
// block-list test of one URL against all built-in patterns.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "ReferenceWildcard.h"
#include "monitor/BlockList.h"
#include "monitor/WildcardMatch.h"

namespace {

const std::vector<std::string>& Patterns()
{
    static const std::vector<std::string> list = [] {
        std::vector<std::string> l;
        AppendBlockListPatterns(l);
        return l;
    }();
    return list;
}

const char* const kTypicalUrls[] = {
    "http://www.example.com/index.html",
    "http://news.test/world/2004/03/17/story.html?ref=front&section=world",
    "http://search.test/results.aspx?q=garden+furniture&first=11&form=PERE",
    "http://ad.doubleclick.net/adi/N1234.site/B567;sz=468x60;ord=123456789?",
    "http://www.shop.test/catalog/product.jsp?id=4711&category=books&sort=price",
    "http://x.entercasino.com/",
    "http://mail.test/cgi-bin/inbox?folder=Inbox&order=date&start=0",
    "file:///C:/Documents%20and%20Settings/user/My%20Documents/page.htm",
};

// A URL that offers every interior star of "*ad*.*.com*" a choice at every
// position and still fails: its only ".com" is followed by a star, which the
// trailing star takes as one ordinary character.
std::string HostileUrl(std::size_t length)
{
    const std::string tail = "ad..com*x";
    std::string url = "http://x.test/";
    while (url.size() + 4 + tail.size() <= length)
        url += "ads.";
    return url + tail;
}

// Block-list style URL of about 64 KB that passes stage 1 of nine patterns.
std::string HostileBlockListUrl()
{
    std::string url = "http://x.test/";
    while (url.size() < 64 * 1024)
        url += "ads.";
    return url + "ad..com*x/ads..com*x/ad..net*x/ads..net*x/casino.com*x/casino.net*x/pop.htm*x";
}

bool ReferencePatternHits(const char* url, const std::string& pattern)
{
    std::string literal;
    for (char c : pattern)
        if (c != '*')
            literal += c;
    return std::strstr(url, literal.c_str()) != nullptr && ReferenceWildcardMatch(url, pattern);
}

template <bool (*Match)(const char*, std::string)>
void BM_TypicalUrls(benchmark::State& state)
{
    // Every typical URL against every pattern, without the stage-1 filter.
    for (auto _ : state) {
        int hits = 0;
        for (const char* url : kTypicalUrls)
            for (const std::string& pattern : Patterns())
                hits += Match(url, pattern) ? 1 : 0;
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(std::size(kTypicalUrls) * Patterns().size()));
}

template <bool (*Match)(const char*, std::string)>
void BM_HostileAdCom(benchmark::State& state)
{
    const std::string url = HostileUrl(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Match(url.c_str(), "*ad*.*.com*"));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(url.size()));
}

template <bool (*Match)(const char*, std::string)>
void BM_HostileManyStars(benchmark::State& state)
{
    const std::string text(static_cast<std::size_t>(state.range(0)), 'a');
    for (auto _ : state)
        benchmark::DoNotOptimize(Match(text.c_str(), "*a*a*a*a*a*b"));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

template <bool (*Hits)(const char*, const std::string&)>
void RunBlockList(benchmark::State& state, const std::string& url)
{
    for (auto _ : state) {
        int hits = 0;
        for (const std::string& pattern : Patterns())
            hits += Hits(url.c_str(), pattern) ? 1 : 0;
        benchmark::DoNotOptimize(hits);
    }
}

template <bool (*Hits)(const char*, const std::string&)>
void BM_BlockListTypicalUrl(benchmark::State& state)
{
    RunBlockList<Hits>(state, "http://www.shop.test/catalog/product.jsp?id=4711&category=books&sort=price");
}

template <bool (*Hits)(const char*, const std::string&)>
void BM_BlockListAdUrl(benchmark::State& state)
{
    RunBlockList<Hits>(state, "http://ad.doubleclick.net/adi/N1234.site/B567;sz=468x60;ord=123456789?");
}

void BM_BlockListHostile64K_Ours(benchmark::State& state)
{
    RunBlockList<PatternHits>(state, HostileBlockListUrl());
}

bool OursMatch(const char* text, std::string pattern) { return WildcardMatch(text, std::move(pattern)); }
bool RefMatch(const char* text, std::string pattern) { return ReferenceWildcardMatch(text, std::move(pattern)); }

} // namespace

BENCHMARK_TEMPLATE(BM_TypicalUrls, OursMatch)->Name("TypicalUrls37Patterns/Ours");
BENCHMARK_TEMPLATE(BM_TypicalUrls, RefMatch)->Name("TypicalUrls37Patterns/Reference");

BENCHMARK_TEMPLATE(BM_HostileAdCom, OursMatch)
    ->Name("HostileAdCom/Ours")
    ->RangeMultiplier(4)
    ->Range(256, 64 * 1024)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_HostileAdCom, RefMatch)
    ->Name("HostileAdCom/Reference")
    ->RangeMultiplier(2)
    ->Range(256, 1024)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_TEMPLATE(BM_HostileManyStars, OursMatch)
    ->Name("HostileManyStars/Ours")
    ->RangeMultiplier(4)
    ->Range(64, 64 * 1024)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_HostileManyStars, RefMatch)
    ->Name("HostileManyStars/Reference")
    ->RangeMultiplier(2)
    ->Range(16, 64)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_TEMPLATE(BM_BlockListTypicalUrl, PatternHits)->Name("BlockListTypicalUrl/Ours");
BENCHMARK_TEMPLATE(BM_BlockListTypicalUrl, ReferencePatternHits)->Name("BlockListTypicalUrl/Reference");
BENCHMARK_TEMPLATE(BM_BlockListAdUrl, PatternHits)->Name("BlockListAdUrl/Ours");
BENCHMARK_TEMPLATE(BM_BlockListAdUrl, ReferencePatternHits)->Name("BlockListAdUrl/Reference");
BENCHMARK(BM_BlockListHostile64K_Ours)->Name("BlockListHostile64K/Ours")->Unit(benchmark::kMillisecond);
