#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "monitor/BlockList.h"
#include "monitor/WildcardMatch.h"

using Hits = std::vector<std::size_t>;

// Stage 1 wants the pattern without its stars in the URL, byte for byte with
// case significant ('?' included); stage 2 is the wildcard match.
TEST(PatternHits, BothStagesMustPass) {
    // URL, pattern, what the matcher alone says, whether the pattern hits.
    const std::tuple<const char*, const char*, bool, bool> cases[] = {
        {"ad.x.com/banner", "*ad.*.com*", true, false}, {"http://ad..com/banner", "*ad.*.com*", true, true},
        {"x.test/POP.HTM", "*/pop*.htm*", true, false}, {"www.FindYourCasino.test", "*FindYourCasino*", true, true},
        {"www.findyourcasino.test", "*FindYourCasino*", true, false}, {"abc", "*a?c*", true, false},
        {"xa?cx", "*a?c*", true, true}, {"x", "**", true, true}, {"", "*", false, false},
        {"*x.ad..com", "*ad.*.com*", false, false}, {nullptr, "*a*", false, false},
    };
    for (const auto& [url, pattern, wildcard, hits] : cases) {
        EXPECT_EQ(WildcardMatch(url, pattern), wildcard) << url << " / " << pattern;
        EXPECT_EQ(PatternHits(url, pattern), hits) << url << " / " << pattern;
    }
}

// A 64 KB URL that passes stage 1 of several built-in patterns: every ".com",
// ".net" and ".htm" is followed by a star, which the pattern's trailing star
// takes as one ordinary character, and the "ads." before offer the interior
// stars a choice at every position. The search stays bounded and correct,
// and reports every hit in list order.
TEST(FindBlockListHits, ReportsEveryHitEvenOnHostileLongUrls) {
    std::string url = "http://x.test/";
    for (int i = 0; i < 16 * 1024; ++i)
        url += "ads.";
    url += "ad..com*x/ads..com*x/ad..net*x/ads..net*x/casino.com*x/casino.net*x/pop.htm*x";
    std::vector<std::string> list{"*kept*"};
    AppendBlockListPatterns(list);
    EXPECT_EQ(FindBlockListHits(url.c_str(), list), Hits{});
    EXPECT_EQ(FindBlockListHits((url + "/ad..com/kept").c_str(), list), (Hits{0, 2, 3, 4, 13}));
    EXPECT_EQ(FindBlockListHits("http://zedo.com/", {"*zedo.com*", "*none*", "*zedo.com*"}), (Hits{0, 2}));
}
