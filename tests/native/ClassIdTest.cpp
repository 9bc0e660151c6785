// The scan of a fetched page for "classid=", and the lists that hold the
// page's lines and the positions found.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "ReferenceClassIds.h"
#include "http/HttpClient.h"

using Strings = std::vector<std::string>;

// Occurrence index as GetClassId gives it; "(n)" and what out holds after
// a result n other than 0.
static std::string Value(CHttpClient& client, int index) {
    char out[256] = "unchanged";
    const int result = client.GetClassId(index, out, sizeof(out));
    return result == 0 ? out : "(" + std::to_string(result) + ")" + out;
}

// The keyword in any case, also when a line break cuts it in two (a partial
// match runs on into the next line); a byte that breaks a partial match is
// not tried again as its start. The value is the second run between '<' and
// '"' after the "=", in the keyword's line joined with the next one.
TEST(ClassIds, FindsEveryKeywordAndTakesItsValue) {
    const std::string fits = "<object classid=\"" + std::string(255, 'v') + "\">";
    const std::string tooLong = "<object classid=\"" + std::string(256, 'v') + "\"> classid=\"next\"";
    // Body lines, then each "=" found (line:offset) with its value.
    const std::pair<Strings, std::string> cases[] = {
        {{"<html>\r\n", "<object classid=\"clsid:D27CDB6E-AE6D\" width=1>\r\n"}, "1:15=clsid:D27CDB6E-AE6D"},
        {{"CLASSID=\"a\" ClassId=\"b\"", " cLaSsId=\"c\""}, "0:7=a 0:19=b 1:8=c"},
        {{"<object clas", "sid=\"clsid:X\">"}, "1:3=clsid:X"},
        {{"clas", "xsid=\"a\"", "classid =\"a\" class id=\"b\" cclassid=\"c\" classid\"d\""}, ""},
        {{"ccclassid=\"e\" xclassid=\"f\""}, "0:9=e 0:22=f"},
        {{"<object classid='clsid:X' ><param name=a>", "<object classid=clsid:X>text<p>"}, "0:15=param name=a> 1:15=p>"},
        {{"<object classid=\"\" data=\"v\">", "<object classid=\"clsid:AB", "CD", "EF\">"}, "0:15= data= 1:15=clsid:ABCD"},
        {{fits, tooLong, "x classid="}, "0:15=" + std::string(255, 'v') + " 1:15=(2) 1:283=next 2:9=(2)"},
    };
    for (const auto& [lines, expected] : cases) {
        CHttpClient client;
        for (const std::string& line : lines)
            client.bodyLines.Add(line.c_str());
        const int count = client.CountClassIds();
        std::string found;
        int i = 0, line = -1, offset = -1;
        for (; i <= count && client.classIdPositions.GetAt(i, line, offset) == 1; ++i)
            found += (i ? " " : "") + std::to_string(line) + ":" + std::to_string(offset) + "=" + Value(client, i);
        EXPECT_EQ(expected, found) << lines[0];
        EXPECT_EQ(i, count) << lines[0];
        EXPECT_EQ("(1)unchanged (1)unchanged", Value(client, count) + " " + Value(client, -1));
    }
}

// Bodies made of keyword pieces in both cases, cut across lines, broken by
// extra bytes, with values and delimiters: the places and values of the
// plain byte-wise scan.
TEST(ClassIds, AgreeWithThePlainScanOnGeneratedBodies) {
    std::mt19937 rng(20261207u);
    const char* const pieces[] = {"classid=", "CLASSID=", "cl", "ASsid", "c", "C", "=", "\"v\"", "<", "x", "lassid=", "clsid:AB"};
    std::size_t found = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<std::string> lines(1 + rng() % 4);
        CHttpClient client;
        for (std::string& line : lines) {
            for (int n = rng() % 10; n > 0; --n)
                line += pieces[rng() % 12];
            client.bodyLines.Add(line.c_str());
        }
        const std::vector<std::pair<int, int>> places = ReferenceClassIdPlaces(lines);
        ASSERT_EQ(client.CountClassIds(), static_cast<int>(places.size())) << lines[0];
        for (int i = 0, line = 0, offset = 0; i < client.CountClassIds(); ++i) {
            client.classIdPositions.GetAt(i, line, offset);
            ASSERT_EQ(places[i], std::make_pair(line, offset)) << lines[0];
            ASSERT_EQ(ReferenceClassIdValue(lines, places[i], 256), Value(client, i)) << lines[0];
        }
        found += places.size();
    }
    EXPECT_GT(found, 2000u) << "keywords are common";
}

// The list functions' results, too: Add and Clear give 1.
TEST(ClassIds, ScansOncePerResponse) {
    CHttpClient client;
    EXPECT_EQ(1, client.bodyLines.Add("classid=\"next\""));
    EXPECT_EQ("next", Value(client, 0)) << "the first GetClassId scans the body";
    client.bodyLines.Add("classid=\"b\"");
    EXPECT_EQ(1, client.CountClassIds()) << "later calls answer from the count";
    EXPECT_EQ(1, client.classIdPositions.Add(1, 0));
    EXPECT_EQ(1, client.bodyLines.Clear());
    client.ResetResponse();
    EXPECT_EQ(0, client.CountClassIds()) << "a new response is scanned anew";
}

