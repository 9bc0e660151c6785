// The socket client: connecting, line-wise reading and its text helpers.
// Every connection goes to 127.0.0.1, to a server of the test itself.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "LoopbackServer.h"
#include "http/SocketClient.h"

static double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ReceiveLine takes a line through its CR LF and nothing after it, in
// pieces of size - 1 bytes when the buffer is small.
TEST(SocketClient, ConnectsOnceAndReadsLineByLine) {
    LoopbackServer server;
    server.Send("one\r\ntwo\r\nthree\r\n").Pause(5000);
    server.Start();
    CSocketClient client;
    ASSERT_EQ(0, client.Connect(server.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
    EXPECT_EQ(1, client.Connect(server.Port(), "127.0.0.1", AF_INET, SOCK_STREAM));
    EXPECT_EQ(0, WaitSocket(client.sock, kSocketReadable, 0, 1000)) << "nothing comes before the request";
    EXPECT_EQ(0, client.SetNonBlocking(false));
    EXPECT_EQ(1, client.Send("pJUNK", 1));
    EXPECT_EQ(7, client.Send("ing\r\n\r\nJUNK", 7));
    std::string lines;
    char line[512];
    for (int size : {512, 4, 4, 1, 512})
        lines += std::to_string(client.ReceiveLine(line, size, 1)) + line + "|";
    EXPECT_EQ("5one\r\n|3two|2\r\n|0|7three\r\n|", lines);
    client.Close();
    EXPECT_EQ(1, client.WaitReadable(0, 0));
    EXPECT_EQ(1, client.WaitWritable(0, 0));
    const auto start = std::chrono::steady_clock::now();
    server.Finish();
    EXPECT_LT(SecondsSince(start), 3.0) << "the server saw the client hang up";
    EXPECT_EQ("ping\r\n\r\n", server.Request());
}

// Refused at once, or unanswered (the listener's queue is full) until the
// connect time-out.
TEST(SocketClient, RefusedAndUnansweredConnectionsEndInTime) {
    SocketSession session;
    int port = 0;
    SOCKET closed = OpenLoopbackListener(0, &port, false);
    CSocketClient client;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(3, client.Connect(port, "127.0.0.1", AF_INET, SOCK_STREAM));
    EXPECT_LT(SecondsSince(start), 5.0);
    closesocket(closed);

    SOCKET listener = OpenLoopbackListener(0, &port);
    std::vector<std::unique_ptr<CSocketClient>> fillers;
    for (int result = 0; result != 4 && fillers.size() < 32;) {
        fillers.emplace_back(new CSocketClient);
        fillers.back()->connectTimeoutMs = 500;
        start = std::chrono::steady_clock::now();
        result = fillers.back()->Connect(port, "127.0.0.1", AF_INET, SOCK_STREAM);
    }
    if (fillers.back()->sock == INVALID_SOCKET) {
        EXPECT_GE(SecondsSince(start), 0.45);
        EXPECT_LT(SecondsSince(start), 5.0);
    }
    closesocket(listener);
}

TEST(SocketClient, GetTokenTakesTheNthRunBetweenDelimiters) {
    // Text, delimiters, index, room, then the result and what out holds.
    const std::tuple<const char*, const char*, int, int, const char*> cases[] = {
        {"//h/a?x", "/?", 2, 16, "0 x"}, {"//h/a?x", "/?", 3, 16, "1 "}, {"a/b", "", 0, 16, "0 a/b"},
        {"a/b", "/", -1, 16, "1 "}, {nullptr, "/", 0, 16, "1 "}, {"a/b", nullptr, 0, 16, "1 "}, {"abc/e", "/", 0, 4, "0 abc"},
        {"abcd/e", "/", 0, 4, "1 "}, {"a", "/", 0, 0, "1 junk"}, // no room: left alone
    };
    for (const auto& [text, delimiters, index, size, expected] : cases) {
        char out[16] = "junk";
        const int result = CSocketClient::GetToken(text, delimiters, index, out, size);
        EXPECT_EQ(expected, std::to_string(result) + " " + out) << (text ? text : "null") << " " << index;
    }
    EXPECT_EQ(1, CSocketClient::GetToken("a", "/", 0, nullptr, 10));
}

// One line end goes; the last but one character is looked at first.
TEST(SocketClient, TrimLineEndCutsOneLineEnd) {
    const std::pair<const char*, const char*> cases[] = {
        {"ab\r\n", "ab"}, {"ab\n", "ab"}, {"ab\n\r", "ab"}, {"\r\n", ""}, {"\r", ""}, {"a", "a"}, {"", ""},
        {"a\rb", "a"}, {"ab\r\r\n", "ab\r"},
    };
    for (const auto& [line, trimmed] : cases) {
        char buffer[16];
        CSocketClient::TrimLineEnd(std::strcpy(buffer, line));
        EXPECT_STREQ(trimmed, buffer) << line;
    }
    CSocketClient::TrimLineEnd(nullptr);
}

