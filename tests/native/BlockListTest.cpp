#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <new>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "ReferenceWildcard.h"
#include "TestAllocator.h"
#include "monitor/BlockList.h"
#include "monitor/WildcardMatch.h"

using Hits = std::vector<std::size_t>;

static Hits HitsOf(const CBlockList& list, const char* url) {
    Hits hits;
    list.ForEachHit(url, [&hits](std::size_t i) { hits.push_back(i); });
    return hits;
}

// Stage 1 wants the pattern without its stars in the URL, byte for byte with
// case significant ('?' included); stage 2 is the wildcard match.
TEST(BlockList, BothStagesMustPass) {
    // URL, pattern, what the matcher alone says, whether the pattern hits.
    const std::tuple<const char*, const char*, bool, bool> cases[] = {
        {"ad.x.com/banner", "*ad.*.com*", true, false}, {"http://ad..com/banner", "*ad.*.com*", true, true},
        {"x.test/POP.HTM", "*/pop*.htm*", true, false}, {"www.FindYourCasino.test", "*FindYourCasino*", true, true},
        {"www.findyourcasino.test", "*FindYourCasino*", true, false}, {"abc", "*a?c*", true, false},
        {"xa?cx", "*a?c*", true, true}, {"x", "**", true, true}, {"", "*", false, false},
        {"*x.ad..com", "*ad.*.com*", false, false}, {nullptr, "*a*", false, false},
    };
    for (const auto& [url, pattern, wildcard, hits] : cases) {
        CBlockList list;
        list = {pattern};
        EXPECT_EQ(WildcardMatch(url, pattern), wildcard) << url << " / " << pattern;
        EXPECT_EQ(HitsOf(list, url), hits ? Hits{0} : Hits{}) << url << " / " << pattern;
    }
}

// A 64 KB URL that passes stage 1 of several built-in patterns: every ".com",
// ".net" and ".htm" is followed by a star, which the pattern's trailing star
// takes as one ordinary character, and the "ads." before offer the interior
// stars a choice at every position. The search stays bounded and correct,
// and reports every hit in list order. The last pattern is longer than any
// skip the search takes.
TEST(BlockList, ReportsEveryHitEvenOnHostileLongUrls) {
    std::string url = "http://x.test/";
    for (int i = 0; i < 16 * 1024; ++i)
        url += "ads.";
    const std::string longPiece(300, 'z');
    url += "ad..com*x/ads..com*x/ad..net*x/ads..net*x/casino.com*x/casino.net*x/pop.htm*x/" + longPiece;
    std::vector<std::string> patterns;
    AppendBlockListPatterns(patterns);
    patterns.push_back("*" + longPiece + "*");
    CBlockList list;
    list = {"*kept*"};
    list.Append(patterns);
    EXPECT_EQ(HitsOf(list, url.c_str()), Hits{38});
    EXPECT_EQ(HitsOf(list, (url + "/ad..com/kept").c_str()), (Hits{0, 2, 3, 4, 13, 38}));
    list = {"*zedo.com*", "*none*", "*zedo.com*"};
    EXPECT_EQ(HitsOf(list, "http://zedo.com/"), (Hits{0, 2}));
    list.Clear();
    EXPECT_EQ(HitsOf(list, "http://zedo.com/"), Hits{});
}

// The list against its plain definition (the substring pre-test, then the
// reference matcher) and the matcher against the reference, on URLs made
// from the built-in patterns: their pieces in either case, a changed byte,
// stars and filler between, half of them after a long run of filler. The list holds the built-in patterns twice and
// random ones after them, so that two groups of 64 are tested; the test of a
// URL allocates nothing.
TEST(BlockList, AgreesWithReferenceOnGeneratedUrls) {
    std::mt19937 rng(20250117u);
    auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    const std::string alphabet = "aAdDsS.*?mcCo/x";
    std::vector<std::string> patterns;
    AppendBlockListPatterns(patterns);
    AppendBlockListPatterns(patterns);
    while (patterns.size() < 128) {
        std::string pattern(pick(2), '*');
        for (std::size_t n = pick(8); n > 0; --n)
            pattern += alphabet[pick(alphabet.size())];
        patterns.push_back(pattern);
    }
    CBlockList list;
    list = patterns;
    std::size_t hitCount = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string url;
        for (std::size_t n = pick(2) * pick(150); n > 0; --n)
            url += alphabet[pick(alphabet.size())];
        for (const char c : patterns[pick(37)]) {
            for (std::size_t n = c == '*' ? pick(5) : 0; n > 0; --n)
                url += alphabet[pick(alphabet.size())];
            if (c != '*')
                url += pick(40) == 0 ? alphabet[pick(alphabet.size())] : std::isalpha(c) && pick(30) == 0 ? c ^ 0x20 : c;
            if (pick(30) == 0)
                url += '*';
        }
        Hits expected;
        for (std::size_t i = 0; i < patterns.size(); ++i) {
            std::string literal;
            for (const char c : patterns[i])
                literal += c == '*' ? "" : std::string(1, c);
            const bool match = ReferenceWildcardMatch(url.c_str(), patterns[i]);
            EXPECT_EQ(WildcardMatch(url.c_str(), patterns[i]), match) << url << " / " << patterns[i];
            if (match && std::strstr(url.c_str(), literal.c_str()))
                expected.push_back(i);
        }
        std::size_t hits[128], count = 0;
        bool allocated = false;
        allocationLimit = 0;
        try {
            list.ForEachHit(url.c_str(), [&](std::size_t i) { hits[count++ % 128] = i; });
        } catch (const std::bad_alloc&) {
            allocated = true;
        }
        allocationLimit = SIZE_MAX;
        ASSERT_FALSE(allocated) << url;
        EXPECT_EQ(Hits(hits, hits + count), expected) << url;
        hitCount += count;
    }
    EXPECT_GT(hitCount, 1500u) << "hits are common";
}
