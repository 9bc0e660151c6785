#include "http/HttpClient.h"

#include <cstdio>
#include <cstring>

namespace
{
const int kPathSize = 256;
const int kHeaderNameSize = 64;

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
    {
        if (LowerAscii(*a) != LowerAscii(*b))
            return false;
    }
    return *a == *b;
}

bool StartsWithNoCase(const char* text, const char* prefix)
{
    for (; *prefix; ++text, ++prefix)
    {
        if (*text == '\0' || LowerAscii(*text) != LowerAscii(*prefix))
            return false;
    }
    return true;
}

// CR and LF would end the request line early and let the rest of the address
// pass as header lines of its own; no control character belongs in an address.
bool HasControlCharacter(const char* text)
{
    for (; *text; ++text)
    {
        const unsigned char c = static_cast<unsigned char>(*text);
        if (c < 0x20 || c == 0x7F)
            return true;
    }
    return false;
}
}

CHttpClient::CHttpClient(int port)
    : httpPort(port), classIdCount(-1), responseLimit(kDefaultResponseLimit)
{
    hostAddress[0] = '\0';
    lastHost[0] = '\0';
}

CHttpClient::~CHttpClient()
{
    ResetResponse();
}

int CHttpClient::LookUpHost(const char* host)
{
    if (!host)
        host = "";
    if (std::strcmp(host, lastHost) == 0)
        return 0;
    std::size_t length = std::strlen(host);
    if (length > sizeof(lastHost) - 1)
        return 1;

    std::memcpy(lastHost, host, length + 1);
    hostAddress[0] = '\0';

    int result;
    if (IsDottedAddress(host) && length >= sizeof(hostAddress))
    {
        result = 1;
    }
    else
    {
        if (IsDottedAddress(host))
            std::memcpy(hostAddress, host, length + 1);
        // A dotted host goes through the lookup too; it comes back unchanged.
        result = ResolveHost(host, hostAddress, static_cast<int>(sizeof(hostAddress)));
    }
    // A failed name is looked up anew by the next request.
    if (result != 0)
        lastHost[0] = '\0';
    return result;
}

int CHttpClient::SplitUrl(char* address, char* path, int pathSize)
{
    if (path && pathSize > 0)
        path[0] = '\0';
    if (!address)
        return 1;

    for (char* p = address; *p; ++p)
    {
        if (*p == '\\')
            *p = '/';
    }

    // Only plain web pages are fetched. An address of any other scheme
    // (https, ftp, file, ...) is refused before any lookup: fetching it over
    // plain HTTP would send its path and query in clear text. The scheme is
    // the text before the first "://", wherever that stands, so an address
    // such as h/p?u=http://x is refused as well.
    const char* schemeEnd = std::strstr(address, "://");
    if (schemeEnd)
    {
        std::string scheme(address, static_cast<std::size_t>(schemeEnd - address));
        if (!EqualNoCase(scheme.c_str(), "http"))
            return 1;
    }

    int result = 0;
    char host[256];
    if (GetToken(address, "/?", schemeEnd ? 1 : 0, host, static_cast<int>(sizeof(host))) != 0)
    {
        result = 1;
        host[0] = '\0';
    }
    if (LookUpHost(host) != 0)
        result += 2;

    const char* rest = address;
    if (host[0] != '\0')
    {
        const char* found = std::strstr(address, host);
        if (found)
            rest = found + std::strlen(host);
    }
    if (path && pathSize > 0)
        GetToken(rest, "*", 0, path, pathSize);
    return result;
}

void CHttpClient::AddRequestHeader(const char* line)
{
    if (!line)
        return;
    std::size_t length = std::strlen(line);
    bool hasLineEnd = (length >= 1 && line[length - 1] == '\n') || (length >= 2 && line[length - 2] == '\r');
    if (hasLineEnd)
    {
        requestHeaders.Add(line);
    }
    else
    {
        std::string completed(line, length);
        completed += "\r\n";
        requestHeaders.Add(completed.c_str());
    }
}

void CHttpClient::ResetResponse()
{
    requestHeaders.Clear();
    responseHeaders.Clear();
    bodyLines.Clear();
    classIdCount = -1;
}

int CHttpClient::Get(char* address)
{
    char path[kPathSize];
    if (BeginGet(address, path, kPathSize) != 0)
        return 3;
    if (Connect(httpPort, hostAddress, AF_INET, SOCK_STREAM) != 0)
        return 1;
    if (SendRequest(path) != 0)
        return 4;
    return ReadResponse();
}

int CHttpClient::BeginGet(char* address, char* path, int pathSize)
{
    ResetResponse();
    if (path && pathSize > 0)
        path[0] = '\0';
    if (!address || HasControlCharacter(address))
        return 3;
    return SplitUrl(address, path, pathSize) != 0 ? 3 : 0;
}

int CHttpClient::SendRequest(const char* path)
{
    char line[kLineSize];
    if (path[0] == '/')
        std::snprintf(line, sizeof(line), "GET %s HTTP/1.0\r\n", path);
    else
        std::snprintf(line, sizeof(line), "GET /%s HTTP/1.0\r\n", path);
    if (Send(line, 0) <= 0)
    {
        Close();
        return 4;
    }

    std::string hostLine = "Host: ";
    hostLine += lastHost;
    AddRequestHeader(hostLine.c_str());
    for (int i = 0; i < requestHeaders.Count(); ++i)
    {
        if (Send(requestHeaders.Item(i), 0) <= 0)
        {
            Close();
            return 4;
        }
    }
    Send("\r\n", 0);
    return 0;
}

int CHttpClient::ReadResponse()
{
    BeginResponse();
    char header[kLineSize];
    for (;;)
    {
        // A body line is read straight into the list's free space.
        char* line = readingBody ? bodyLines.Reserve(kLineSize) : header;
        if (!TakeResponseLine(line, ReceiveLine(line, kLineSize, kReadWaitSeconds)))
            break;
    }
    Close();
    return responseResult;
}

void CHttpClient::BeginResponse()
{
    responseKept = 0;
    readingBody = false;
    responseResult = 5;
}

bool CHttpClient::TakeResponseLine(char* line, int got)
{
    // Each stored line counts against the limit with what storing it costs
    // beyond its bytes, so that a page of tiny lines cannot take many times
    // the limit; past the limit the response ends as if the server had closed.
    const long long cost = static_cast<long long>(got) + CLineList::kLineOverhead;
    const bool fits = responseKept + cost <= responseLimit;
    if (readingBody)
    {
        if (got <= 0 || !fits)
            return false;
        responseKept += cost;
        bodyLines.Add(line, static_cast<std::size_t>(got));
        return true;
    }

    if (got >= 3)
    {
        if (fits)
        {
            responseKept += cost;
            TrimLineEnd(line);
            responseHeaders.Add(line);
            return true;
        }
        got = 0;
    }
    // The header lines end at the empty line (2 bytes) or a one-byte piece,
    // after which the body follows, or with the connection (0).
    std::string contentType = FindContentType();
    if (!StartsWithNoCase(contentType.c_str(), "Content-Type: text/html") &&
        !StartsWithNoCase(contentType.c_str(), "Content-Type: text/plain"))
    {
        responseResult = 5;
        return false;
    }
    responseResult = 0;
    readingBody = got > 0;
    return readingBody;
}

int CHttpClient::HeaderCount() const
{
    return responseHeaders.Count();
}

const char* CHttpClient::HeaderLine(int index) const
{
    return responseHeaders.Item(index);
}

int CHttpClient::BodyLineCount() const
{
    return bodyLines.Count();
}

const char* CHttpClient::BodyLine(int index) const
{
    return bodyLines.Item(index);
}

std::string CHttpClient::FindContentType() const
{
    char name[kHeaderNameSize];
    for (int i = 0; i < responseHeaders.Count(); ++i)
    {
        const char* header = responseHeaders.Item(i);
        if (GetToken(header, ": ", 0, name, kHeaderNameSize) == 0 && EqualNoCase(name, "Content-Type"))
            return header;
    }
    return std::string();
}
