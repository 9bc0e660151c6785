#pragma once
#include <memory>

// The bytes of one connection that have been received and not yet read as
// lines. One receive fills the empty buffer; lines are then cut from it as
// if each had been taken off the socket on its own, through its CR LF, in
// pieces of at most size - 1 bytes:
// - a line ends only at a CR LF that lies within the piece's room;
// - a piece that ends with a CR where the received bytes ended (the sender
//   paused there) ends with the next byte that comes, whatever it is, as
//   when the CR and its LF arrive apart;
// - where the bytes ended only because the buffer was full, the stream runs
//   on unbroken.
// A bare LF or a bare CR is text like any other byte.
class CReceiveBuffer
{
public:
    // The size of the buffer while receives do not fill it.
    static constexpr int kInitialSize = 16 * 1024;
    // The most it grows to while every receive fills it (a sender far ahead).
    static constexpr int kLargestSize = 256 * 1024;

    CReceiveBuffer() = default;
    CReceiveBuffer(const CReceiveBuffer&) = delete;
    CReceiveBuffer& operator=(const CReceiveBuffer&) = delete;

    // Continues the line in line (size bytes; total of them already hold the
    // line, total 0 starts a new one) with buffered bytes, keeping it
    // NUL-terminated. True when the line is complete; false when every
    // buffered byte has been taken and the line wants more.
    bool ContinueLine(char* line, int size, int& total);
    // Where the next receive goes, and how many bytes it may bring. Only
    // while the buffer is empty.
    char* Space(int& size);
    // Takes count bytes received at Space.
    void Received(int count);
    bool IsEmpty() const { return begin == end; }
    // Forgets the buffered bytes; the buffer stays for the next connection.
    void Clear();

private:
    std::unique_ptr<char[]> bytes;
    int capacity = 0;
    int begin = 0; // the first byte not yet read
    int end = 0;   // past the last byte received
    // The last receive filled the whole buffer: the stream may go on at once.
    bool filled = false;
    // The line so far ended where the buffer was full, not where the
    // sender paused.
    bool runsOn = false;
};
