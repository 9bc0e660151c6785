#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "LoopbackServer.h"
#include "http/HttpClient.h"

// Every connection here goes to 127.0.0.1, to a server of the test itself.

namespace
{
using Clock = std::chrono::steady_clock;

const char kPage[] = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"
                     "<html>\r\n<body>page</body>\r\n</html>\r\n";

int Fetch(CHttpClient& client, const std::string& address)
{
    std::vector<char> text(address.begin(), address.end());
    text.push_back('\0');
    return client.Get(text.data());
}

std::vector<std::string> Headers(const CHttpClient& client)
{
    std::vector<std::string> lines;
    for (int i = 0; i < client.HeaderCount(); ++i)
        lines.push_back(client.HeaderLine(i));
    return lines;
}

std::vector<std::string> Body(const CHttpClient& client)
{
    std::vector<std::string> lines;
    for (int i = 0; i < client.BodyLineCount(); ++i)
        lines.push_back(client.BodyLine(i));
    return lines;
}

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Plays one response to one Get and returns the result.
struct OneShot
{
    LoopbackServer server;
    CHttpClient client;
    int result = -1;

    OneShot() : client(server.Port()) {}

    int Run(const std::string& address = "http://127.0.0.1/")
    {
        server.Start();
        result = Fetch(client, address);
        server.Finish();
        return result;
    }
};
}

TEST(HttpClient, FetchesATextPage)
{
    OneShot shot;
    ASSERT_TRUE(shot.server.IsListening());
    shot.server.Send(kPage);
    EXPECT_EQ(0, shot.Run("http://127.0.0.1/index.html"));

    std::vector<std::string> headers = {"HTTP/1.0 200 OK", "Content-Type: text/html"};
    std::vector<std::string> body = {"<html>\r\n", "<body>page</body>\r\n", "</html>\r\n"};
    EXPECT_EQ(headers, Headers(shot.client));
    EXPECT_EQ(body, Body(shot.client));
    EXPECT_EQ(nullptr, shot.client.HeaderLine(2));
    EXPECT_EQ(nullptr, shot.client.BodyLine(3));
    EXPECT_EQ(nullptr, shot.client.BodyLine(-1));
    EXPECT_EQ("Content-Type: text/html", shot.client.FindContentType());
    EXPECT_EQ(INVALID_SOCKET, shot.client.sock);
    EXPECT_EQ(-1, shot.client.classIdCount);
    EXPECT_EQ("GET /index.html HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n", shot.server.Request());
}

TEST(HttpClient, SendsExactlyTheRequestLineHostLineAndEmptyLine)
{
    LoopbackServer server;
    CHttpClient client(server.Port());
    server.Send(kPage);
    server.Start(6);
    EXPECT_EQ(0, Fetch(client, "http://127.0.0.1"));
    EXPECT_EQ(0, Fetch(client, "127.0.0.1?q=1&r=2"));
    EXPECT_EQ(0, Fetch(client, "http://user@127.0.0.1/a/b#frag"));
    // Two hosts in a row: each request carries its own Host line, once.
    EXPECT_EQ(0, Fetch(client, "http://localhost/two"));
    EXPECT_EQ(0, Fetch(client, "http://127.0.0.1/" + std::string(300, 'p')));
    EXPECT_EQ(0, Fetch(client, "http://127.0.0.1/x*y"));
    server.Finish();

    EXPECT_EQ("GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n", server.Request(0));
    EXPECT_EQ("GET /?q=1&r=2 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n", server.Request(1));
    EXPECT_EQ("GET /a/b#frag HTTP/1.0\r\nHost: user@127.0.0.1\r\n\r\n", server.Request(2));
    EXPECT_EQ("GET /two HTTP/1.0\r\nHost: localhost\r\n\r\n", server.Request(3));
    EXPECT_EQ("GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n", server.Request(4));
    EXPECT_EQ("GET /x HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n", server.Request(5));
    // The last response replaced the earlier ones.
    EXPECT_EQ(3, client.BodyLineCount());
    EXPECT_EQ(1, client.requestHeaders.Count());
}

TEST(HttpClient, SendsNothingForAnAddressItCannotUse)
{
    LoopbackServer server;
    CHttpClient client(server.Port());
    server.Send(kPage);
    server.Start(1);
    const char* refused[] = {
        "https://127.0.0.1/account?password=secret",
        "HTTPS://127.0.0.1/",
        "ftp://127.0.0.1/file",
        "file:///C:/dir/page.htm",
        "C:\\dir\\page.htm",
        "http://127.0.0.1:8080/x",
        "127.0.0.1/p?u=http://127.0.0.1/",
        "http://",
    };
    for (const char* address : refused)
    {
        Clock::time_point start = Clock::now();
        EXPECT_EQ(3, Fetch(client, address)) << address;
        EXPECT_LT(SecondsSince(start), 5.0) << address;
        EXPECT_EQ(0, client.HeaderCount());
    }
    EXPECT_EQ(3, Fetch(client, "http://" + std::string(300, 'h') + "/x"));

    // The server's first connection is this request: none came before it.
    EXPECT_EQ(0, Fetch(client, "http://127.0.0.1/ok"));
    server.Finish();
    EXPECT_EQ(1, server.Accepted());
    EXPECT_EQ("GET /ok HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n", server.Request(0));
}

TEST(HttpClient, KeepsTheHeadersOfAResponseWithoutBody)
{
    OneShot shot;
    shot.server.Send("HTTP/1.0 404 Not Found\r\nContent-Type: text/plain\r\n\r\n");
    EXPECT_EQ(0, shot.Run());
    EXPECT_EQ(2, shot.client.HeaderCount());
    EXPECT_EQ(0, shot.client.BodyLineCount());
}

TEST(HttpClient, AcceptsOnlyTextHtmlAndTextPlain)
{
    struct Case
    {
        const char* header;
        int result;
    } cases[] = {
        {"Content-Type: image/gif\r\n", 5},
        {"Content-Type:text/html\r\n", 5},
        {"content-type: TEXT/PLAIN; charset=x\r\n", 0},
        {"CONTENT-TYPE: text/html\r\n", 0},
        {"X-Type: text/html\r\n", 5},
        {"", 5},
        // Only the first Content-Type line counts.
        {"Content-Type: image/gif\r\nContent-Type: text/html\r\n", 5},
    };
    for (const Case& c : cases)
    {
        OneShot shot;
        shot.server.Send(std::string("HTTP/1.0 200 OK\r\n") + c.header + "\r\nbody\r\n");
        EXPECT_EQ(c.result, shot.Run()) << c.header;
        EXPECT_EQ(c.result == 0 ? 1 : 0, shot.client.BodyLineCount()) << c.header;
        EXPECT_GE(shot.client.HeaderCount(), 1) << c.header;
        EXPECT_EQ(INVALID_SOCKET, shot.client.sock);
    }
}

TEST(HttpClient, CutsLinesOnlyAtCrLf)
{
    OneShot shot;
    // Bare LF line ends: the response arrives as pieces of up to 511 bytes.
    std::string response = "HTTP/1.0 200 OK\nContent-Type: text/html\n\n";
    while (response.size() < 600)
        response += "line of text\n";
    shot.server.Send(response);
    EXPECT_EQ(5, shot.Run());
    ASSERT_EQ(2, shot.client.HeaderCount());
    EXPECT_EQ(response.substr(0, 511), shot.client.HeaderLine(0));
    EXPECT_EQ(std::string(shot.client.HeaderLine(1)) + "\n", response.substr(511));
}

TEST(HttpClient, JoinsACrLfSplitAcrossTwoSends)
{
    OneShot shot;
    shot.server.Send("HTTP/1.0 200 OK\r\nContent-Type: text/html\r")
        .Pause(150)
        .Send("\n\r\nab\r")
        .Pause(150)
        .Send("\ncd\r\n");
    EXPECT_EQ(0, shot.Run());
    std::vector<std::string> headers = {"HTTP/1.0 200 OK", "Content-Type: text/html"};
    std::vector<std::string> body = {"ab\r\n", "cd\r\n"};
    EXPECT_EQ(headers, Headers(shot.client));
    EXPECT_EQ(body, Body(shot.client));
}

TEST(HttpClient, StoresALongLineInPiecesOf511Bytes)
{
    OneShot shot;
    std::string line(1200, 'x');
    line[0] = 'a';
    line[511] = 'b';
    line[1022] = 'c';
    shot.server.Send(std::string("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n") + line + "\r\nnext\r\n");
    EXPECT_EQ(0, shot.Run());
    std::vector<std::string> body = {line.substr(0, 511), line.substr(511, 511), line.substr(1022) + "\r\n",
                                     "next\r\n"};
    EXPECT_EQ(body, Body(shot.client));
    ASSERT_EQ(4, shot.client.BodyLineCount());
    EXPECT_EQ(180u, std::string(shot.client.BodyLine(2)).size());
}

TEST(HttpClient, HandlesAnEarlyClose)
{
    {
        OneShot shot;
        shot.server.Send("HTTP/1.0 200 OK\r\nContent-Ty").Close();
        EXPECT_EQ(5, shot.Run());
        std::vector<std::string> headers = {"HTTP/1.0 200 OK", "Content-Ty"};
        EXPECT_EQ(headers, Headers(shot.client));
    }
    {
        // The headers end with the connection, not with an empty line: no body is read.
        OneShot shot;
        shot.server.Send("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n").Close();
        EXPECT_EQ(0, shot.Run());
        EXPECT_EQ(2, shot.client.HeaderCount());
        EXPECT_EQ(0, shot.client.BodyLineCount());
    }
    {
        // Closed without a word.
        OneShot shot;
        shot.server.Close();
        EXPECT_EQ(5, shot.Run());
        EXPECT_EQ(0, shot.client.HeaderCount());
    }
}

TEST(HttpClient, GivesUpOnASilentServerAfterFiveSeconds)
{
    OneShot shot;
    // Holds the connection open until the client hangs up.
    shot.server.Pause(20000);
    Clock::time_point start = Clock::now();
    EXPECT_EQ(5, shot.Run());
    double seconds = SecondsSince(start);
    EXPECT_GE(seconds, 4.5);
    EXPECT_LT(seconds, 15.0);
    EXPECT_EQ(0, shot.client.HeaderCount());
    EXPECT_EQ(0, shot.client.BodyLineCount());
}

TEST(HttpClient, KeepsNoMoreThanTheResponseLimit)
{
    OneShot shot;
    shot.client.responseLimit = 4000;
    std::string response = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
    for (int i = 0; i < 1000; ++i)
        response += "a body line of some length\r\n";
    shot.server.Send(response);
    EXPECT_EQ(0, shot.Run());
    std::size_t kept = 0;
    for (const std::string& line : Headers(shot.client))
        kept += line.size();
    for (const std::string& line : Body(shot.client))
        kept += line.size();
    EXPECT_LE(kept, 4000u);
    EXPECT_GT(shot.client.BodyLineCount(), 100);
    EXPECT_LT(shot.client.BodyLineCount(), 1000);
}

TEST(HttpClient, ReportsARefusedConnectionAtOnce)
{
    SocketSession session;
    int port = 0;
    // Bound but not listening: connections to it are refused.
    SOCKET closed = OpenLoopbackListener(0, &port, false);
    ASSERT_NE(INVALID_SOCKET, closed);

    CHttpClient client(port);
    Clock::time_point start = Clock::now();
    EXPECT_EQ(1, Fetch(client, "http://127.0.0.1/"));
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_EQ(INVALID_SOCKET, client.sock);
    EXPECT_EQ(0, client.HeaderCount());

    CSocketClient socketClient;
    start = Clock::now();
    EXPECT_EQ(3, socketClient.Connect(port, "127.0.0.1", AF_INET, SOCK_STREAM));
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_EQ(INVALID_SOCKET, socketClient.sock);
    EXPECT_EQ(port, socketClient.port);
    EXPECT_STREQ("127.0.0.1", socketClient.address);
    closesocket(closed);
}

TEST(HttpClient, TimesOutOnAListenerWithAFullBacklog)
{
    SocketSession session;
    int port = 0;
    SOCKET listener = OpenLoopbackListener(0, &port);
    ASSERT_NE(INVALID_SOCKET, listener);

    // Fill the listener's queue (nobody accepts) until a connection hangs.
    std::vector<CSocketClient*> fillers;
    bool full = false;
    for (int i = 0; i < 32 && !full; ++i)
    {
        CSocketClient* filler = new CSocketClient;
        filler->connectTimeoutMs = 300;
        int result = filler->Connect(port, "127.0.0.1", AF_INET, SOCK_STREAM);
        fillers.push_back(filler);
        full = result == 4;
    }
    if (full)
    {
        CHttpClient client(port);
        client.connectTimeoutMs = 1000;
        Clock::time_point start = Clock::now();
        EXPECT_EQ(1, Fetch(client, "http://127.0.0.1/"));
        double seconds = SecondsSince(start);
        EXPECT_GE(seconds, 0.9);
        EXPECT_LT(seconds, 5.0);

        CSocketClient socketClient;
        socketClient.connectTimeoutMs = 500;
        EXPECT_EQ(4, socketClient.Connect(port, "127.0.0.1", AF_INET, SOCK_STREAM));
        EXPECT_EQ(INVALID_SOCKET, socketClient.sock);
    }
    for (CSocketClient* filler : fillers)
        delete filler;
    closesocket(listener);
    if (!full)
        GTEST_SKIP() << "this system's loopback never left a connection pending";
}

TEST(SocketClient, ConnectsOnceAndReadsLineByLine)
{
    LoopbackServer server;
    server.Send("one\r\ntwo\r\nthree\r\n");
    server.Start();

    CSocketClient client;
    ASSERT_EQ(0, client.Connect(server.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
    EXPECT_EQ(1, client.Connect(server.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
    EXPECT_EQ(8, client.Send("ping\r\n\r\nJUNK", 8));

    char line[512];
    EXPECT_EQ(5, client.ReceiveLine(line, 512, 5));
    EXPECT_STREQ("one\r\n", line);
    // A small buffer: the line comes in pieces of size - 1 bytes.
    EXPECT_EQ(3, client.ReceiveLine(line, 4, 5));
    EXPECT_STREQ("two", line);
    EXPECT_EQ(2, client.ReceiveLine(line, 4, 5));
    EXPECT_STREQ("\r\n", line);
    EXPECT_EQ(0, client.ReceiveLine(line, 1, 5));
    EXPECT_STREQ("", line);
    EXPECT_EQ(7, client.ReceiveLine(line, 512, 0));
    EXPECT_STREQ("three\r\n", line);
    // The server has closed.
    std::strcpy(line, "old");
    EXPECT_EQ(0, client.ReceiveLine(line, 512, 5));
    EXPECT_STREQ("", line);

    client.Close();
    EXPECT_EQ(INVALID_SOCKET, client.sock);
    client.Close();
    EXPECT_EQ(SOCKET_ERROR, client.Send("x", 0));
    EXPECT_EQ(1, client.WaitReadable(0, 0));
    server.Finish();
    EXPECT_EQ("ping\r\n\r\n", server.Request());
}
