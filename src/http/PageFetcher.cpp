#include "http/PageFetcher.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace
{
using Clock = std::chrono::steady_clock;

enum Step
{
    kWaiting,
    kConnecting,
    kReading,
    kDone
};
}

struct CPageFetcher::Fetch
{
    Fetch(int port, const char* text) : client(port), address(text, text + std::strlen(text) + 1) {}

    // The nearer of the end of the current wait and the end of the page's time.
    Clock::time_point Deadline() const { return std::min(waitEnd, end); }

    CHttpClient client;
    std::vector<char> address;
    char path[256] = "";
    Step step = kWaiting;
    int result = -1;
    Clock::time_point end;     // of the page's time
    Clock::time_point waitEnd; // of the wait for the connection or for data
    // The line being read, and the number of its bytes received so far.
    char line[CHttpClient::kLineSize] = "";
    int total = 0;
    long long pageLimit = 0; // the client's own response limit
};

CPageFetcher::CPageFetcher(int port) : port(port)
{
    lastHost[0] = '\0';
    hostAddress[0] = '\0';
}

CPageFetcher::~CPageFetcher() = default;

int CPageFetcher::Add(const char* address)
{
    fetches.emplace_back(new Fetch(port, address ? address : ""));
    return static_cast<int>(fetches.size()) - 1;
}

int CPageFetcher::Count() const
{
    return static_cast<int>(fetches.size());
}

int CPageFetcher::Result(int index) const
{
    return index >= 0 && index < Count() ? fetches[static_cast<std::size_t>(index)]->result : -1;
}

const char* CPageFetcher::Address(int index) const
{
    return index >= 0 && index < Count() ? fetches[static_cast<std::size_t>(index)]->address.data() : nullptr;
}

CHttpClient& CPageFetcher::Page(int index)
{
    return fetches.at(static_cast<std::size_t>(index))->client;
}

void CPageFetcher::FetchAll()
{
    std::vector<Fetch*> open;
    std::vector<SocketWait> waits;
    for (;;)
    {
        // A wait holds only so many sockets: later pages start as earlier
        // ones end.
        while (open.size() < static_cast<std::size_t>(kMostSocketsPerWait) && started < fetches.size())
        {
            Fetch& fetch = *fetches[started++];
            Start(fetch);
            if (fetch.step != kDone)
                open.push_back(&fetch);
        }
        if (open.empty())
            return;

        waits.clear();
        Clock::time_point first = open.front()->Deadline();
        for (Fetch* fetch : open)
        {
            const int conditions = fetch->step == kConnecting ? kSocketWritable | kSocketException : kSocketReadable;
            waits.push_back({fetch->client.sock, conditions, 0});
            first = std::min(first, fetch->Deadline());
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(first - Clock::now()).count();
        const int ready = WaitSockets(waits.data(), static_cast<int>(waits.size()), left > 0 ? static_cast<long>(left) : 0);

        for (std::size_t i = 0; i < open.size(); ++i)
        {
            Fetch& fetch = *open[i];
            if (ready == SOCKET_ERROR)
            {
                // A wait that fails would fail again: every page ends with
                // what it has.
                if (fetch.step == kConnecting)
                    Finish(fetch, 1);
                else
                    EndOfStream(fetch);
            }
            else if (waits[i].met != 0 && fetch.step == kConnecting)
            {
                if (fetch.client.FinishConnect(waits[i].met) == 0)
                    Connected(fetch);
                else
                    Finish(fetch, 1);
            }
            else if (waits[i].met != 0)
            {
                Receive(fetch);
            }
            // Also after a receive: a server that keeps sending must still
            // meet the end of the page's time.
            if (fetch.step != kDone && Clock::now() >= fetch.Deadline())
                TimeOut(fetch);
        }
        open.erase(std::remove_if(open.begin(), open.end(), [](const Fetch* fetch) { return fetch->step == kDone; }),
                   open.end());
    }
}

void CPageFetcher::Start(Fetch& fetch)
{
    CHttpClient& client = fetch.client;
    std::memcpy(client.lastHost, lastHost, sizeof(lastHost));
    std::memcpy(client.hostAddress, hostAddress, sizeof(hostAddress));
    const int begun = client.BeginGet(fetch.address.data(), fetch.path, static_cast<int>(sizeof(fetch.path)));
    std::memcpy(lastHost, client.lastHost, sizeof(lastHost));
    std::memcpy(hostAddress, client.hostAddress, sizeof(hostAddress));
    if (begun != 0)
    {
        Finish(fetch, 3);
        return;
    }

    fetch.pageLimit = client.responseLimit;
    const Clock::time_point now = Clock::now();
    fetch.end = now + std::chrono::milliseconds(pageTimeLimitMs);
    const int connected = client.StartConnect(client.httpPort, client.hostAddress, AF_INET, SOCK_STREAM);
    if (connected == CSocketClient::kConnectPending)
    {
        fetch.step = kConnecting;
        fetch.waitEnd = now + std::chrono::milliseconds(client.connectTimeoutMs);
    }
    else if (connected != 0)
    {
        Finish(fetch, 1);
    }
    else
    {
        Connected(fetch);
    }
}

void CPageFetcher::Connected(Fetch& fetch)
{
    CHttpClient& client = fetch.client;
    // Without a connect time-out the connection was made blocking.
    client.SetNonBlocking(true);
    if (client.SendRequest(fetch.path) != 0)
    {
        Finish(fetch, 4);
        return;
    }
    client.BeginResponse();
    fetch.step = kReading;
    fetch.waitEnd = Clock::now() + std::chrono::seconds(CHttpClient::kReadWaitSeconds);
}

void CPageFetcher::Receive(Fetch& fetch)
{
    CHttpClient& client = fetch.client;
    int room = 0;
    char* space = client.received.Space(room);
    const int got = static_cast<int>(recv(client.sock, space, room, 0));
    if (got < 0 && WSAGetLastError() == WSAEWOULDBLOCK)
        return;
    if (got < 1)
    {
        EndOfStream(fetch);
        return;
    }
    client.received.Received(got);
    while (client.received.ContinueLine(fetch.line, CHttpClient::kLineSize, fetch.total))
    {
        if (!Deliver(fetch, fetch.total))
            return;
    }
    fetch.waitEnd = Clock::now() + std::chrono::seconds(CHttpClient::kReadWaitSeconds);
}

void CPageFetcher::TimeOut(Fetch& fetch)
{
    const Clock::time_point now = Clock::now();
    if (fetch.step == kConnecting)
    {
        Finish(fetch, 1);
    }
    else if (now >= fetch.end)
    {
        EndOfStream(fetch);
    }
    else if (Deliver(fetch, fetch.total))
    {
        // Silence ends the line so far, and the next line has its own wait.
        fetch.waitEnd = now + std::chrono::seconds(CHttpClient::kReadWaitSeconds);
    }
}

void CPageFetcher::EndOfStream(Fetch& fetch)
{
    // The line so far is a line; after it nothing more comes.
    if (fetch.total > 0 && !Deliver(fetch, fetch.total))
        return;
    Deliver(fetch, 0);
}

bool CPageFetcher::Deliver(Fetch& fetch, int got)
{
    CHttpClient& client = fetch.client;
    const long long before = client.ResponseKept();
    client.responseLimit = std::min(fetch.pageLimit, before + std::max(0LL, passLimit - passKept));
    const bool more = client.TakeResponseLine(fetch.line, got);
    passKept += client.ResponseKept() - before;
    fetch.total = 0;
    fetch.line[0] = '\0';
    if (!more)
        Finish(fetch, fetch.client.ResponseResult());
    return more;
}

void CPageFetcher::Finish(Fetch& fetch, int result)
{
    fetch.result = result;
    fetch.step = kDone;
    fetch.client.Close();
}
