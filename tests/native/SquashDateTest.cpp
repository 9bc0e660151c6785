#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/SquashDate.h"

TEST(SquashDateTest, MonthDayYearWithoutLeadingZeros)
{
    EXPECT_EQ(FormatSquashDate(2004, 8, 20), "8/20/2004");
    EXPECT_EQ(FormatSquashDate(2005, 1, 2), "1/2/2005");
    EXPECT_EQ(FormatSquashDate(1999, 12, 31), "12/31/1999");
    EXPECT_EQ(FormatSquashDate(2010, 10, 1), "10/1/2010");
}

TEST(SquashDateTest, YearKeepsAllItsDigits)
{
    EXPECT_EQ(FormatSquashDate(100, 3, 4), "3/4/100");
    EXPECT_EQ(FormatSquashDate(9999, 11, 30), "11/30/9999");
}

TEST(ClassIdCandidateTest, UsualValueBecomesBracedIdentifier)
{
    EXPECT_EQ(ClassIdCandidate("clsid:11111111-2222-3333-4444-555555555555"),
              "{11111111-2222-3333-4444-555555555555}");
}

TEST(ClassIdCandidateTest, ReplacementIsCaseSensitive)
{
    EXPECT_EQ(ClassIdCandidate("CLSID:1234"), "CLSID:1234}");
    EXPECT_EQ(ClassIdCandidate("Clsid:1234"), "Clsid:1234}");
}

TEST(ClassIdCandidateTest, EveryOccurrenceIsReplacedLeftToRight)
{
    EXPECT_EQ(ClassIdCandidate("clsid:a clsid:b"), "{a {b}");
    EXPECT_EQ(ClassIdCandidate("xclsid:"), "x{}");
    // Non-overlapping, and a replacement does not create a new occurrence.
    EXPECT_EQ(ClassIdCandidate("clsid:clsid:"), "{{}");
    EXPECT_EQ(ClassIdCandidate("clsclsid::"), "cls{:}");
}

TEST(ClassIdCandidateTest, EmptyAndPlainValues)
{
    EXPECT_EQ(ClassIdCandidate(""), "}");
    EXPECT_EQ(ClassIdCandidate("{ABC}"), "{ABC}}");
    EXPECT_EQ(ClassIdCandidate("clsid"), "clsid}");
}

TEST(ClassIdCandidateTest, EmbeddedNulIsKept)
{
    std::string value("clsid:a", 7);
    value += '\0';
    value += "b";
    std::string expected("{a", 2);
    expected += '\0';
    expected += "b}";
    EXPECT_EQ(ClassIdCandidate(value), expected);
}

namespace {
std::vector<std::size_t> Matches(const std::string& candidate, const std::vector<std::string>& tokens)
{
    std::vector<std::size_t> positions;
    std::size_t count = ForEachDefinitionMatch(candidate, tokens, [&](std::size_t p) { positions.push_back(p); });
    EXPECT_EQ(count, positions.size());
    return positions;
}
} // namespace

TEST(DefinitionMatchTest, OnlyEvenPositionsBelowTheLastPieceCount)
{
    const std::vector<std::string> tokens = {"{A}", "Alpha", "{B}", "{A}", "{A}"};
    // Position 3 is odd, position 4 is the last piece: only 0 counts.
    EXPECT_EQ(Matches("{A}", tokens), (std::vector<std::size_t>{0}));
    EXPECT_EQ(Matches("{B}", tokens), (std::vector<std::size_t>{2}));
    EXPECT_TRUE(Matches("Alpha", tokens).empty());
}

TEST(DefinitionMatchTest, EveryEqualPieceIsReportedInOrder)
{
    const std::vector<std::string> tokens = {"{A}", "one", "{B}", "two", "{A}", "three", "end"};
    EXPECT_EQ(Matches("{A}", tokens), (std::vector<std::size_t>{0, 4}));
}

TEST(DefinitionMatchTest, ExactBytesWithCaseSignificant)
{
    const std::vector<std::string> tokens = {"{ABCDEF}", "name", "x"};
    EXPECT_TRUE(Matches("{abcdef}", tokens).empty());
    EXPECT_TRUE(Matches("{ABCDEF", tokens).empty());
    EXPECT_TRUE(Matches("{ABCDEF} ", tokens).empty());
    EXPECT_EQ(Matches("{ABCDEF}", tokens).size(), 1u);
}

TEST(DefinitionMatchTest, ShortListsHaveNoComparablePiece)
{
    EXPECT_EQ(ForEachDefinitionMatch("{A}", {}), 0u);
    EXPECT_EQ(ForEachDefinitionMatch("{A}", {"{A}"}), 0u);
    EXPECT_EQ(ForEachDefinitionMatch("{A}", {"{A}", "name"}), 1u);
}
