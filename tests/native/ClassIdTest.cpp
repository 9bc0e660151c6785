#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "http/HttpClient.h"

namespace
{
// A client whose body holds the given lines, as Get would have stored them.
struct Page
{
    CHttpClient client;

    Page(std::initializer_list<const char*> lines)
    {
        for (const char* line : lines)
            client.bodyLines.Add(line);
    }

    std::vector<std::pair<int, int>> Positions()
    {
        std::vector<std::pair<int, int>> positions;
        client.CountClassIds();
        int line = 0;
        int offset = 0;
        for (int i = 0; client.classIdPositions.GetAt(i, line, offset); ++i)
            positions.emplace_back(line, offset);
        return positions;
    }

    std::string Value(int index, int* result, int outSize = 256)
    {
        // Room for the marker text whatever outSize is.
        std::vector<char> out(static_cast<std::size_t>(outSize) + 16, '#');
        std::strcpy(out.data(), "unchanged");
        *result = client.GetClassId(index, out.data(), outSize);
        return out.data();
    }
};

using Positions = std::vector<std::pair<int, int>>;
}

TEST(ClassIds, FindsTheValueOfAnObjectTag)
{
    Page page({"<html>\r\n", "<object classid=\"clsid:D27CDB6E-AE6D-11CF-96B8-444553540000\" width=1>\r\n"});
    EXPECT_EQ(1, page.client.CountClassIds());
    EXPECT_EQ((Positions{{1, 15}}), page.Positions());
    int result = -1;
    EXPECT_EQ("clsid:D27CDB6E-AE6D-11CF-96B8-444553540000", page.Value(0, &result));
    EXPECT_EQ(0, result);
    // No further occurrence: the output is left as it was.
    EXPECT_EQ("unchanged", page.Value(1, &result));
    EXPECT_EQ(1, result);
    EXPECT_EQ("unchanged", page.Value(-1, &result));
    EXPECT_EQ(1, result);
}

TEST(ClassIds, FindsEveryMixtureOfCase)
{
    Page page({"CLASSID=\"a\" ClassId=\"b\"", " cLaSsId=\"c\""});
    EXPECT_EQ(3, page.client.CountClassIds());
    EXPECT_EQ((Positions{{0, 7}, {0, 19}, {1, 8}}), page.Positions());
    int result = -1;
    EXPECT_EQ("a", page.Value(0, &result));
    EXPECT_EQ("b", page.Value(1, &result));
    EXPECT_EQ("c", page.Value(2, &result));
    EXPECT_EQ(0, result);
}

TEST(ClassIds, FindsAKeywordThatALineBreakCutInTwo)
{
    Page page({"<object clas", "sid=\"clsid:X\">"});
    EXPECT_EQ((Positions{{1, 3}}), page.Positions());
    int result = -1;
    EXPECT_EQ("clsid:X", page.Value(0, &result));
    EXPECT_EQ(0, result);

    // A partial match broken at the start of the next line is lost.
    Page broken({"clas", "xsid=\"a\""});
    EXPECT_EQ(0, broken.client.CountClassIds());
}

TEST(ClassIds, MissesSpacedAndDoubledKeywords)
{
    Page page({"classid =\"a\" class id=\"b\" cclassid=\"c\" classid\"d\""});
    EXPECT_EQ(0, page.client.CountClassIds());
    // The byte that broke a match is not tried again, but the next one is.
    Page tripled({"ccclassid=\"e\" xclassid=\"f\""});
    EXPECT_EQ(2, tripled.client.CountClassIds());
    int result = -1;
    EXPECT_EQ("e", tripled.Value(0, &result));
    EXPECT_EQ("f", tripled.Value(1, &result));
}

TEST(ClassIds, TakesTheSecondRunBetweenAnglesAndDoubleQuotes)
{
    int result = -1;
    // Single quotes: the value is whatever follows the next '<'.
    Page single({"<object classid='clsid:X' ><param name=a>"});
    EXPECT_EQ("param name=a>", single.Value(0, &result));
    EXPECT_EQ(0, result);
    // Without quotes.
    Page bare({"<object classid=clsid:X>text<p>"});
    EXPECT_EQ("p>", bare.Value(0, &result));
    // Empty value: the text after the closing quote.
    Page empty({"<object classid=\"\" data=\"v\">"});
    EXPECT_EQ(" data=", empty.Value(0, &result));
    EXPECT_EQ(0, result);
}

TEST(ClassIds, JoinsOnlyTheNextLine)
{
    int result = -1;
    Page page({"<object classid=\"clsid:AB", "CD", "EF\">"});
    EXPECT_EQ("clsid:ABCD", page.Value(0, &result));
    EXPECT_EQ(0, result);
}

TEST(ClassIds, RefusesAValueThatDoesNotFit)
{
    int result = -1;
    std::string longest = "<object classid=\"" + std::string(255, 'v') + "\">";
    std::string tooLong = "<object classid=\"" + std::string(256, 'v') + "\"> classid=\"next\"";
    Page page({longest.c_str(), tooLong.c_str()});
    EXPECT_EQ(3, page.client.CountClassIds());
    EXPECT_EQ(std::string(255, 'v'), page.Value(0, &result));
    EXPECT_EQ(0, result);
    EXPECT_EQ("", page.Value(1, &result));
    EXPECT_EQ(2, result);
    EXPECT_EQ("next", page.Value(2, &result));
    EXPECT_EQ("", page.Value(2, &result, 4));
    EXPECT_EQ(2, result);

    // The keyword at the very end of the page: no value at all.
    Page last({"x classid="});
    EXPECT_EQ("", last.Value(0, &result));
    EXPECT_EQ(2, result);
}

TEST(ClassIds, ScansOncePerFetch)
{
    Page page({"classid=\"a\""});
    EXPECT_EQ(-1, page.client.classIdCount);
    int result = -1;
    // The first GetClassId scans the body.
    EXPECT_EQ("a", page.Value(0, &result));
    EXPECT_EQ(1, page.client.classIdCount);

    // Later calls answer from the count, even if the lines change.
    page.client.bodyLines.Add("classid=\"b\"");
    EXPECT_EQ(1, page.client.CountClassIds());
    EXPECT_EQ("unchanged", page.Value(1, &result));
    EXPECT_EQ(1, result);

    // A new response is scanned anew.
    page.client.ResetResponse();
    EXPECT_EQ(-1, page.client.classIdCount);
    EXPECT_EQ(0, page.client.CountClassIds());
    EXPECT_EQ(0, page.client.classIdPositions.Count());
    page.client.classIdCount = -1;
    page.client.bodyLines.Add("x CLASSID=\"z\"");
    EXPECT_EQ(1, page.client.CountClassIds());
    EXPECT_EQ((Positions{{0, 9}}), page.Positions());
}

TEST(ClassIds, HandlesAnEmptyPage)
{
    CHttpClient client;
    EXPECT_EQ(0, client.CountClassIds());
    char out[16] = "keep";
    EXPECT_EQ(1, client.GetClassId(0, out, sizeof(out)));
    EXPECT_STREQ("keep", out);
}
