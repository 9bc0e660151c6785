#include "monitor/WildcardMatch.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

// The matcher is defined by a simple loop that, at every interior star, tries
// each remaining text position in turn with the rest of the pattern. Its
// result is the OR over all the branches of that search, and every branch is
// fully described by a pair of cursors (text position, pattern position). So
// instead of searching branch by branch, the text is walked once, left to
// right, carrying the set of pattern positions that some branch has reached.
// Two kinds of state are kept for each pattern position p:
//
//   Try   the loop is to run with its cursors at (t, p);
//   Scan  a star just before p is looking for the end of its run: the loop is
//         to run at (t, p) and also at every later text position (t+1, p) ...
//
// One text character costs at most one pass over the pattern, so the work is
// O(len(text) x len(pattern)) and nothing recurses.

namespace {

constexpr unsigned char kTry = 1;
constexpr unsigned char kScan = 2;

// Only the letters a to z change; bytes 128 to 255 are left alone whatever
// the locale says.
inline unsigned char UpperAscii(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// Rows for patterns up to this many characters live on the stack.
constexpr std::size_t kSmallRow = 128;

} // namespace

bool WildcardMatch(const char* text, std::string pattern)
{
    if (text == nullptr)
        text = "";
    const unsigned char* pat = reinterpret_cast<const unsigned char*>(pattern.c_str());

    // An empty text matches only an empty pattern (not even a lone star).
    if (*text == 0)
        return *pat == 0;

    const std::size_t m = std::strlen(pattern.c_str());
    const std::size_t rowSize = m + 1; // pattern positions 0 .. m (m is the NUL)

    unsigned char small[2 * kSmallRow];
    std::vector<unsigned char> large;
    unsigned char* cur = small;
    if (rowSize > kSmallRow) {
        large.resize(2 * rowSize);
        cur = large.data();
    }
    unsigned char* next = cur + rowSize;

    std::fill(cur, cur + 2 * rowSize, static_cast<unsigned char>(0));
    cur[0] = kTry;
    // The states of the current row lie below hi; the next row starts all
    // clear, and each row is cleared again before it is reused.
    std::size_t hi = 1;

    for (const unsigned char* t = reinterpret_cast<const unsigned char*>(text); *t != 0; ++t) {
        const unsigned char tc = UpperAscii(*t);
        const bool lastChar = t[1] == 0;
        std::size_t nextHi = 0;

        // Ascending order: a star at p only ever adds states at p + 1 of the
        // same row, which are visited afterwards.
        for (std::size_t p = 0; p < hi && p < m; ++p) {
            unsigned char state = cur[p];
            if (state & kScan) {
                next[p] |= kScan; // the run may also end later
                nextHi = std::max(nextHi, p + 1);
                state |= kTry;    // ... or here
            }
            if (!(state & kTry))
                continue;

            const unsigned char pc = pat[p];
            if (UpperAscii(pc) == tc || pc == '?') {
                // Ordinary match (a star facing a star lands here too).
                std::size_t q = p + 1;
                // When the text ends here, one star right after is skipped.
                if (lastChar && pat[q] == '*')
                    ++q;
                next[q] |= kTry;
                nextHi = std::max(nextHi, q + 1);
            } else if (pc == '*') {
                if (pat[p + 1] == 0)
                    return true; // a last star takes the rest
                // Consecutive stars count as one; a single star tries every
                // remaining position.
                cur[p + 1] |= (pat[p + 1] == '*') ? kTry : kScan;
                hi = std::max(hi, p + 2);
            }
            // Any other character that differs ends this branch, and so does
            // position m (pattern used up while text remains).
        }

        if (nextHi == 0)
            return false; // no branch is left
        std::fill(cur, cur + hi, static_cast<unsigned char>(0));
        std::swap(cur, next);
        hi = nextHi;
    }

    // The text is used up: only a branch that used up the pattern too matches.
    return (cur[m] & kTry) != 0;
}
