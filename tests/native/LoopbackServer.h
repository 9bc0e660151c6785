#pragma once
// A scripted HTTP server for the tests: a thread of the test process that
// listens on 127.0.0.1 (a port chosen by the system), reads each request up to
// its empty line (or a second of silence), records the exact bytes, and then
// plays its script of sends, pauses and closes on the connection.
#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "http/SocketApi.h"

// Keeps the socket library started for a test that uses sockets without a
// client object (Winsock refuses every call before WSAStartup).
struct SocketSession {
    WSADATA data;
    SocketSession() { WSAStartup(MAKEWORD(2, 2), &data); }
    ~SocketSession() { WSACleanup(); }
};

class LoopbackServer {
public:
    // On 127.0.0.1, or another loopback address (127.0.0.2 ...) with the
    // port of a server there.
    explicit LoopbackServer(const char* address = nullptr, int wantedPort = 0);
    ~LoopbackServer();

    bool IsListening() const { return listener != INVALID_SOCKET; }
    int Port() const { return port; }

    // Script steps, played in order on every connection once its request has
    // been read; the connection is closed at the end of the script.
    // Sends bytes times times over (a large response without building it).
    LoopbackServer& Send(const std::string& bytes, int times = 1) { return Add(bytes, kSend, times); }
    // Waits ms milliseconds, or less if the client hangs up first.
    LoopbackServer& Pause(int ms) { return Add(std::string(), ms); }
    // Closes the connection at once; later steps are skipped.
    LoopbackServer& Close() { return Add(std::string(), kClose); }

    // Serves up to connections connections, one after the other, in a thread.
    void Start(int connections = 1);
    // Waits until the thread is done: every connection served, or no client
    // for 15 seconds.
    void Finish() { if (worker.joinable()) worker.join(); }

    // Read these once Finish has returned: the server's thread writes them.
    int Accepted() const { return static_cast<int>(requests.size()); }
    // The bytes of request i exactly as they arrived ("" when there is none).
    std::string Request(int i = 0) const { return i >= 0 && i < Accepted() ? requests[i] : ""; }

private:
    // A step is bytes to send times times (kSend), a close (kClose) or a pause of ms.
    enum { kSend = -1, kClose = -2 };
    struct Step {
        std::string bytes;
        int ms;
        int times;
    };
    LoopbackServer& Add(const std::string& bytes, int ms, int times = 1);
    void Serve(SOCKET connection);

    SocketSession session;
    int port = 0;
    SOCKET listener; // after port, which opening it sets
    std::vector<Step> script;
    std::thread worker;
    std::atomic<bool> stopping{false};
    std::vector<std::string> requests;
};
