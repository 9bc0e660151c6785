#pragma once
// The thin socket layer. On Windows it is Winsock itself; elsewhere it supplies
// the Winsock names that the HTTP client uses over BSD sockets, so that the
// client code reads the same on every platform. This is the only place that
// tells the platforms apart.

#ifdef _WIN32

// The client uses the Winsock 1.1 calls (gethostbyname, inet_addr, inet_ntoa).
#ifndef _WINSOCK_DEPRECATED_NO_WARNINGS
#define _WINSOCK_DEPRECATED_NO_WARNINGS
#endif
#include <winsock2.h>
#include <ws2tcpip.h>

#else

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/types.h>

typedef int SOCKET;
typedef unsigned short WORD;
typedef unsigned long u_long;

#define INVALID_SOCKET (-1)
#define SOCKET_ERROR (-1)
#define SD_RECEIVE SHUT_RD
#define SD_SEND SHUT_WR
#define SD_BOTH SHUT_RDWR

#define WSAEWOULDBLOCK 10035
#define WSAECONNREFUSED 10061
#define WSAETIMEDOUT 10060

#ifndef MAKEWORD
#define MAKEWORD(low, high) \
    static_cast<WORD>((static_cast<unsigned>(low) & 0xFF) | ((static_cast<unsigned>(high) & 0xFF) << 8))
#endif

struct WSADATA
{
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[257];
    char szSystemStatus[129];
};

// Nothing to start or clean up with BSD sockets.
int WSAStartup(WORD version, WSADATA* data);
int WSACleanup();
int closesocket(SOCKET s);
// Only FIONBIO is supported: *argp non-zero switches the socket to non-blocking.
int ioctlsocket(SOCKET s, long cmd, u_long* argp);
// The last socket error, with the "operation in progress" family of errors
// reported as WSAEWOULDBLOCK, the way a non-blocking Winsock connect reports it.
int WSAGetLastError();

#endif

// Flags for every send: a peer that has gone away must give an error result,
// never a signal that ends the process.
extern const int kSocketSendFlags;

// Conditions for WaitSocket.
enum
{
    kSocketReadable = 1,
    kSocketWritable = 2,
    kSocketException = 4
};

// Waits until the socket meets one of the asked conditions (a mask of
// kSocketReadable, kSocketWritable, kSocketException) or the time runs out.
// Returns the mask of the conditions that are met, 0 on time-out and
// SOCKET_ERROR on failure. A connection that failed shows as writable on BSD
// sockets and as an exception on Winsock; callers that wait for a connection
// ask for both.
int WaitSocket(SOCKET s, int conditions, long seconds, long microseconds);

// One socket of a wait on many: the conditions asked for, and those met.
struct SocketWait
{
    SOCKET socket;
    int conditions;
    int met;
};

// The most sockets one WaitSockets takes: what a Winsock select holds.
const int kMostSocketsPerWait = 64;

// Waits until at least one of count sockets (at most kMostSocketsPerWait)
// meets a condition it asks for, or milliseconds pass, and sets each one's
// met as WaitSocket would. Returns the number of sockets with a condition
// met, 0 on time-out and SOCKET_ERROR on failure.
int WaitSockets(SocketWait* waits, int count, long milliseconds);

// The socket's pending error (SO_ERROR), 0 when there is none, or the error of
// the query itself when it fails.
int SocketPendingError(SOCKET s);

// For test servers: a TCP socket listening on a loopback address (127.0.0.1
// unless address names another) with wantedPort, or a port chosen by the
// system when it is 0. Returns INVALID_SOCKET on failure; *port receives the
// port. With listen false the socket is bound but not listening (connections
// to it are refused).
SOCKET OpenLoopbackListener(int backlog, int* port, bool listening = true, const char* address = nullptr,
                            int wantedPort = 0);

// Turns off the coalescing of small sends, so that each send leaves as its
// own segment. Returns 0 on success.
int SetNoDelay(SOCKET s);
