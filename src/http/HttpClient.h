#pragma once
#include <string>

#include "http/LineList.h"
#include "http/PositionList.h"
#include "http/SocketClient.h"

// A minimal HTTP/1.0 GET client: one request per Get, the response kept as
// header lines and body lines, and only when the page is text.
class CHttpClient : public CSocketClient
{
public:
    explicit CHttpClient(int port = 80);
    ~CHttpClient() override;

    // Cuts the address into a host and a path and looks the host up (the
    // address's backslashes become slashes in place). 0 success; 1 no usable
    // host (none found, or a scheme other than http); 2 lookup failed; 3 both.
    int SplitUrl(char* address, char* path, int pathSize);
    // Makes hostAddress the dotted address of host, with a one-entry cache.
    // 0 success; 1 host text too long; 2 lookup failed.
    int LookUpHost(const char* host);
    // Appends a request header line, completed with CR LF when it has no line end.
    void AddRequestHeader(const char* line);
    // Fetches the page. 0 fetched and text; 1 no connection; 3 address error
    // (also an address holding a control character, below 0x20 or 0x7F);
    // 4 sending the request failed; 5 the response is not text/html or text/plain.
    int Get(char* address);
    // Reads the response of the request sent on the open connection into the
    // header and body lines, then closes it: 0 text, 5 not text/html or
    // text/plain. Get's second half, apart so that a response can be played
    // from any connected stream socket.
    int ReadResponse();
    void ResetResponse();

    // Get's steps, apart so that a caller can run them for many pages at
    // once. BeginGet resets the response and splits the address (path
    // receives the path): 0, or 3 for an address error. SendRequest sends
    // the request for path on the open connection: 0, or 4 with the
    // connection closed. BeginResponse starts reading a response; then each
    // result of ReceiveLine (the bytes stored in line and their number) goes
    // to TakeResponseLine, which keeps the line and is true while the
    // response wants more; once it is false, ResponseResult gives 0 or 5.
    int BeginGet(char* address, char* path, int pathSize);
    int SendRequest(const char* path);
    void BeginResponse();
    bool TakeResponseLine(char* line, int got);
    int ResponseResult() const { return responseResult; }
    // Bytes of the current response kept so far, by the limit's count.
    long long ResponseKept() const { return responseKept; }

    int HeaderCount() const;
    const char* HeaderLine(int index) const;
    int BodyLineCount() const;
    const char* BodyLine(int index) const;
    // The first response header line named Content-Type (any case), whole, or "".
    std::string FindContentType() const;

    // Number of "classid=" occurrences in the body (any case), counted once per fetch.
    int CountClassIds();
    // The value of occurrence index: 0 copied; 1 no such occurrence (out
    // unchanged); 2 no value can be taken (out empty).
    int GetClassId(int index, char* out, int outSize);

    char hostAddress[32];
    char lastHost[256];
    int httpPort;
    CLineList requestHeaders;
    CLineList responseHeaders;
    CLineList bodyLines;
    int classIdCount;
    CPositionList classIdPositions;
    // The most bytes of one response that are kept (header and body lines
    // together, each line counted with CLineList::kLineOverhead bytes more);
    // a longer response ends there as if the server had closed.
    long long responseLimit;

    static constexpr long long kDefaultResponseLimit = 16LL * 1024 * 1024;
    // The buffer of one response line, its NUL included.
    static constexpr int kLineSize = 512;
    // Seconds of silence that end the reading of a line.
    static constexpr int kReadWaitSeconds = 5;

private:
    long long responseKept = 0; // bytes of the response kept, by the limit's count
    bool readingBody = false;
    int responseResult = 5;
};
