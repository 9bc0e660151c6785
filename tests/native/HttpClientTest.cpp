// The HTTP client: addresses, host lookups, requests and responses. Every
// connection goes to 127.0.0.1, to a server of the test itself; only names
// that fail, 127.0.0.1 and localhost are looked up.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "LoopbackServer.h"
#include "http/HttpClient.h"

static const char kHeaders[] = "HTTP/1.0 200 OK|Content-Type: text/html";
static const char kPage[] = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\na\r\n";

// The lines of a list joined by '|'; a list of more than five only by its
// length (so that a runaway list fails fast).
static std::string Joined(const CLineList& list) {
    std::string text = list.Count() > 5 ? std::to_string(list.Count()) + " lines" : "";
    for (int i = 0; i < list.Count() && list.Count() <= 5; ++i)
        text += (i ? "|" : "") + std::string(list.Item(i));
    return text;
}

// Fetches address with client from a server of its own that plays the
// pieces of a response 150 ms apart: the result of Get and the request the
// server got.
static std::pair<int, std::string> Fetch(CHttpClient& client, std::string address,
                                         const std::vector<std::string>& pieces) {
    LoopbackServer server;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        server.Send(pieces[i]).Pause(i + 1 < pieces.size() ? 150 : 0);
    server.Start();
    client.httpPort = server.Port();
    const int result = client.Get(address.data());
    // Without a connection (1, 3) there is nothing to wait for.
    if (result != 1 && result != 3)
        server.Finish();
    return {result, server.Request()};
}

// Any scheme but http is refused before a lookup (a plain request would send
// the path in clear); the scheme ends at the first "://".
TEST(HttpClient, SplitUrlRefusesOtherSchemesAndReportsFailedLookups) {
    // Address, then the result, the path and the host looked up.
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\dir\\page.htm", "2 /dir/page.htm "}, {"http://127.0.0.1:8080/x", "2 /x "},
        {"http://ttp/x", "2 ://ttp/x "}, {"http://", "1 http:// "}, {"http://" + std::string(300, 'h') + "/x", "1  "},
        {"https://127.0.0.1/x?secret=1", "1  "}, {"ftp://127.0.0.1/", "1  "}, {"file:\\\\\\C:\\page.htm", "1  "},
        {"://127.0.0.1/", "1  "}, {"127.0.0.1/p?u=http://x", "1  "},
    };
    for (auto [address, expected] : cases) {
        CHttpClient client;
        char path[300] = "junk";
        const int result = client.SplitUrl(address.data(), path, 256);
        EXPECT_EQ(expected, std::to_string(result) + " " + path + " " + client.lastHost) << address;
    }
    EXPECT_EQ(1, CHttpClient().SplitUrl(nullptr, nullptr, 0));
}

// A control character (CR, LF, tab, DEL, ...) anywhere in an address would
// end up in the request line or the Host line: no connection is made.
TEST(HttpClient, RefusesAddressesWithControlCharactersBeforeConnecting) {
    for (std::string address : {"http://evil\r\nX-Injected: 1\r\n@127.0.0.1/p", "http://127.0.0.1/a\nb", "127.0.0.1/\t",
                                "127.0.0.1/p\x7F", "127.0.0.1\x01/p", "127.0.0.1/\x1F"}) {
        CHttpClient client;
        EXPECT_EQ(Fetch(client, address, {kPage}), std::make_pair(3, std::string())) << address;
    }
}

// One name is cached (a failed one is forgotten); a name too long, or a
// dotted address of 32 characters, is refused. A user name before the host
// is not looked up.
TEST(HttpClient, LooksUpHostsThroughAOneNameCache) {
    CHttpClient client;
    std::strcpy(client.lastHost, "cached.invalid"); // would fail if it were looked up
    std::strcpy(client.hostAddress, "127.0.0.2");
    // Host, then the result and the cache.
    const std::pair<std::string, const char*> steps[] = {
        {"cached.invalid", "0 cached.invalid 127.0.0.2"}, {"CACHED.invalid", "2  "},
        {"user@localhost", "0 user@localhost 127.0.0.1"}, {std::string(256, 'h'), "1 user@localhost 127.0.0.1"},
        {std::string(255, 'h'), "2  "}, {"127.0.0." + std::string(23, '0') + "1", "1  "},
    };
    for (const auto& [host, expected] : steps) {
        const int result = client.LookUpHost(host.c_str());
        EXPECT_EQ(expected, std::to_string(result) + " " + client.lastHost + " " + client.hostAddress) << host;
    }
}

// Each request: the request line with the path (cut at a star, left out
// when it does not fit), the Host line, an empty line. The same client
// fetches every page: a Get starts with nothing kept.
TEST(HttpClient, SendsTheRequestLineTheHostLineAndAnEmptyLine) {
    CHttpClient client;
    for (const char* line : {"Host: a", "X: 1\r\n", "Y: 2\n", "Z\rq", ""})
        client.AddRequestHeader(line);
    ASSERT_EQ("Host: a\r\n|X: 1\r\n|Y: 2\n|Z\rq|\r\n", Joined(client.requestHeaders));
    // Address, path, host.
    const std::string p254(254, 'p');
    const std::tuple<std::string, std::string, const char*> cases[] = {
        {"http://127.0.0.1/a/b?x=1", "/a/b?x=1", "127.0.0.1"}, {"127.0.0.1?q=1&r=2", "/?q=1&r=2", "127.0.0.1"},
        {"http://user@127.0.0.1/a/b#frag", "/a/b#frag", "user@127.0.0.1"}, {"HTTP://localhost", "/", "localhost"},
        {"http:\\\\127.0.0.1\\d\\p.htm", "/d/p.htm", "127.0.0.1"}, {"http://127.0.0.1/a*b", "/a", "127.0.0.1"},
        {"http://127.0.0.1/" + p254, "/" + p254, "127.0.0.1"}, {"http://127.0.0.1/p" + p254, "/", "127.0.0.1"},
    };
    for (const auto& [address, path, host] : cases) {
        const auto [result, request] = Fetch(client, address, {kPage});
        ASSERT_EQ(0, result) << address;
        EXPECT_EQ("GET " + path + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n", request);
        EXPECT_EQ(kHeaders + std::string(" / a\r\n"), Joined(client.responseHeaders) + " / " + Joined(client.bodyLines));
    }
}

// Only text/html and text/plain are kept; lines end at CR LF only, also
// where a CR and its LF come in two pieces, and are stored in pieces of 511
// bytes at most; a body is only read after the empty line; past the limit
// (4000 bytes here) the response ends as if the server had closed.
TEST(HttpClient, KeepsTextResponsesLineByLine) {
    const std::string ok = "HTTP/1.0 200 OK\r\n", html = ok + "Content-Type: text/html\r\n";
    const std::string line = std::string(511, 'a') + std::string(511, 'b') + "c";
    // Pieces of the response, result, the lines kept.
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{ok + "Content-Type: text/plain\r\n\r\n"}, 0, "HTTP/1.0 200 OK|Content-Type: text/plain / "},
        {{"CONTENT-TYPE: TEXT/PLAIN; x\r\n\r\na\r\n"}, 0, "CONTENT-TYPE: TEXT/PLAIN; x / a\r\n"},
        {{ok + "Content-Type: image/gif\r\n\r\na\r\n"}, 5, "HTTP/1.0 200 OK|Content-Type: image/gif / "},
        {{ok + "Content-Type:text/html\r\n\r\na\r\n"}, 5, "HTTP/1.0 200 OK|Content-Type:text/html / "},
        {{ok + "X-Type: text/html\r\nContent-Type: image/gif\r\n" + html.substr(17) + "\r\n"}, 5,
         "HTTP/1.0 200 OK|X-Type: text/html|Content-Type: image/gif|Content-Type: text/html / "},
        {{html.substr(0, 41), "\n\r\nab\r", "\ncd\r\n"}, 0, kHeaders + std::string(" / ab\r\n|cd\r\n")},
        {{html + "\r\n" + line + "\r\nnext\r\n"}, 0,
         kHeaders + (" / " + line.substr(0, 511) + "|" + line.substr(511, 511) + "|c\r\n|next\r\n")},
        {{html, "a\r\n"}, 0, kHeaders + std::string("|a / ")},
        // Each line counts 16 bytes more: the header lines 42 + 32, each body line 527.
        {{html + "\r\n" + std::string(5000, 'x')}, 0, kHeaders + std::string(" / 7 lines")},
    };
    CHttpClient client;
    client.responseLimit = 4000;
    for (const auto& [pieces, result, kept] : cases) {
        ASSERT_EQ(result, Fetch(client, "127.0.0.1", pieces).first) << kept;
        EXPECT_EQ(kept, Joined(client.responseHeaders) + " / " + Joined(client.bodyLines));
        EXPECT_EQ(INVALID_SOCKET, client.sock);
    }
}
