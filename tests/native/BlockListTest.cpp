#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ReferenceWildcard.h"
#include "monitor/BlockList.h"
#include "monitor/WildcardMatch.h"

namespace {

std::vector<std::string> BuiltIn()
{
    std::vector<std::string> list;
    AppendBlockListPatterns(list);
    return list;
}

std::string WithoutStars(const std::string& pattern)
{
    std::string out;
    for (char c : pattern)
        if (c != '*')
            out += c;
    return out;
}

using Hits = std::vector<std::size_t>;

} // namespace

TEST(BlockList, IsEmptyUntilFilled)
{
    // Nothing in this executable fills the process-wide list.
    EXPECT_TRUE(BlockList.empty());
    EXPECT_TRUE(FindBlockListHits("http://ad.doubleclick.net/x", BlockList).empty());
}

TEST(BlockList, HoldsThe37PatternsInOrder)
{
    const std::vector<std::string> list = BuiltIn();
    ASSERT_EQ(list.size(), 37u);

    // The generic rows, at their 1-based positions.
    const struct {
        std::size_t position;
        const char* pattern;
    } generic[] = {
        {2, "*ad.*.com*"}, {3, "*ads.*.com*"}, {4, "*ad*.*.com*"},
        {5, "*ad.*.net*"}, {6, "*ads.*.net*"}, {7, "*ad*.*.net*"},
        {13, "*casino*.com*"}, {14, "*casino*.net*"}, {17, "*/pop*.htm*"},
    };
    for (const auto& row : generic)
        EXPECT_EQ(list[row.position - 1], row.pattern) << "position " << row.position;

    bool anyUpper37 = false;
    for (char c : list[36])
        anyUpper37 = anyUpper37 || std::isupper(static_cast<unsigned char>(c));
    EXPECT_TRUE(anyUpper37) << list[36];

    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string& p = list[i];
        SCOPED_TRACE("position " + std::to_string(i + 1) + ": " + p);
        ASSERT_GE(p.size(), 3u);
        EXPECT_EQ(p.front(), '*');
        EXPECT_EQ(p.back(), '*');
        EXPECT_EQ(p.find('?'), std::string::npos);
        EXPECT_EQ(std::strlen(p.c_str()), p.size()); // no embedded NUL
        bool generic_row = false;
        for (const auto& row : generic)
            generic_row = generic_row || row.position == i + 1;
        if (!generic_row) {
            // A host-specific row: one name between two stars.
            EXPECT_EQ(p.find('*', 1), p.size() - 1);
            EXPECT_EQ(p.find(' '), std::string::npos);
            if (i + 1 != 37) {
                for (char c : p)
                    EXPECT_FALSE(std::isupper(static_cast<unsigned char>(c)));
            }
        }
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(list[j], p) << "repeats position " << j + 1;
    }

    // The shapes some host-specific rows must have.
    EXPECT_EQ(list[0].compare(0, 2, "*."), 0) << list[0];
    EXPECT_EQ(list[28].compare(0, 2, "*/"), 0) << list[28];
    EXPECT_EQ(list[28].compare(list[28].size() - 2, 2, "/*"), 0) << list[28];
    int dots = 0;
    for (char c : list[17]) {
        if (c == '.')
            ++dots;
        else if (c != '*') {
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c))) << list[17];
        }
    }
    EXPECT_EQ(dots, 3) << list[17];
}

TEST(BlockList, AppendsAtTheEnd)
{
    std::vector<std::string> list{"*keep*"};
    AppendBlockListPatterns(list);
    AppendBlockListPatterns(list);
    ASSERT_EQ(list.size(), 75u);
    EXPECT_EQ(list[0], "*keep*");
    const std::vector<std::string> builtIn = BuiltIn();
    for (std::size_t i = 0; i < builtIn.size(); ++i) {
        EXPECT_EQ(list[1 + i], builtIn[i]);
        EXPECT_EQ(list[38 + i], builtIn[i]);
    }
}

TEST(PatternHits, StageOneIsACaseSensitiveSubstringTest)
{
    // Stage 2 alone would match these; stage 1 wants the pattern without stars.
    EXPECT_TRUE(WildcardMatch("ad.x.com/banner", "*ad.*.com*"));
    EXPECT_FALSE(PatternHits("ad.x.com/banner", "*ad.*.com*"));
    EXPECT_TRUE(PatternHits("http://ad..com/banner", "*ad.*.com*"));

    EXPECT_TRUE(PatternHits("x.test/pop.html", "*/pop*.htm*"));
    EXPECT_FALSE(PatternHits("x.test/popup.html", "*/pop*.htm*"));
    EXPECT_FALSE(PatternHits("x.test/POP.HTM", "*/pop*.htm*"));
    EXPECT_TRUE(WildcardMatch("x.test/POP.HTM", "*/pop*.htm*"));

    EXPECT_TRUE(PatternHits("http://www.FindYourCasino.test/", "*FindYourCasino*"));
    EXPECT_FALSE(PatternHits("http://www.findyourcasino.test/", "*FindYourCasino*"));

    // A question mark stays in the stage-1 text, where it is an ordinary byte.
    EXPECT_TRUE(WildcardMatch("abc", "*a?c*"));
    EXPECT_FALSE(PatternHits("abc", "*a?c*"));
    EXPECT_TRUE(PatternHits("xa?cx", "*a?c*"));
}

TEST(PatternHits, StageTwoStillDecides)
{
    // A pattern of stars only passes stage 1 and is left to the matcher.
    EXPECT_TRUE(PatternHits("x", "**"));
    EXPECT_FALSE(PatternHits("", "*"));
    // The substring is there but the wildcard match fails: a star facing the
    // text's star, and an anchored pattern.
    EXPECT_FALSE(PatternHits("*x.ad..com", "*ad.*.com*"));
    EXPECT_FALSE(PatternHits("x.ad..com*y", "*ad.*.com*"));
    EXPECT_FALSE(PatternHits("xabc", "abc*"));
    EXPECT_FALSE(PatternHits(nullptr, "*a*"));
}

TEST(FindBlockListHits, ReportsEveryHitInListOrder)
{
    const std::vector<std::string> list = BuiltIn();
    // "*casino*.com*" (13) and "*entercasino.com*" (32).
    EXPECT_EQ(FindBlockListHits("http://x.entercasino.com/", list), (Hits{12, 31}));
    // "*fastclick.net*" (8) and "*247media*" (12).
    EXPECT_EQ(FindBlockListHits("http://www.fastclick.net/247media/x", list), (Hits{7, 11}));
    // Every "ad" pattern under .com, and the pop-up page.
    EXPECT_EQ(FindBlockListHits("http://ads..com/ad..com/pop.htm", list), (Hits{1, 2, 3, 16}));

    // A list with a pattern twice reports it twice.
    const std::vector<std::string> twice{"*zedo.com*", "*none*", "*zedo.com*"};
    EXPECT_EQ(FindBlockListHits("http://zedo.com/", twice), (Hits{0, 2}));

    for (const char* clean : {"http://www.example.com/index.html", "http://news.test/reading/adventure.html",
                              "about:blank", "", "http://shop.test/POP.HTM",
                              "http://www.findyourcasino.test/"}) {
        EXPECT_TRUE(FindBlockListHits(clean, list).empty()) << clean;
    }
}

TEST(FindBlockListHits, EveryPatternIsHitByItsOwnText)
{
    const std::vector<std::string> list = BuiltIn();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string url = "http://" + WithoutStars(list[i]) + "/x";
        const Hits hits = FindBlockListHits(url.c_str(), list);
        bool found = false;
        for (std::size_t h : hits)
            found = found || h == i;
        EXPECT_TRUE(found) << url;
    }
}

// Long hostile URLs that pass stage 1 of several patterns and so reach the
// matcher: every ".com", ".net" and ".htm" is followed by a star, which the
// trailing star of the pattern takes as one ordinary character, leaving text
// over; and the text before them offers the interior stars a choice at every
// position.
TEST(FindBlockListHits, HostileLongUrls)
{
    const std::vector<std::string> list = BuiltIn();
    auto hostile = [](std::size_t units, const std::string& tail) {
        std::string url = "http://x.test/";
        for (std::size_t i = 0; i < units; ++i)
            url += "ads.";
        return url + tail;
    };
    const std::string stars =
        "ad..com*x/ads..com*x/ad..net*x/ads..net*x/casino.com*x/casino.net*x/pop.htm*x";

    const std::string longMiss = hostile(16 * 1024, stars);
    ASSERT_GE(longMiss.size(), 64u * 1024);
    for (std::size_t i : {1u, 2u, 3u, 4u, 5u, 6u, 12u, 13u, 16u})
        ASSERT_NE(longMiss.find(WithoutStars(list[i])), std::string::npos) << list[i];
    EXPECT_TRUE(FindBlockListHits(longMiss.c_str(), list).empty());

    // The same with a real ending: a ".com/" lets the trailing stars of every
    // pattern under .com match, with their earlier pieces found further back.
    const std::string longHit = hostile(16 * 1024, stars + "/ad..com/");
    EXPECT_EQ(FindBlockListHits(longHit.c_str(), list), (Hits{1, 2, 3, 12}));

    // The same constructions, short enough for the reference matcher.
    for (const std::string& url : {hostile(25, stars), hostile(25, stars + "/ad..com/")}) {
        for (const std::string& pattern : list)
            EXPECT_EQ(WildcardMatch(url.c_str(), pattern), ReferenceWildcardMatch(url.c_str(), pattern))
                << pattern << " on " << url;
    }
}

// Random URLs built from the pieces the patterns are made of, compared with
// the reference matcher on every built-in pattern.
TEST(FindBlockListHits, MatcherAgreesWithReferenceOnThePatterns)
{
    const std::vector<std::string> list = BuiltIn();
    const char* const pieces[] = {"ad",  "ads", ".",      "com",    "net", "casino", "/pop", ".htm", "l",
                                  "*",   "?",   "/",      "AD",     ".COM", "x",     "\xE9", "zedo", "FindYourCasino",
                                  "findyourcasino", "/ad-server/", "37.252.162.1", "specificpop"};
    const std::size_t pieceCount = sizeof(pieces) / sizeof(pieces[0]);
    std::mt19937 rng(777u);
    std::size_t hits = 0;
    std::size_t disagreements = 0;
    for (int round = 0; round < 1500; ++round) {
        std::string url = (rng() % 4 == 0) ? "" : "http://";
        const std::size_t count = rng() % 12;
        for (std::size_t i = 0; i < count; ++i)
            url += pieces[rng() % pieceCount];
        for (const std::string& pattern : list) {
            const bool expected = ReferenceWildcardMatch(url.c_str(), pattern);
            hits += expected ? 1 : 0;
            if (expected != WildcardMatch(url.c_str(), pattern) && ++disagreements <= 20)
                ADD_FAILURE() << pattern << " on " << url;
        }
    }
    EXPECT_EQ(disagreements, 0u);
    EXPECT_GT(hits, 1000u);
}
