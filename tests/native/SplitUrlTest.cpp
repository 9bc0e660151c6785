#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "http/HttpClient.h"

// Name lookups here are only of 127.0.0.1, localhost, or names that fail.

namespace
{
struct Split
{
    int result;
    std::string address; // as SplitUrl left it
    std::string path;
};

Split SplitWith(CHttpClient& client, const std::string& address, int pathSize = 256)
{
    std::vector<char> text(address.begin(), address.end());
    text.push_back('\0');
    std::vector<char> path(static_cast<std::size_t>(pathSize) + 1, '#');
    int result = client.SplitUrl(text.data(), path.data(), pathSize);
    return Split{result, text.data(), path.data()};
}

std::vector<std::string> RequestHeaders(const CHttpClient& client)
{
    std::vector<std::string> lines;
    for (int i = 0; i < client.requestHeaders.Count(); ++i)
        lines.push_back(client.requestHeaders.Item(i));
    return lines;
}
}

TEST(SplitUrl, CutsHostAndPath)
{
    CHttpClient client;
    Split s = SplitWith(client, "http://127.0.0.1/a/b?x=1");
    EXPECT_EQ(0, s.result);
    EXPECT_EQ("/a/b?x=1", s.path);
    EXPECT_STREQ("127.0.0.1", client.lastHost);
    EXPECT_STREQ("127.0.0.1", client.hostAddress);

    s = SplitWith(client, "http://127.0.0.1");
    EXPECT_EQ(0, s.result);
    EXPECT_EQ("", s.path);

    s = SplitWith(client, "http://127.0.0.1?q");
    EXPECT_EQ(0, s.result);
    EXPECT_EQ("?q", s.path);

    // Without a scheme the first token is the host.
    s = SplitWith(client, "127.0.0.1/index.html");
    EXPECT_EQ(0, s.result);
    EXPECT_EQ("/index.html", s.path);

    // The fragment stays; a name is looked up and the text kept as written.
    s = SplitWith(client, "HTTP://localhost/p#frag");
    EXPECT_EQ(0, s.result);
    EXPECT_EQ("/p#frag", s.path);
    EXPECT_STREQ("localhost", client.lastHost);
    EXPECT_STREQ("127.0.0.1", client.hostAddress);
}

TEST(SplitUrl, TurnsBackslashesIntoSlashesInTheCallersText)
{
    CHttpClient client;
    Split s = SplitWith(client, "http:\\\\127.0.0.1\\dir\\page.htm");
    EXPECT_EQ(0, s.result);
    EXPECT_EQ("http://127.0.0.1/dir/page.htm", s.address);
    EXPECT_EQ("/dir/page.htm", s.path);

    // A local path has no scheme: "C:" is its host, and that lookup fails.
    s = SplitWith(client, "C:\\dir\\page.htm");
    EXPECT_EQ("C:/dir/page.htm", s.address);
    EXPECT_EQ(2, s.result);
    EXPECT_EQ("/dir/page.htm", s.path);
    EXPECT_STREQ("", client.lastHost);
}

TEST(SplitUrl, RefusesEverySchemeButHttpWithoutALookup)
{
    CHttpClient client;
    ASSERT_EQ(0, SplitWith(client, "http://127.0.0.1/").result);
    const char* refused[] = {
        "https://127.0.0.1/x?secret=1",
        "ftp://127.0.0.1/",
        "file:///C:/dir/page.htm",
        "file:\\\\\\C:\\dir\\page.htm",
        "mailto://localhost",
        "://127.0.0.1/",
        "httpx://127.0.0.1/",
        // The scheme is whatever precedes the first "://".
        "127.0.0.1/p?u=http://x",
    };
    for (const char* address : refused)
    {
        Split s = SplitWith(client, address);
        EXPECT_EQ(1, s.result) << address;
        EXPECT_EQ("", s.path) << address;
        // The cache is untouched: no lookup was made.
        EXPECT_STREQ("127.0.0.1", client.lastHost) << address;
        EXPECT_STREQ("127.0.0.1", client.hostAddress) << address;
    }
}

TEST(SplitUrl, TakesThePathAfterTheFirstOccurrenceOfTheHost)
{
    CHttpClient client;
    // "ttp" also stands inside "http": the path starts after that occurrence.
    Split s = SplitWith(client, "http://ttp/x");
    EXPECT_EQ("://ttp/x", s.path);
    EXPECT_EQ(2, s.result);
}

TEST(SplitUrl, ReportsAMissingHostAndAFailedLookupSeparately)
{
    CHttpClient client;
    // A new client's empty cache answers for the empty host.
    Split s = SplitWith(client, "http://");
    EXPECT_EQ(1, s.result);
    // Without a host the whole address is the rest that the path is taken from.
    EXPECT_EQ("http://", s.path);
    EXPECT_EQ(1, SplitWith(client, "").result);
    EXPECT_EQ(1, SplitWith(client, "/?/").result);

    s = SplitWith(client, "http://127.0.0.1:8080/x");
    EXPECT_EQ(2, s.result);
    EXPECT_EQ("/x", s.path);
    EXPECT_EQ(2, SplitWith(client, "localhost:8080/x").result);
    EXPECT_EQ(1, client.SplitUrl(nullptr, nullptr, 0));
}

TEST(SplitUrl, EmptiesAPathThatDoesNotFit)
{
    CHttpClient client;
    std::string longPath(255, 'p');
    Split s = SplitWith(client, "http://127.0.0.1/" + longPath);
    EXPECT_EQ(0, s.result);
    EXPECT_EQ("", s.path);
    s = SplitWith(client, "http://127.0.0.1/" + longPath.substr(1));
    EXPECT_EQ("/" + longPath.substr(1), s.path);
    // A star ends the path.
    s = SplitWith(client, "http://127.0.0.1/a*b");
    EXPECT_EQ("/a", s.path);
}

TEST(LookUpHost, AnswersTheLastHostFromItsCache)
{
    CHttpClient client;
    EXPECT_STREQ("", client.lastHost);
    EXPECT_EQ(0, client.LookUpHost(""));

    // A host equal to the cached one is not looked up again: this one would fail.
    std::strcpy(client.lastHost, "cached.invalid");
    std::strcpy(client.hostAddress, "127.0.0.2");
    EXPECT_EQ(0, client.LookUpHost("cached.invalid"));
    EXPECT_STREQ("127.0.0.2", client.hostAddress);
    // The comparison heeds case.
    EXPECT_EQ(2, client.LookUpHost("CACHED.invalid"));

    EXPECT_EQ(0, client.LookUpHost("localhost"));
    EXPECT_STREQ("localhost", client.lastHost);
    EXPECT_STREQ("127.0.0.1", client.hostAddress);
}

TEST(LookUpHost, ForgetsAFailedName)
{
    CHttpClient client;
    ASSERT_EQ(0, client.LookUpHost("127.0.0.1"));
    EXPECT_EQ(2, client.LookUpHost("no-such-host.invalid"));
    EXPECT_STREQ("", client.lastHost);
    EXPECT_STREQ("", client.hostAddress);
    // Looked up again, and failing again.
    EXPECT_EQ(2, client.LookUpHost("no-such-host.invalid"));
}

TEST(LookUpHost, RefusesTooLongHostsWithoutTouchingTheCache)
{
    CHttpClient client;
    ASSERT_EQ(0, client.LookUpHost("127.0.0.1"));
    std::string tooLong(256, 'h');
    EXPECT_EQ(1, client.LookUpHost(tooLong.c_str()));
    EXPECT_STREQ("127.0.0.1", client.lastHost);
    EXPECT_STREQ("127.0.0.1", client.hostAddress);

    // 255 characters fit the cache; the lookup itself fails.
    std::string longest(255, 'h');
    EXPECT_EQ(2, client.LookUpHost(longest.c_str()));

    // A dotted address of 32 characters or more is refused.
    std::string dotted = "127.0.0." + std::string(24, '0') + "1";
    ASSERT_EQ(33u, dotted.size());
    ASSERT_TRUE(CSocketClient::IsDottedAddress(dotted.c_str()));
    EXPECT_EQ(1, client.LookUpHost(dotted.c_str()));
    EXPECT_STREQ("", client.lastHost);

    // A host of 300 characters is an address error.
    std::string address = "http://" + std::string(300, 'h') + "/x";
    EXPECT_EQ(1, SplitWith(client, address).result);
}

TEST(ResolveHost, LooksUpTheTextAfterTheLastAtSign)
{
    CSocketClient session; // starts the socket library
    char out[32];
    EXPECT_EQ(0, CSocketClient::ResolveHost("user@127.0.0.1", out, 32));
    EXPECT_STREQ("127.0.0.1", out);
    EXPECT_EQ(0, CSocketClient::ResolveHost("a@b@localhost", out, 32));
    EXPECT_STREQ("127.0.0.1", out);
    // An at-sign in first place does not count.
    EXPECT_EQ(2, CSocketClient::ResolveHost("@127.0.0.1", out, 32));
    EXPECT_EQ(2, CSocketClient::ResolveHost("no-such-host.invalid", out, 32));

    std::strcpy(out, "keep");
    EXPECT_EQ(1, CSocketClient::ResolveHost("127.0.0.1", out, 9));
    EXPECT_STREQ("keep", out);
    EXPECT_EQ(0, CSocketClient::ResolveHost("127.0.0.1", out, 10));
    EXPECT_STREQ("127.0.0.1", out);

    CHttpClient client;
    EXPECT_EQ(0, client.LookUpHost("user@127.0.0.1"));
    EXPECT_STREQ("user@127.0.0.1", client.lastHost);
    EXPECT_STREQ("127.0.0.1", client.hostAddress);
}

TEST(AddRequestHeader, CompletesLinesWithoutALineEnd)
{
    CHttpClient client;
    client.AddRequestHeader("Host: a");
    client.AddRequestHeader("X: 1\r\n");
    client.AddRequestHeader("Y: 2\n");
    client.AddRequestHeader("Z\rq");
    client.AddRequestHeader("");
    std::vector<std::string> expected = {"Host: a\r\n", "X: 1\r\n", "Y: 2\n", "Z\rq", "\r\n"};
    EXPECT_EQ(expected, RequestHeaders(client));
    client.ResetResponse();
    EXPECT_EQ(0, client.requestHeaders.Count());
}
