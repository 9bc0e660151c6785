#include "LoopbackServer.h"

#include <chrono>

namespace
{
using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}
}

LoopbackServer::LoopbackServer() : listener(INVALID_SOCKET), port(0), stopping(false)
{
    WSAStartup(MAKEWORD(2, 2), &wsaData);
    listener = OpenLoopbackListener(16, &port);
}

LoopbackServer::~LoopbackServer()
{
    stopping = true;
    if (worker.joinable())
        worker.join();
    if (listener != INVALID_SOCKET)
        closesocket(listener);
    WSACleanup();
}

LoopbackServer& LoopbackServer::Send(const std::string& bytes)
{
    script.push_back(Step{Step::kSend, bytes, 0});
    return *this;
}

LoopbackServer& LoopbackServer::Pause(int ms)
{
    script.push_back(Step{Step::kPause, std::string(), ms});
    return *this;
}

LoopbackServer& LoopbackServer::Close()
{
    script.push_back(Step{Step::kClose, std::string(), 0});
    return *this;
}

void LoopbackServer::Start(int connections)
{
    worker = std::thread(&LoopbackServer::Run, this, connections);
}

void LoopbackServer::Finish()
{
    if (worker.joinable())
        worker.join();
}

int LoopbackServer::Accepted() const
{
    std::lock_guard<std::mutex> lock(guard);
    return static_cast<int>(requests.size());
}

std::string LoopbackServer::Request(int i) const
{
    std::lock_guard<std::mutex> lock(guard);
    if (i < 0 || static_cast<std::size_t>(i) >= requests.size())
        return std::string();
    return requests[static_cast<std::size_t>(i)];
}

void LoopbackServer::Run(int connections)
{
    if (listener == INVALID_SOCKET)
        return;
    int served = 0;
    Clock::time_point idleSince = Clock::now();
    while (served < connections && !stopping && MillisecondsSince(idleSince) < 15000)
    {
        int met = WaitSocket(listener, kSocketReadable, 0, 20000);
        if (met <= 0)
            continue;
        SOCKET connection = accept(listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET)
            continue;
        SetNoDelay(connection);
        Serve(connection);
        ++served;
        idleSince = Clock::now();
    }
}

std::string LoopbackServer::ReadRequest(SOCKET connection)
{
    // Up to the empty line that ends the request, the client's hang-up, or
    // five seconds of silence.
    std::string request;
    Clock::time_point lastData = Clock::now();
    while (!stopping && request.find("\r\n\r\n") == std::string::npos && request.size() < 65536 &&
           MillisecondsSince(lastData) < 5000)
    {
        int met = WaitSocket(connection, kSocketReadable, 0, 20000);
        if (met <= 0)
            continue;
        char chunk[1024];
        int got = static_cast<int>(recv(connection, chunk, static_cast<int>(sizeof(chunk)), 0));
        if (got <= 0)
            break;
        request.append(chunk, static_cast<std::size_t>(got));
        lastData = Clock::now();
    }
    return request;
}

void LoopbackServer::Serve(SOCKET connection)
{
    std::string request = ReadRequest(connection);
    {
        std::lock_guard<std::mutex> lock(guard);
        requests.push_back(request);
    }

    bool open = true;
    for (const Step& step : script)
    {
        if (!open || stopping)
            break;
        switch (step.kind)
        {
        case Step::kSend:
        {
            std::size_t sent = 0;
            while (sent < step.bytes.size())
            {
                int n = static_cast<int>(send(connection, step.bytes.data() + sent,
                                              static_cast<int>(step.bytes.size() - sent), kSocketSendFlags));
                if (n <= 0)
                {
                    open = false;
                    break;
                }
                sent += static_cast<std::size_t>(n);
            }
            break;
        }
        case Step::kPause:
        {
            Clock::time_point start = Clock::now();
            while (!stopping && MillisecondsSince(start) < step.ms)
            {
                int met = WaitSocket(connection, kSocketReadable, 0, 10000);
                if (met > 0)
                {
                    char chunk[256];
                    int got = static_cast<int>(recv(connection, chunk, static_cast<int>(sizeof(chunk)), 0));
                    if (got <= 0)
                        break; // the client hung up
                }
            }
            break;
        }
        case Step::kClose:
            open = false;
            break;
        }
    }
    shutdown(connection, SD_SEND);
    closesocket(connection);
}
