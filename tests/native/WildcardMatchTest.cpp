#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "ReferenceWildcard.h"
#include "monitor/WildcardMatch.h"

namespace {

// Shows bytes 128-255 and control characters readably in failure messages.
std::string Show(const std::string& s)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out + "\"";
}

// Every string of length 0..maxLen over alphabet.
std::vector<std::string> AllStrings(const std::string& alphabet, std::size_t maxLen)
{
    std::vector<std::string> all{""};
    std::size_t begin = 0;
    for (std::size_t len = 1; len <= maxLen; ++len) {
        const std::size_t end = all.size();
        for (std::size_t i = begin; i < end; ++i)
            for (char c : alphabet)
                all.push_back(all[i] + c);
        begin = end;
    }
    return all;
}

// Counts the outcomes of a differential run, so that a run in which nearly
// everything is false (or true) is noticed as too weak.
struct Outcomes {
    std::size_t matches = 0;
    std::size_t misses = 0;
    std::size_t disagreements = 0;
};

void Compare(const std::string& text, const std::string& pattern, Outcomes& out)
{
    const bool expected = ReferenceWildcardMatch(text.c_str(), pattern);
    const bool actual = WildcardMatch(text.c_str(), pattern);
    (expected ? out.matches : out.misses)++;
    if (expected != actual) {
        if (++out.disagreements <= 20)
            ADD_FAILURE() << "text " << Show(text) << " pattern " << Show(pattern)
                          << ": reference " << expected << ", WildcardMatch " << actual;
    }
}

} // namespace

TEST(WildcardMatch, EmptyTextMatchesOnlyEmptyPattern)
{
    EXPECT_TRUE(WildcardMatch("", ""));
    EXPECT_FALSE(WildcardMatch("", "*"));
    EXPECT_FALSE(WildcardMatch("", "**"));
    EXPECT_FALSE(WildcardMatch("", "?"));
    EXPECT_FALSE(WildcardMatch("a", ""));
    EXPECT_FALSE(WildcardMatch(nullptr, "*"));
    EXPECT_TRUE(WildcardMatch(nullptr, ""));
}

TEST(WildcardMatch, TrailingStar)
{
    // The text ran out on the character just before a single star.
    EXPECT_TRUE(WildcardMatch("abc", "abc*"));
    EXPECT_TRUE(WildcardMatch("abcd", "abc*"));
    EXPECT_TRUE(WildcardMatch("abcdef", "abc*"));
    // Only one star is skipped that way.
    EXPECT_FALSE(WildcardMatch("abc", "abc**"));
    EXPECT_TRUE(WildcardMatch("abcd", "abc**"));
    // A question mark that takes the last character counts as a match.
    EXPECT_TRUE(WildcardMatch("ab", "a?*"));
    // An interior star may stand for an empty run.
    EXPECT_TRUE(WildcardMatch("ab", "a*b"));
    EXPECT_TRUE(WildcardMatch("ac", "a***c"));
    // A lone or repeated star matches any non-empty text.
    EXPECT_TRUE(WildcardMatch("a", "*"));
    EXPECT_TRUE(WildcardMatch("a", "**"));
    EXPECT_TRUE(WildcardMatch("abc", "***"));
    // A star that is not trailing must still leave the rest matchable.
    EXPECT_FALSE(WildcardMatch("abc", "*d"));
    EXPECT_FALSE(WildcardMatch("abc", "a*bd"));
}

TEST(WildcardMatch, StarFacingStarIsAnOrdinaryCharacter)
{
    EXPECT_FALSE(WildcardMatch("*xyz", "*z"));
    EXPECT_TRUE(WildcardMatch("a*b", "*b"));
    EXPECT_TRUE(WildcardMatch("*", "*"));
    EXPECT_FALSE(WildcardMatch("**", "*"));
    EXPECT_FALSE(WildcardMatch("x*y", "x*"));
    EXPECT_TRUE(WildcardMatch("xzy", "x*"));
    EXPECT_TRUE(WildcardMatch("a*", "*a*"));
    // A question mark in the text is an ordinary character.
    EXPECT_FALSE(WildcardMatch("a?c", "abc"));
    EXPECT_TRUE(WildcardMatch("a?c", "a?c"));
}

TEST(WildcardMatch, QuestionMarkTakesExactlyOneCharacter)
{
    EXPECT_TRUE(WildcardMatch("abc", "a?c"));
    EXPECT_FALSE(WildcardMatch("ac", "a?c"));
    EXPECT_FALSE(WildcardMatch("abbc", "a?c"));
    EXPECT_TRUE(WildcardMatch("a", "?"));
    EXPECT_FALSE(WildcardMatch("ab", "?"));
    EXPECT_TRUE(WildcardMatch("\xE9", "?"));
    EXPECT_TRUE(WildcardMatch("abcd", "*??d"));
    EXPECT_FALSE(WildcardMatch("ad", "*??d"));
}

TEST(WildcardMatch, OnlyAsciiLettersIgnoreCase)
{
    EXPECT_TRUE(WildcardMatch("AD.X.COM/", "*ad.*.com*"));
    EXPECT_TRUE(WildcardMatch("findyourcasino", "*FindYourCasino*"));
    EXPECT_TRUE(WildcardMatch("aZ", "Az"));
    // Pairs that differ only in the 0x20 bit but are not letters.
    EXPECT_FALSE(WildcardMatch("{", "["));
    EXPECT_FALSE(WildcardMatch("@", "`"));
    EXPECT_FALSE(WildcardMatch("^", "~"));
    // Accented letters of the code page compare exactly.
    EXPECT_FALSE(WildcardMatch("\xE9", "\xC9"));
    EXPECT_FALSE(WildcardMatch("\xC9", "\xE9"));
    EXPECT_TRUE(WildcardMatch("\xE9", "\xE9"));
    EXPECT_TRUE(WildcardMatch("x\xFF\x80y", "*\xFF\x80*"));
}

TEST(WildcardMatch, PatternEndsAtItsFirstNul)
{
    const std::string pattern("ab\0zz", 5);
    EXPECT_TRUE(WildcardMatch("ab", pattern));
    EXPECT_FALSE(WildcardMatch("abzz", pattern));
    EXPECT_FALSE(WildcardMatch("a", std::string("\0*", 2)));
    EXPECT_TRUE(WildcardMatch("", std::string("\0a", 2)));
}

TEST(WildcardMatch, LongPatternsAgreeWithReference)
{
    // Longer than any row kept on the stack.
    std::string literal;
    for (int i = 0; i < 300; ++i)
        literal += static_cast<char>('a' + i % 7);
    const std::string text = "xx" + literal + "yy";

    EXPECT_TRUE(WildcardMatch(text.c_str(), "*" + literal + "*"));
    EXPECT_FALSE(WildcardMatch(text.c_str(), "*" + literal + "z*"));
    std::string withMarks = literal;
    for (std::size_t i = 0; i < withMarks.size(); i += 5)
        withMarks[i] = '?';
    EXPECT_TRUE(WildcardMatch(text.c_str(), "??" + withMarks + "*"));
    EXPECT_FALSE(WildcardMatch(text.c_str(), "?" + withMarks + "*"));

    Outcomes out;
    for (std::size_t cut : {10u, 100u, 200u, 299u}) {
        std::string split = literal;
        split.insert(cut, "*");
        Compare(text, "*" + split + "*", out);
        Compare(text, "xx" + split + "yy", out);
        Compare(text, "xx" + split + "y", out);
        Compare(text, "XX" + split + "Y?", out);
    }
    EXPECT_EQ(out.disagreements, 0u);
    EXPECT_GT(out.matches, 0u);
    EXPECT_GT(out.misses, 0u);
}

TEST(WildcardMatch, HostileLongTextStaysCorrect)
{
    // 64 KB of a text that offers every star a choice at every position.
    std::string text(64 * 1024, 'a');
    EXPECT_FALSE(WildcardMatch(text.c_str(), "*a*a*a*a*a*b"));
    EXPECT_FALSE(WildcardMatch(text.c_str(), "*a*a*a*a*a*\xE1"));
    EXPECT_TRUE(WildcardMatch(text.c_str(), "*a*a*a*a*a*"));
    EXPECT_TRUE(WildcardMatch(text.c_str(), "*a*?*a*a*a*aa"));
    text.back() = 'b';
    EXPECT_TRUE(WildcardMatch(text.c_str(), "*a*a*a*a*a*b"));

    // Every 'b' is followed by a star in the text, so the trailing star always
    // faces a star and consumes just it, leaving text over: no match, except
    // when that star is the text's last character.
    auto repeated = [](std::size_t n, const std::string& tail) {
        std::string s;
        for (std::size_t i = 0; i < n; ++i)
            s += "ab*";
        return s + tail;
    };
    const std::string longMiss = repeated(22000, "c");
    const std::string longHit = repeated(22000, "");
    EXPECT_FALSE(WildcardMatch(longMiss.c_str(), "*a*b*"));
    EXPECT_TRUE(WildcardMatch(longMiss.c_str(), "*a*b*c"));
    EXPECT_TRUE(WildcardMatch(longHit.c_str(), "*a*b*"));

    // The same construction, short enough for the reference.
    Outcomes out;
    for (const char* pattern : {"*a*b*", "*a*b*c", "*a*?*", "*b**"}) {
        Compare(repeated(40, "c"), pattern, out);
        Compare(repeated(40, ""), pattern, out);
    }
    EXPECT_EQ(out.disagreements, 0u);
}

// Every text of up to 4 characters against every pattern of up to 5, over
// alphabets that meet in upper and lower case, stars, question marks and a
// byte above 127.
TEST(WildcardMatch, AgreesWithReferenceExhaustively)
{
    const std::vector<std::string> texts = AllStrings("aB*?\xE9", 4);
    const std::vector<std::string> patterns = AllStrings("Ab*?\xE9", 5);
    Outcomes out;
    for (const std::string& pattern : patterns)
        for (const std::string& text : texts)
            Compare(text, pattern, out);
    EXPECT_EQ(out.disagreements, 0u);
    EXPECT_GT(out.matches, 10000u);
    EXPECT_GT(out.misses, 10000u);
}

// Longer random texts, with patterns drawn either freely or from the text
// itself (so that many of them match), under a fixed seed.
TEST(WildcardMatch, AgreesWithReferenceOnRandomInput)
{
    std::mt19937 rng(20240611u);
    auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    const std::string textAlphabet = "aAdD./*?\xE9\xC9\x80m";
    const std::string patternAlphabet = "aAdD./*?\xE9\xC9\x80m***?";

    Outcomes out;
    for (int round = 0; round < 60000; ++round) {
        std::string text;
        const std::size_t textLen = pick(25);
        for (std::size_t i = 0; i < textLen; ++i)
            text += textAlphabet[pick(textAlphabet.size())];

        std::string pattern;
        if (round % 2 == 0 || text.empty()) {
            const std::size_t patternLen = pick(11);
            for (std::size_t i = 0; i < patternLen; ++i)
                pattern += patternAlphabet[pick(patternAlphabet.size())];
        } else {
            // Keep a random subsequence of the text, flip some letters' case,
            // replace some characters by '?' and put stars into the gaps.
            int stars = 0;
            for (char c : text) {
                if (stars < 5 && pick(4) == 0) {
                    pattern += '*';
                    ++stars;
                }
                const std::size_t r = pick(10);
                if (r == 0)
                    continue;
                if (r == 1)
                    c = '?';
                else if (r == 2 && c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 'a' + 'A');
                else if (r == 2 && c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c - 'A' + 'a');
                pattern += c;
            }
            if (pick(2) == 0)
                pattern += '*';
        }
        Compare(text, pattern, out);
    }
    EXPECT_EQ(out.disagreements, 0u);
    EXPECT_GT(out.matches, 5000u);
    EXPECT_GT(out.misses, 5000u);
}
