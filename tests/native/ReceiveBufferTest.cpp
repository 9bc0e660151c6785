// The buffered line reader against the plain one: the same lines, byte for
// byte, from pages with every shape of line end, however the pages are
// split into the pieces in which they arrive.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ReferenceLineReader.h"
#include "http/ReceiveBuffer.h"

namespace {

using Pieces = std::vector<std::string>;

// Reads lines until the stream ends, with the client's line size and small
// sizes between (a size of 1 reads nothing): each line as "count:bytes|".
std::string Lines(const std::function<int(char*, int)>& receiveLine) {
    static const int sizes[] = {512, 512, 3, 512, 1, 64};
    std::string lines;
    char line[512];
    for (int n = 0;; ++n) {
        const int size = sizes[n % 6], got = receiveLine(line, size);
        if (got == 0 && size > 1)
            return lines;
        lines += std::to_string(got) + ":" + std::string(line, static_cast<std::size_t>(got)) + "|";
    }
}

// CSocketClient::ReceiveLine's loop, with the pieces for the socket.
std::string BufferedLines(const Pieces& pieces) {
    CReceiveBuffer buffer;
    std::size_t piece = 0, at = 0;
    return Lines([&](char* line, int size) {
        line[0] = '\0';
        int total = 0;
        while (!buffer.ContinueLine(line, size, total)) {
            for (; piece < pieces.size() && at == pieces[piece].size(); at = 0)
                ++piece;
            if (piece == pieces.size())
                break;
            int room = 0;
            char* space = buffer.Space(room);
            const int count = std::min(room, static_cast<int>(pieces[piece].size() - at));
            std::memcpy(space, pieces[piece].data() + at, static_cast<std::size_t>(count));
            at += static_cast<std::size_t>(count);
            buffer.Received(count);
        }
        return total;
    });
}

void ExpectSameLines(const Pieces& pieces, const std::string& what) {
    ReferenceLineReader reference(pieces);
    const std::string expected = Lines([&](char* line, int size) { return reference.ReceiveLine(line, size); });
    const std::string got = BufferedLines(pieces);
    if (got != expected) {
        const auto at = std::mismatch(expected.begin(), expected.end(), got.begin(), got.end()).first - expected.begin();
        FAIL() << what << ", from byte " << at << ": " << expected.substr(at, 40) << " / " << got.substr(at, 40);
    }
}

// Lines of 0 to 40 bytes, of 505 to 514 (a CR or LF at the 511-byte cut)
// and of up to 1,700, with text holding CR, LF and NUL bytes of its own,
// ending in CR LF, LF, CR, CR CR LF, LF CR or nothing.
std::string Page(std::mt19937& random, std::size_t bytes) {
    static const char* const ends[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r", ""};
    std::string page;
    while (page.size() < bytes) {
        const unsigned shape = random() % 4;
        const std::size_t length = shape == 0 ? 505 + random() % 10 : shape == 1 ? 512 + random() % 1200 : random() % 40;
        for (std::size_t i = 0; i < length; ++i) {
            const unsigned c = random() % 64;
            page += c < 4 ? '\r' : c == 4 ? '\n' : c == 5 ? '\0' : static_cast<char>('a' + c % 26);
        }
        page += ends[random() % 6];
    }
    return page;
}

} // namespace

TEST(ReceiveBuffer, CutsTheLinesOfThePlainReaderHoweverThePageArrives) {
    std::mt19937 random(12);
    for (int n = 0; n < 3; ++n) {
        const std::string page = Page(random, 1500);
        // In two pieces at every point, a byte at a time, and in random pieces.
        for (std::size_t cut = 1; cut < page.size(); ++cut)
            ExpectSameLines({page.substr(0, cut), page.substr(cut)}, "cut at " + std::to_string(cut));
        Pieces bytes, random_pieces;
        for (char c : page)
            bytes.push_back(std::string(1, c));
        ExpectSameLines(bytes, "bytes");
        for (std::size_t at = 0; at < page.size();) {
            const std::size_t length = 1 + random() % 200;
            random_pieces.push_back(page.substr(at, length));
            at += length;
        }
        ExpectSameLines(random_pieces, "random pieces");
    }
    // Pages larger than the buffer as it grows, in one piece and in two:
    // shifted byte by byte, their CRs come to lie where a full buffer ends.
    const std::string big = Page(random, 600 * 1024);
    for (std::size_t shift = 0; shift < 24; ++shift) {
        const std::string page = std::string(shift, 'x') + big;
        ExpectSameLines({page}, "shift " + std::to_string(shift));
        ExpectSameLines({page.substr(0, 70000), page.substr(70000)}, "shift and cut " + std::to_string(shift));
    }
}
