#include "http/SocketApi.h"

#include <cstring>

#ifdef _WIN32

const int kSocketSendFlags = 0;

int WaitSockets(SocketWait* waits, int count, long milliseconds)
{
    static_assert(FD_SETSIZE >= kMostSocketsPerWait, "a select holds every socket of a wait");
    if (count < 0 || count > kMostSocketsPerWait)
        return SOCKET_ERROR;
    // Winsock refuses a select without sockets: the wait is then a sleep.
    if (count == 0)
    {
        Sleep(static_cast<DWORD>(milliseconds < 0 ? 0 : milliseconds));
        return 0;
    }
    fd_set readSet;
    fd_set writeSet;
    fd_set exceptSet;
    FD_ZERO(&readSet);
    FD_ZERO(&writeSet);
    FD_ZERO(&exceptSet);
    for (int i = 0; i < count; ++i)
    {
        if (waits[i].conditions & kSocketReadable)
            FD_SET(waits[i].socket, &readSet);
        if (waits[i].conditions & kSocketWritable)
            FD_SET(waits[i].socket, &writeSet);
        if (waits[i].conditions & kSocketException)
            FD_SET(waits[i].socket, &exceptSet);
    }
    timeval limit;
    limit.tv_sec = milliseconds / 1000;
    limit.tv_usec = (milliseconds % 1000) * 1000;
    // The first argument is ignored by Winsock.
    int ready = select(0, &readSet, &writeSet, &exceptSet, &limit);
    if (ready == SOCKET_ERROR)
        return SOCKET_ERROR;
    int sockets = 0;
    for (int i = 0; i < count; ++i)
    {
        waits[i].met = 0;
        if (FD_ISSET(waits[i].socket, &readSet))
            waits[i].met |= kSocketReadable;
        if (FD_ISSET(waits[i].socket, &writeSet))
            waits[i].met |= kSocketWritable;
        if (FD_ISSET(waits[i].socket, &exceptSet))
            waits[i].met |= kSocketException;
        sockets += waits[i].met != 0 ? 1 : 0;
    }
    return sockets;
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

int WaitSockets(SocketWait* waits, int count, long milliseconds)
{
    if (count < 0 || count > kMostSocketsPerWait)
        return SOCKET_ERROR;
    pollfd entries[kMostSocketsPerWait];
    for (int i = 0; i < count; ++i)
    {
        entries[i].fd = waits[i].socket;
        entries[i].events = 0;
        entries[i].revents = 0;
        if (waits[i].conditions & kSocketReadable)
            entries[i].events |= POLLIN;
        if (waits[i].conditions & kSocketWritable)
            entries[i].events |= POLLOUT;
        if (waits[i].conditions & kSocketException)
            entries[i].events |= POLLPRI;
    }
    const int timeout = static_cast<int>(milliseconds < 0 ? 0 : milliseconds > 0x7FFFFFFF ? 0x7FFFFFFF : milliseconds);
    int ready;
    do
        ready = poll(entries, static_cast<nfds_t>(count), timeout);
    while (ready < 0 && errno == EINTR);
    if (ready < 0)
        return SOCKET_ERROR;
    int sockets = 0;
    for (int i = 0; i < count; ++i)
    {
        // As with select, an error or hang-up makes the socket readable and
        // writable: the next call reports it.
        const short revents = entries[i].revents;
        const bool failed = (revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
        const int conditions = waits[i].conditions;
        waits[i].met = 0;
        if ((conditions & kSocketReadable) && ((revents & POLLIN) || failed))
            waits[i].met |= kSocketReadable;
        if ((conditions & kSocketWritable) && ((revents & POLLOUT) || failed))
            waits[i].met |= kSocketWritable;
        if ((conditions & kSocketException) && (revents & POLLPRI))
            waits[i].met |= kSocketException;
        sockets += waits[i].met != 0 ? 1 : 0;
    }
    return sockets;
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

int WaitSocket(SOCKET s, int conditions, long seconds, long microseconds)
{
    SocketWait wait = {s, conditions, 0};
    long milliseconds = seconds * 1000 + microseconds / 1000;
    return WaitSockets(&wait, 1, milliseconds < 0 ? 0 : milliseconds) == SOCKET_ERROR ? SOCKET_ERROR : wait.met;
}

SOCKET OpenLoopbackListener(int backlog, int* port, bool listening, const char* address, int wantedPort)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET)
        return INVALID_SOCKET;
    sockaddr_in local;
    std::memset(&local, 0, sizeof(local));
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<unsigned short>(wantedPort));
    local.sin_addr.s_addr = inet_addr(address ? address : "127.0.0.1");
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
