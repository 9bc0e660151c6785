#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "http/SocketClient.h"

namespace
{
std::string Token(const char* text, const char* delimiters, int index, int* result, int outSize = 256)
{
    char out[256];
    std::strcpy(out, "junk");
    *result = CSocketClient::GetToken(text, delimiters, index, out, outSize);
    return out;
}

std::string Trimmed(const char* line)
{
    char buffer[64];
    std::strcpy(buffer, line);
    CSocketClient::TrimLineEnd(buffer);
    return buffer;
}
}

TEST(GetToken, CutsAnAddressAtSlashesAndQuestionMarks)
{
    int result = -1;
    const char* expected[] = {"http:", "h", "a", "b", "x"};
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(expected[i], Token("http://h/a/b?x", "/?", i, &result));
        EXPECT_EQ(0, result) << i;
    }
    EXPECT_EQ("", Token("http://h/a/b?x", "/?", 5, &result));
    EXPECT_EQ(1, result);
}

TEST(GetToken, ReadsAHeaderName)
{
    int result = -1;
    EXPECT_EQ("Content-Type", Token("Content-Type: text/html", ": ", 0, &result));
    EXPECT_EQ(0, result);
    EXPECT_EQ("text/html", Token("Content-Type: text/html", ": ", 1, &result));
    EXPECT_EQ(0, result);
}

TEST(GetToken, SkipsRunsAndLeadingDelimiters)
{
    int result = -1;
    EXPECT_EQ("b", Token("a//b", "/", 1, &result));
    EXPECT_EQ(0, result);
    EXPECT_EQ("", Token("a//b", "/", 2, &result));
    EXPECT_EQ(1, result);
    EXPECT_EQ("a", Token("//a/", "/", 0, &result));
    EXPECT_EQ(0, result);
    EXPECT_EQ("", Token("///", "/", 0, &result));
    EXPECT_EQ(1, result);
    EXPECT_EQ("", Token("", "/", 0, &result));
    EXPECT_EQ(1, result);
    // No delimiters: the whole text is the one token.
    EXPECT_EQ("a/b", Token("a/b", "", 0, &result));
    EXPECT_EQ(0, result);
    EXPECT_EQ("", Token("a/b", "/", -1, &result));
    EXPECT_EQ(1, result);
}

TEST(GetToken, RefusesATokenThatDoesNotFitWithItsNul)
{
    int result = -1;
    EXPECT_EQ("", Token("abcd/e", "/", 0, &result, 4));
    EXPECT_EQ(1, result);
    EXPECT_EQ("abc", Token("abc/e", "/", 0, &result, 4));
    EXPECT_EQ(0, result);

    // Nothing is written past the output size.
    char out[8];
    std::memset(out, '#', sizeof(out));
    EXPECT_EQ(0, CSocketClient::GetToken("xy/abcdefgh", "/", 0, out, 3));
    EXPECT_STREQ("xy", out);
    EXPECT_EQ('#', out[3]);
    std::memset(out, '#', sizeof(out));
    EXPECT_EQ(1, CSocketClient::GetToken("abcdefgh", "/", 0, out, 3));
    EXPECT_EQ('\0', out[0]);
    EXPECT_EQ('#', out[1]);
    // A size of 0 leaves the buffer alone.
    std::memset(out, '#', sizeof(out));
    EXPECT_EQ(1, CSocketClient::GetToken("a", "/", 0, out, 0));
    EXPECT_EQ('#', out[0]);
}

TEST(GetToken, MissingTextOrDelimitersEmptyTheOutput)
{
    int result = -1;
    EXPECT_EQ("", Token(nullptr, "/", 0, &result));
    EXPECT_EQ(1, result);
    EXPECT_EQ("", Token("a/b", nullptr, 0, &result));
    EXPECT_EQ(1, result);
    EXPECT_EQ(1, CSocketClient::GetToken("a", "/", 0, nullptr, 10));
}

TEST(TrimLineEnd, CutsOneLineEnd)
{
    EXPECT_EQ("ab", Trimmed("ab\r\n"));
    EXPECT_EQ("ab", Trimmed("ab\n"));
    EXPECT_EQ("ab", Trimmed("ab\r"));
    EXPECT_EQ("ab", Trimmed("ab\n\r"));
    EXPECT_EQ("", Trimmed("\r\n"));
    EXPECT_EQ("", Trimmed("\r"));
    EXPECT_EQ("", Trimmed("\n"));
    EXPECT_EQ("a", Trimmed("a"));
    EXPECT_EQ("ab", Trimmed("ab"));
    EXPECT_EQ("", Trimmed(""));
    // The second-to-last character is looked at first.
    EXPECT_EQ("a", Trimmed("a\rb"));
    EXPECT_EQ("ab\r", Trimmed("ab\r\r\n"));
    CSocketClient::TrimLineEnd(nullptr);
}
