#include "http/SocketClient.h"

#include <cstring>

namespace
{
bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}
}

CSocketClient::CSocketClient()
    : port(0), family(AF_INET), type(SOCK_STREAM), sock(INVALID_SOCKET), connectTimeoutMs(10000)
{
    address[0] = '\0';
    std::memset(&wsaData, 0, sizeof(wsaData));
    std::memset(&remote, 0, sizeof(remote));
    // A failed start-up is not reported here: the calls that follow fail.
    WSAStartup(MAKEWORD(1, 1), &wsaData);
}

CSocketClient::~CSocketClient()
{
    Close();
    WSACleanup();
}

int CSocketClient::Connect(int newPort, const char* dottedAddress, int newFamily, int newType)
{
    int result = StartConnect(newPort, dottedAddress, newFamily, newType);
    if (result == kConnectPending)
    {
        long seconds = connectTimeoutMs / 1000;
        long microseconds = (connectTimeoutMs % 1000) * 1000L;
        int met = WaitSocket(sock, kSocketWritable | kSocketException, seconds, microseconds);
        result = FinishConnect(met == SOCKET_ERROR ? 0 : met);
    }
    if (result == 0 && connectTimeoutMs > 0)
        SetNonBlocking(false);
    return result;
}

int CSocketClient::StartConnect(int newPort, const char* dottedAddress, int newFamily, int newType)
{
    if (sock != INVALID_SOCKET)
        return 1;
    if (!dottedAddress)
        dottedAddress = "";

    received.Clear();
    port = newPort;
    std::strncpy(address, dottedAddress, sizeof(address) - 1);
    address[sizeof(address) - 1] = '\0';
    family = newFamily;
    type = newType;
    std::memset(&remote, 0, sizeof(remote));
    remote.sin_family = static_cast<decltype(remote.sin_family)>(family);
    remote.sin_port = htons(static_cast<unsigned short>(port));
    remote.sin_addr.s_addr = inet_addr(dottedAddress);

    sock = socket(family, type, 0);
    if (sock == INVALID_SOCKET)
        return 2;

    // Without a time-out the connect blocks until the system gives up.
    if (connectTimeoutMs > 0)
        SetNonBlocking(true);
    if (connect(sock, reinterpret_cast<const sockaddr*>(&remote), sizeof(remote)) == 0)
        return 0;
    if (connectTimeoutMs > 0 && WSAGetLastError() == WSAEWOULDBLOCK)
        return kConnectPending;

    closesocket(sock);
    sock = INVALID_SOCKET;
    return 3;
}

int CSocketClient::FinishConnect(int met)
{
    // A connection that fails is reported as writable by BSD sockets and in
    // the exception set by Winsock, so the caller waits for either and the
    // socket tells how the attempt ended.
    if (met == 0)
    {
        closesocket(sock);
        sock = INVALID_SOCKET;
        return 4;
    }
    if ((met & kSocketException) != 0 || SocketPendingError(sock) != 0)
    {
        closesocket(sock);
        sock = INVALID_SOCKET;
        return 3;
    }
    return 0;
}

void CSocketClient::Close()
{
    if (sock != INVALID_SOCKET)
    {
        if (type == SOCK_STREAM)
            shutdown(sock, SD_BOTH);
        closesocket(sock);
    }
    sock = INVALID_SOCKET;
    received.Clear();
}

int CSocketClient::Send(const char* data, int length)
{
    if (!data || sock == INVALID_SOCKET)
        return SOCKET_ERROR;
    if (length <= 0)
        length = static_cast<int>(std::strlen(data));
    return static_cast<int>(send(sock, data, length, kSocketSendFlags));
}

int CSocketClient::WaitReadable(long seconds, long microseconds)
{
    if (sock == INVALID_SOCKET)
        return 1;
    int met = WaitSocket(sock, kSocketReadable, seconds, microseconds);
    return met != SOCKET_ERROR && (met & kSocketReadable) != 0 ? 0 : 1;
}

int CSocketClient::WaitWritable(long seconds, long microseconds)
{
    if (sock == INVALID_SOCKET)
        return 1;
    int met = WaitSocket(sock, kSocketWritable, seconds, microseconds);
    return met != SOCKET_ERROR && (met & kSocketWritable) != 0 ? 0 : 1;
}

int CSocketClient::SetNonBlocking(bool on)
{
    u_long mode = on ? 1 : 0;
    return ioctlsocket(sock, FIONBIO, &mode) != 0 ? 1 : 0;
}

int CSocketClient::ReceiveLine(char* buffer, int size, int seconds)
{
    if (!buffer || size <= 0)
        return 0;
    buffer[0] = '\0';
    int total = 0;
    while (!received.ContinueLine(buffer, size, total))
    {
        if (seconds > 0 && WaitReadable(seconds, 0) != 0)
            return total;
        int room = 0;
        char* space = received.Space(room);
        int got = static_cast<int>(recv(sock, space, room, 0));
        if (got < 1)
            return total;
        received.Received(got);
    }
    return total;
}

void CSocketClient::TrimLineEnd(char* line)
{
    if (!line || line[0] == '\0')
        return;
    std::size_t length = std::strlen(line);
    if (length == 1)
    {
        if (IsLineEnd(line[0]))
            line[0] = '\0';
        return;
    }
    if (IsLineEnd(line[length - 2]))
        line[length - 2] = '\0';
    else if (IsLineEnd(line[length - 1]))
        line[length - 1] = '\0';
}

int CSocketClient::GetToken(const char* text, const char* delimiters, int index, char* out, int outSize)
{
    if (out && outSize > 0)
        out[0] = '\0';
    if (!text || !delimiters || !out || index < 0)
        return 1;

    auto isDelimiter = [delimiters](char c) { return c != '\0' && std::strchr(delimiters, c) != nullptr; };
    const char* p = text;
    int number = 0;
    while (*p)
    {
        while (*p && isDelimiter(*p))
            ++p;
        if (!*p)
            break;
        const char* start = p;
        while (*p && !isDelimiter(*p))
            ++p;
        if (number == index)
        {
            std::size_t length = static_cast<std::size_t>(p - start);
            if (outSize <= 0 || length >= static_cast<std::size_t>(outSize))
                return 1;
            std::memcpy(out, start, length);
            out[length] = '\0';
            return 0;
        }
        ++number;
    }
    return 1;
}

bool CSocketClient::IsDottedAddress(const char* text)
{
    return text && inet_addr(text) != INADDR_NONE;
}

int CSocketClient::ResolveHost(const char* name, char* out, int outSize)
{
    if (!name)
        return 2;
    // A user name before the host (user@host) is not part of the lookup.
    const char* lookup = name;
    if (name[0] != '\0')
    {
        const char* at = std::strrchr(name + 1, '@');
        if (at)
            lookup = at + 1;
    }

    hostent* entry = gethostbyname(lookup);
    if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list || !entry->h_addr_list[0])
        return 2;
    in_addr first;
    std::memcpy(&first, entry->h_addr_list[0], sizeof(first));
    const char* dotted = inet_ntoa(first);
    if (!dotted)
        return 2;

    std::size_t length = std::strlen(dotted);
    if (!out || outSize <= 0 || length + 1 > static_cast<std::size_t>(outSize))
        return 1;
    std::memcpy(out, dotted, length + 1);
    return 0;
}
