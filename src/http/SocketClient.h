#pragma once
#include "http/ReceiveBuffer.h"
#include "http/SocketApi.h"

// A minimal blocking TCP client over Winsock 1.1: one connection at a time,
// with a bounded wait for the connection and line-wise reading.
class CSocketClient
{
public:
    CSocketClient();
    virtual ~CSocketClient();
    CSocketClient(const CSocketClient&) = delete;
    CSocketClient& operator=(const CSocketClient&) = delete;

    // 0 connected; 1 a connection is already open; 2 no socket; 3 connection
    // failed (refused, unreachable, ...); 4 time-out. The address must be dotted.
    int Connect(int port, const char* dottedAddress, int family, int type);
    // Connect's two halves, for a caller that waits on many sockets at once.
    // StartConnect gives Connect's results, or kConnectPending while the
    // connection is on its way: wait until the socket is writable or in the
    // exception set, at most connectTimeoutMs, and hand the conditions met
    // (0 when the time ran out) to FinishConnect, which gives 0, 3 or 4.
    // With a connect time-out the socket is left non-blocking; without one
    // StartConnect blocks until the connection is made or fails.
    int StartConnect(int port, const char* dottedAddress, int family, int type);
    int FinishConnect(int met);
    static constexpr int kConnectPending = -1;
    void Close();
    // One send of length bytes (length 0 or less: the text length of data).
    // The number of bytes sent, or SOCKET_ERROR.
    int Send(const char* data, int length);
    // 0 when the socket becomes readable (writable) within the time, else 1.
    int WaitReadable(long seconds, long microseconds);
    int WaitWritable(long seconds, long microseconds);
    // 1 if the mode could not be set, else 0.
    int SetNonBlocking(bool on);
    // Reads one line, through its CR LF, as CReceiveBuffer cuts it: the
    // socket is read a buffer at a time, and what follows the line waits in
    // received for the next call. At most size - 1 bytes are stored, always
    // followed by a NUL. seconds > 0 bounds each wait for data, which is
    // waited for only when nothing is buffered. Returns the number of bytes
    // stored.
    int ReceiveLine(char* buffer, int size, int seconds);
    // Cuts a line end (CR, LF, or a pair of them) off the line.
    static void TrimLineEnd(char* line);

    // Token number index (from 0) of text: the maximal non-empty runs of
    // characters that are not in delimiters. 0 if it exists and fits in out
    // with its NUL; otherwise 1 with out empty (when outSize > 0).
    static int GetToken(const char* text, const char* delimiters, int index, char* out, int outSize);
    // True if inet_addr accepts the text.
    static bool IsDottedAddress(const char* text);
    // Looks up a name (the part after the last '@' past the first character,
    // if any) and copies its first IPv4 address as dotted text into out.
    // 0 copied; 1 out too small; 2 lookup failed.
    static int ResolveHost(const char* name, char* out, int outSize);

    int port;
    char address[32];
    int family;
    int type;
    WSADATA wsaData;
    SOCKET sock;
    sockaddr_in remote;
    // Longest wait for a connection, in milliseconds.
    int connectTimeoutMs;
    // What the connection brought that no line has taken yet; emptied by Close.
    CReceiveBuffer received;
};
