#include "http/ReceiveBuffer.h"

#include <cstring>

bool CReceiveBuffer::ContinueLine(char* line, int size, int& total)
{
    const int room = size - 1 - total;
    if (room <= 0)
        return true;
    if (begin == end)
        return false;

    const char* data = bytes.get() + begin;
    if (total > 0 && line[total - 1] == '\r' && (!runsOn || data[0] == '\n'))
    {
        // The sender paused after the CR: the byte after it ends the line,
        // whatever it is.
        line[total++] = data[0];
        line[total] = '\0';
        ++begin;
        return true;
    }

    const int available = end - begin;
    const int looked = available < room ? available : room;
    int take = looked;
    bool lineEnd = false;
    // A LF ends the line only with a CR before it in the same piece.
    for (const char* lf = static_cast<const char*>(std::memchr(data, '\n', static_cast<std::size_t>(looked))); lf;
         lf = static_cast<const char*>(std::memchr(lf + 1, '\n', static_cast<std::size_t>(data + looked - lf - 1))))
    {
        if (lf > data && lf[-1] == '\r')
        {
            take = static_cast<int>(lf - data) + 1;
            lineEnd = true;
            break;
        }
    }
    std::memcpy(line + total, data, static_cast<std::size_t>(take));
    total += take;
    line[total] = '\0';
    begin += take;
    if (lineEnd || total == size - 1)
        return true;
    runsOn = filled;
    return false;
}

char* CReceiveBuffer::Space(int& size)
{
    begin = end = 0;
    // Grow only while the sender stays ahead: a receive that filled the
    // buffer left more waiting.
    if (!bytes || (filled && capacity < kLargestSize))
    {
        const int grown = bytes ? capacity * 2 : kInitialSize;
        bytes.reset();
        bytes.reset(new char[static_cast<std::size_t>(grown)]);
        capacity = grown;
    }
    size = capacity;
    return bytes.get();
}

void CReceiveBuffer::Received(int count)
{
    begin = 0;
    end = count > 0 ? count : 0;
    filled = end == capacity;
}

void CReceiveBuffer::Clear()
{
    begin = end = 0;
    filled = false;
    runsOn = false;
}
