#pragma once
#include <memory>
#include <vector>

#include "http/HttpClient.h"

// Fetches the pages of many addresses at once, on the calling thread: the
// connections are opened together, without blocking, and one wait serves
// them all. Each page comes back as Get would give it, with Get's waits (the
// client's connect time-out, 5 seconds of silence per line), its lines and
// its result; what one page's server does never stretches another's waits.
// A page also takes at most pageTimeLimitMs from its start: a server that
// keeps trickling bytes is cut off there, and what arrived is kept as if it
// had closed. Host names are looked up in the order the pages were added,
// through one host cache, as one client fetching them in turn would.
class CPageFetcher
{
public:
    explicit CPageFetcher(int port = 80);
    ~CPageFetcher();
    CPageFetcher(const CPageFetcher&) = delete;
    CPageFetcher& operator=(const CPageFetcher&) = delete;

    // Adds the page at address (copied); its index, from 0 in the order added.
    int Add(const char* address);
    // Fetches every page added since the last call; returns when all are done.
    void FetchAll();

    int Count() const;
    // Get's result for the page: 0 fetched and text, 1 no connection, 3
    // address error, 4 request not sent, 5 not text.
    int Result(int index) const;
    // The page's address as Get left it.
    const char* Address(int index) const;
    // The client that holds the page's response (its lines, the class ids).
    CHttpClient& Page(int index);

    // The longest a page may take, in milliseconds.
    long pageTimeLimitMs = 30000;
    // The most bytes all the pages together keep (by the response limit's
    // count): every page is held until the pass is examined, so without it a
    // pass of many windows on hostile servers could hold their number times
    // one page's limit. A page that meets it ends as at its own limit.
    long long passLimit = 64LL * 1024 * 1024;

private:
    struct Fetch;
    void Start(Fetch& fetch);
    void Connected(Fetch& fetch);
    void Receive(Fetch& fetch);
    void TimeOut(Fetch& fetch);
    void EndOfStream(Fetch& fetch);
    bool Deliver(Fetch& fetch, int got);
    void Finish(Fetch& fetch, int result);

    int port;
    std::vector<std::unique_ptr<Fetch>> fetches;
    std::size_t started = 0; // fetches before this one have been started
    long long passKept = 0;  // bytes all the pages keep
    // The host cache, handed from each page's client to the next.
    char lastHost[256];
    char hostAddress[32];
};
