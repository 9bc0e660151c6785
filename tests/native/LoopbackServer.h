#pragma once
// A scripted HTTP server for the tests: a thread of the test process that
// listens on 127.0.0.1 (a port chosen by the system), reads each request up to
// its empty line, records the exact bytes, and then plays its script of sends,
// pauses and closes on the connection.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "http/SocketApi.h"

// Keeps the socket library started for a test that uses sockets without a
// client object (Winsock refuses every call before WSAStartup).
struct SocketSession
{
    WSADATA data;
    SocketSession() { WSAStartup(MAKEWORD(2, 2), &data); }
    ~SocketSession() { WSACleanup(); }
    SocketSession(const SocketSession&) = delete;
    SocketSession& operator=(const SocketSession&) = delete;
};

class LoopbackServer
{
public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool IsListening() const { return listener != INVALID_SOCKET; }
    int Port() const { return port; }

    // Script steps, played in order on every connection once its request has
    // been read. The connection is closed at the end of the script.
    LoopbackServer& Send(const std::string& bytes);
    // Waits ms milliseconds, or less if the client hangs up first.
    LoopbackServer& Pause(int ms);
    // Closes the connection at once; later steps are skipped.
    LoopbackServer& Close();

    // Serves up to connections connections, one after the other, in a thread.
    void Start(int connections = 1);
    // Waits until the thread is done: every connection served, or no client
    // for 15 seconds.
    void Finish();

    int Accepted() const;
    // The bytes of request i exactly as they arrived ("" when there is none).
    std::string Request(int i = 0) const;

private:
    struct Step
    {
        enum Kind { kSend, kPause, kClose } kind;
        std::string bytes;
        int ms;
    };

    void Run(int connections);
    void Serve(SOCKET connection);
    std::string ReadRequest(SOCKET connection);

    WSADATA wsaData;
    SOCKET listener;
    int port;
    std::vector<Step> script;
    std::thread worker;
    std::atomic<bool> stopping;
    mutable std::mutex guard;
    std::vector<std::string> requests;
};
