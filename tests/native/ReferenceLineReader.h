#pragma once
// The line reader in its plain form, kept as the reference for the buffered
// one: for every piece of a line a wait, a peek and a take, so that nothing
// past a line end leaves the socket. Here the socket is a list of pieces
// that arrive one at a time (the sender pauses after each one): a peek sees
// at most the rest of the piece, and a wait past the last piece ends the
// line as silence or the end of the connection would.
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

class ReferenceLineReader {
public:
    explicit ReferenceLineReader(std::vector<std::string> pieces) : pieces(std::move(pieces)) {}

    int ReceiveLine(char* buffer, int size) {
        if (size <= 0)
            return 0;
        buffer[0] = '\0';
        int room = size - 1, total = 0;
        while (room > 0) {
            while (piece < pieces.size() && at == pieces[piece].size())
                ++piece, at = 0;
            if (piece == pieces.size())
                return total;
            const char* peeked = pieces[piece].data() + at;
            const int length = std::min(room, static_cast<int>(pieces[piece].size() - at));
            if (total > 0 && buffer[total - 1] == '\r')
                return Take(buffer, total, 1), total + 1;
            int take = length;
            bool lineEnd = false;
            for (int i = 0; i + 1 < length && !lineEnd; ++i) {
                if (peeked[i] == '\r' && peeked[i + 1] == '\n')
                    take = i + 2, lineEnd = true;
            }
            Take(buffer, total, take);
            total += take;
            room -= take;
            if (lineEnd)
                return total;
        }
        return total;
    }

private:
    void Take(char* buffer, int total, int count) {
        std::memcpy(buffer + total, pieces[piece].data() + at, static_cast<std::size_t>(count));
        buffer[total + count] = '\0';
        at += static_cast<std::size_t>(count);
    }

    std::vector<std::string> pieces;
    std::size_t piece = 0, at = 0;
};
