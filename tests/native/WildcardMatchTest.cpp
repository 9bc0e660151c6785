#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "ReferenceWildcard.h"
#include "monitor/WildcardMatch.h"

// Every string of length 0..maxLen over alphabet, shortest first.
static std::vector<std::string> AllStrings(const std::string& alphabet, std::size_t maxLen) {
    std::vector<std::string> all{""};
    for (std::size_t i = 0; all[i].size() < maxLen; ++i)
        for (char c : alphabet)
            all.push_back(all[i] + c);
    return all;
}

// Compares the matcher with the reference and counts the matches: a run in
// which nearly everything is false (or true) would prove little. Only the
// first disagreements are reported, so that a broken matcher fails fast.
struct WildcardTally {
    std::size_t matches = 0, checks = 0, disagreements = 0;

    void Compare(const std::string& text, const std::string& pattern) {
        const bool expected = ReferenceWildcardMatch(text.c_str(), pattern);
        matches += expected;
        ++checks;
        if (WildcardMatch(text.c_str(), pattern) != expected && ++disagreements <= 10)
            ADD_FAILURE() << "text \"" << text << "\" pattern \"" << pattern << "\": reference " << expected;
    }
};

// Every text of up to 4 characters against every pattern of up to 5, over
// alphabets that meet in upper and lower case, stars, question marks and a
// byte above 127.
TEST(WildcardMatch, AgreesWithReferenceExhaustively) {
    const std::vector<std::string> texts = AllStrings("aB*?\xE9", 4);
    WildcardTally tally;
    for (const std::string& pattern : AllStrings("Ab*?\xE9", 5))
        for (const std::string& text : texts)
            tally.Compare(text, pattern);
    EXPECT_GT(std::min(tally.matches, tally.checks - tally.matches), 10000u) << "both outcomes are common";
}

// Longer random texts under a fixed seed, against patterns made from the
// text itself: each character kept, dropped, turned into '?', a star, a star
// before it, the other case or any character. Now and then a long run of
// stars goes first, so that the pattern is longer than what the matcher
// keeps on the stack; and now and then a star and a long random head go
// first, so that the matcher skips ahead over text.
TEST(WildcardMatch, AgreesWithReferenceOnLongerInput) {
    std::mt19937 rng(20240611u);
    auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    const std::string alphabet = "aAdD./*?\xE9\xC9\x80m";
    WildcardTally tally;
    for (int round = 0; round < 60000; ++round) {
        std::string text, pattern(round % 100 ? 0 : 130, '*');
        for (std::size_t n = pick(25); n > 0; --n)
            text += alphabet[pick(alphabet.size())];
        for (const char c : text) {
            const char other = std::isalpha(static_cast<unsigned char>(c)) ? static_cast<char>(c ^ 0x20) : c;
            const std::string edits[] = {{c}, {c}, {c}, "", "?", "*", {'*', c}, {other}, {alphabet[pick(12)]}};
            pattern += edits[pick(9)];
        }
        if (round % 20 == 5) {
            pattern.insert(0, "*");
            for (std::size_t n = 70; n > 0; --n)
                text.insert(text.begin(), alphabet[pick(alphabet.size())]);
        }
        tally.Compare(text, pattern);
    }
    EXPECT_GT(std::min(tally.matches, tally.checks - tally.matches), 5000u) << "both outcomes are common";
}

// The scan of a later piece already waits when a run of stars facing stars
// of the text starts the scan of an earlier piece from an earlier position:
// both must run. Random patterns of '?' pieces between runs of stars hit
// this about once in 300,000 cases.
TEST(WildcardMatch, KeepsAnEarlierScanBehindALaterOne) {
    EXPECT_TRUE(ReferenceWildcardMatch("bbb*b**bb", "**??*?**b**b?"));
    EXPECT_TRUE(WildcardMatch("bbb*b**bb", "**??*?**b**b?"));
}
