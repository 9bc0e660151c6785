#include "http/SocketApi.h"

#include <cstring>

#ifdef _WIN32

const int kSocketSendFlags = 0;

int WaitSocket(SOCKET s, int conditions, long seconds, long microseconds)
{
    fd_set readSet;
    fd_set writeSet;
    fd_set exceptSet;
    FD_ZERO(&readSet);
    FD_ZERO(&writeSet);
    FD_ZERO(&exceptSet);
    if (conditions & kSocketReadable)
        FD_SET(s, &readSet);
    if (conditions & kSocketWritable)
        FD_SET(s, &writeSet);
    if (conditions & kSocketException)
        FD_SET(s, &exceptSet);
    timeval limit;
    limit.tv_sec = seconds;
    limit.tv_usec = microseconds;
    // The first argument is ignored by Winsock.
    int ready = select(0, &readSet, &writeSet, &exceptSet, &limit);
    if (ready == SOCKET_ERROR)
        return SOCKET_ERROR;
    int met = 0;
    if (FD_ISSET(s, &readSet))
        met |= kSocketReadable;
    if (FD_ISSET(s, &writeSet))
        met |= kSocketWritable;
    if (FD_ISSET(s, &exceptSet))
        met |= kSocketException;
    return met;
}

int SocketPendingError(SOCKET s)
{
    int error = 0;
    int length = sizeof(error);
    if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0)
        return WSAGetLastError();
    return error;
}

int SetNoDelay(SOCKET s)
{
    BOOL on = TRUE;
    return setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof(on)) == 0 ? 0 : 1;
}

#else

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#ifdef MSG_NOSIGNAL
const int kSocketSendFlags = MSG_NOSIGNAL;
#else
const int kSocketSendFlags = 0;
#endif

int WSAStartup(WORD version, WSADATA* data)
{
    if (data)
    {
        std::memset(data, 0, sizeof(*data));
        data->wVersion = version;
        data->wHighVersion = version;
    }
    return 0;
}

int WSACleanup()
{
    return 0;
}

int closesocket(SOCKET s)
{
    return close(s);
}

int ioctlsocket(SOCKET s, long cmd, u_long* argp)
{
    if (cmd != static_cast<long>(FIONBIO) || !argp)
    {
        errno = EINVAL;
        return SOCKET_ERROR;
    }
    int flags = fcntl(s, F_GETFL, 0);
    if (flags == -1)
        return SOCKET_ERROR;
    flags = *argp ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return fcntl(s, F_SETFL, flags) == -1 ? SOCKET_ERROR : 0;
}

int WSAGetLastError()
{
    int error = errno;
    if (error == EINPROGRESS || error == EWOULDBLOCK || error == EAGAIN || error == EALREADY)
        return WSAEWOULDBLOCK;
    if (error == ECONNREFUSED)
        return WSAECONNREFUSED;
    if (error == ETIMEDOUT)
        return WSAETIMEDOUT;
    return error;
}

int WaitSocket(SOCKET s, int conditions, long seconds, long microseconds)
{
    // poll rather than select: no limit on the descriptor's number.
    pollfd entry;
    entry.fd = s;
    entry.events = 0;
    entry.revents = 0;
    if (conditions & kSocketReadable)
        entry.events |= POLLIN;
    if (conditions & kSocketWritable)
        entry.events |= POLLOUT;
    if (conditions & kSocketException)
        entry.events |= POLLPRI;
    long long ms = static_cast<long long>(seconds) * 1000 + microseconds / 1000;
    if (ms < 0)
        ms = 0;
    if (ms > 0x7FFFFFFF)
        ms = 0x7FFFFFFF;
    int ready;
    do
        ready = poll(&entry, 1, static_cast<int>(ms));
    while (ready < 0 && errno == EINTR);
    if (ready < 0)
        return SOCKET_ERROR;
    if (ready == 0)
        return 0;
    // As with select, an error or hang-up makes the socket readable and
    // writable: the next call reports it.
    int met = 0;
    short failed = static_cast<short>(entry.revents & (POLLERR | POLLHUP | POLLNVAL));
    if ((conditions & kSocketReadable) && ((entry.revents & POLLIN) || failed))
        met |= kSocketReadable;
    if ((conditions & kSocketWritable) && ((entry.revents & POLLOUT) || failed))
        met |= kSocketWritable;
    if ((conditions & kSocketException) && (entry.revents & POLLPRI))
        met |= kSocketException;
    return met;
}

int SocketPendingError(SOCKET s)
{
    int error = 0;
    socklen_t length = sizeof(error);
    if (getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return errno;
    return error;
}

int SetNoDelay(SOCKET s)
{
    int on = 1;
    return setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on)) == 0 ? 0 : 1;
}

#endif

SOCKET OpenLoopbackListener(int backlog, int* port, bool listening)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET)
        return INVALID_SOCKET;
    sockaddr_in local;
    std::memset(&local, 0, sizeof(local));
    local.sin_family = AF_INET;
    local.sin_port = 0;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(local);
    if (bind(s, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0 ||
        (listening && listen(s, backlog) != 0) ||
        getsockname(s, reinterpret_cast<sockaddr*>(&local), &length) != 0)
    {
        closesocket(s);
        return INVALID_SOCKET;
    }
    if (port)
        *port = ntohs(local.sin_port);
    return s;
}
