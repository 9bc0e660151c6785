#include "LoopbackServer.h"

#include <chrono>

using Clock = std::chrono::steady_clock;

static bool Before(Clock::time_point start, int ms) {
    return Clock::now() - start < std::chrono::milliseconds(ms);
}

// Waits up to 20 ms, so that a stopping server notices soon.
static bool Readable(SOCKET s) {
    return WaitSocket(s, kSocketReadable, 0, 20000) > 0;
}

LoopbackServer::LoopbackServer(const char* address, int wantedPort)
    : listener(OpenLoopbackListener(16, &port, true, address, wantedPort)) {}

LoopbackServer::~LoopbackServer() {
    stopping = true;
    Finish();
    closesocket(listener);
}

LoopbackServer& LoopbackServer::Add(const std::string& bytes, int ms, int times) {
    script.push_back({bytes, ms, times});
    return *this;
}

void LoopbackServer::Start(int connections) {
    worker = std::thread([this, connections] {
        for (auto idle = Clock::now(); Accepted() < connections && !stopping && Before(idle, 15000);) {
            if (Readable(listener)) {
                Serve(accept(listener, nullptr, nullptr));
                idle = Clock::now();
            }
        }
    });
}

void LoopbackServer::Serve(SOCKET connection) {
    SetNoDelay(connection);
    // The request: up to its empty line, the client's hang-up, or a second
    // of silence (a client sends its request at once; a broken one is then
    // answered soon).
    std::string request;
    char chunk[1024];
    int got = 1;
    for (auto last = Clock::now();
         got > 0 && !stopping && Before(last, 1000) && request.find("\r\n\r\n") == std::string::npos;) {
        if (Readable(connection) && (got = static_cast<int>(recv(connection, chunk, sizeof(chunk), 0))) > 0) {
            request.append(chunk, static_cast<std::size_t>(got));
            last = Clock::now();
        }
    }
    requests.push_back(request);
    // A blocking send sends everything or fails; a pause ends early when the
    // client hangs up.
    bool open = true;
    for (std::size_t i = 0; open && !stopping && i < script.size(); ++i) {
        const auto& [bytes, ms, times] = script[i];
        const int size = static_cast<int>(bytes.size());
        open = ms != kClose;
        for (int n = 0; open && ms == kSend && n < times; ++n)
            open = send(connection, bytes.data(), size, kSocketSendFlags) == size;
        for (auto start = Clock::now(); open && !stopping && Before(start, ms);)
            open = !Readable(connection) || recv(connection, chunk, sizeof(chunk), 0) > 0;
    }
    shutdown(connection, SD_SEND);
    closesocket(connection);
}
