#include "monitor/WildcardMatch.h"

#include <algorithm>
#include <cstring>
#include <vector>

// The matcher is defined by a simple loop that, at every interior star, tries
// each remaining text position in turn with the rest of the pattern. Here the
// pattern is read as pieces (runs of characters without a star) between runs
// of stars, and a branch as a piece placed at a text position. From there the
// way on is fixed until the next star run that faces an ordinary character:
// a run facing stars of the text takes them one for one as ordinary
// characters and places the next piece right after them. Only a run whose
// last star faces an ordinary character branches: it scans, placing the next
// piece at every text position from there on.
//
// A scan of a later piece makes any scan of an earlier piece idle from where
// it starts: whatever the earlier one reaches after that passes through the
// later piece at a position that is already covered. So one piece is scanned
// at a time, from one occurrence to the next, up to where the scan of a later
// piece begins; the scans waiting to begin are few (at most one per piece)
// and kept in order.
//
// Each text position is a candidate of at most one scan, a candidate costs
// at most one pass over the pattern, and finding the candidates at most one
// pass over the piece per text position, so the work is
// O(len(text) x len(pattern)) and nothing recurses. On patterns of a few
// pieces, such as the block list's, it is close to one pass over the text.

namespace {

// Only the letters a to z change; bytes 128 to 255 are left alone whatever
// the locale says.
inline unsigned char UpperAscii(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

inline bool CharMatches(unsigned char patternChar, unsigned char textChar)
{
    return patternChar == '?' || UpperAscii(patternChar) == UpperAscii(textChar);
}

// A piece placed at a text position leads to a match, to nothing, or to a
// scan of a later piece (at pattern position piece) from text position from.
struct Lead {
    enum Kind { kFail, kMatch, kScan } kind;
    std::size_t piece;
    std::size_t from;
};

// Finds where one piece (no star; '?' stands for any byte, letters match
// without regard to case) occurs whole. Over a long stretch it skips by the
// distance from the text byte under the piece's last place to that byte's
// last place in the rest of the piece.
class PieceSearch
{
public:
    PieceSearch(const unsigned char* text, std::size_t n) : text(text), n(n) {}
    // Searches for the piece at pattern position piece from now on.
    void Start(const unsigned char* pattern, std::size_t piece);
    // The first position in [from, limit) where the piece occurs whole, or
    // limit when there is none.
    std::size_t Find(std::size_t from, std::size_t limit);

private:
    // Below this many candidate positions the table is not worth its making.
    static constexpr std::size_t kShortStretch = 64;

    bool OccursAt(std::size_t at) const
    {
        std::size_t i = length;
        while (i > 0 && CharMatches(piece[i - 1], text[at + i - 1]))
            --i;
        return i == 0;
    }
    void MakeSkips();

    const unsigned char* text;
    std::size_t n;
    const unsigned char* piece = nullptr;
    std::size_t length = 0;
    bool skipsMade = false;
    unsigned char skip[256]; // indexed by the upper-cased text byte
};

void PieceSearch::Start(const unsigned char* pattern, std::size_t at)
{
    piece = pattern + at;
    length = std::strcspn(reinterpret_cast<const char*>(piece), "*");
    skipsMade = false;
}

void PieceSearch::MakeSkips()
{
    // A '?' lets any byte stand in its place, so no skip may pass it; a long
    // piece skips at most 255 at a time.
    std::size_t longest = std::min<std::size_t>(length, 255);
    for (std::size_t i = 0; i + 1 < length; ++i) {
        if (piece[i] == '?')
            longest = std::min(longest, length - 1 - i);
    }
    std::memset(skip, static_cast<int>(longest), sizeof(skip));
    for (std::size_t i = 0; i + 1 < length; ++i) {
        const unsigned char c = UpperAscii(piece[i]);
        if (piece[i] != '?' && length - 1 - i < skip[c])
            skip[c] = static_cast<unsigned char>(length - 1 - i);
    }
    skipsMade = true;
}

std::size_t PieceSearch::Find(std::size_t from, std::size_t limit)
{
    if (length > n)
        return limit;
    const std::size_t last = std::min(limit, n - length + 1); // candidates lie below
    if (from >= last)
        return limit;
    if (last - from < kShortStretch) {
        for (std::size_t at = from; at < last; ++at) {
            if (OccursAt(at))
                return at;
        }
        return limit;
    }
    if (!skipsMade)
        MakeSkips();
    const unsigned char tail = piece[length - 1];
    for (std::size_t at = from; at < last;) {
        const unsigned char c = UpperAscii(text[at + length - 1]);
        if ((c == UpperAscii(tail) || tail == '?') && OccursAt(at))
            return at;
        at += skip[c];
    }
    return limit;
}

// Where the piece at pattern position p, placed at text position s, leads.
Lead Follow(const unsigned char* pat, const unsigned char* txt, std::size_t n, std::size_t p, std::size_t s)
{
    for (;;) {
        std::size_t length = 0;
        for (; pat[p + length] != '*' && pat[p + length] != 0; ++length) {
            if (s + length == n || !CharMatches(pat[p + length], txt[s + length]))
                return {Lead::kFail, 0, 0};
        }
        const std::size_t end = s + length; // the text position after the piece
        const std::size_t stars = p + length;
        if (pat[stars] == 0)
            return {end == n ? Lead::kMatch : Lead::kFail, 0, 0};

        std::size_t run = 0;
        while (pat[stars + run] == '*')
            ++run;
        const std::size_t next = stars + run;
        const bool last = pat[next] == 0;

        // A star facing a star of the text is taken with it as one ordinary
        // character.
        std::size_t taken = 0;
        while (taken < run && end + taken < n && txt[end + taken] == '*')
            ++taken;
        if (taken == run) {
            if (last)
                return {end + run == n ? Lead::kMatch : Lead::kFail, 0, 0};
            p = next;
            s = end + run;
            continue;
        }
        // The text ran out on an ordinary match: one star after it is skipped.
        if (end + taken == n)
            return {taken + 1 == run && last ? Lead::kMatch : Lead::kFail, 0, 0};
        // The run's last star faces an ordinary character: a last star takes
        // the rest (at least that character), any other one scans.
        if (last)
            return {Lead::kMatch, 0, 0};
        return {Lead::kScan, next, end + taken};
    }
}

// The scans waiting to begin, in order of both piece and text position: a
// scan that begins no earlier than one of a later (or the same) piece is idle
// and never kept.
class PendingScans
{
public:
    explicit PendingScans(std::size_t patternLength)
    {
        // At most one scan per piece, and each such piece follows a star.
        const std::size_t most = patternLength / 2;
        if (most > kSmall) {
            large.resize(most);
            scans = large.data();
        }
    }
    bool Empty() const { return count == 0; }
    const Lead& Front() const { return scans[0]; }
    void PopFront()
    {
        std::copy(scans + 1, scans + count, scans);
        --count;
    }
    void Add(const Lead& scan);

private:
    // Enough for a pattern of 128 characters, on the stack.
    static constexpr std::size_t kSmall = 64;

    Lead small[kSmall];
    std::vector<Lead> large;
    Lead* scans = small;
    std::size_t count = 0;
};

void PendingScans::Add(const Lead& scan)
{
    std::size_t later = 0; // the first scan of a later piece
    while (later < count && scans[later].piece <= scan.piece)
        ++later;
    if (later < count && scans[later].from <= scan.from)
        return;
    if (later > 0 && scans[later - 1].piece == scan.piece && scans[later - 1].from <= scan.from)
        return;
    // The scans of earlier pieces that begin no earlier are made idle.
    std::size_t idle = later;
    while (idle > 0 && scans[idle - 1].from >= scan.from)
        --idle;
    if (idle == later)
        std::copy_backward(scans + later, scans + count, scans + count + 1);
    else if (idle + 1 < later)
        std::copy(scans + later, scans + count, scans + idle + 1);
    count = idle + 1 + (count - later);
    scans[idle] = scan;
}

} // namespace

bool WildcardMatch(const char* text, std::string pattern)
{
    return WildcardMatch(text, pattern.c_str());
}

bool WildcardMatch(const char* text, const char* pattern)
{
    if (text == nullptr)
        text = "";
    const unsigned char* pat = reinterpret_cast<const unsigned char*>(pattern);
    const unsigned char* txt = reinterpret_cast<const unsigned char*>(text);

    // An empty text matches only an empty pattern (not even a lone star).
    if (*txt == 0)
        return *pat == 0;
    const std::size_t n = std::strlen(text);

    // The part before the first star is placed at the start.
    Lead scan = Follow(pat, txt, n, 0, 0);
    if (scan.kind != Lead::kScan)
        return scan.kind == Lead::kMatch;

    PieceSearch search(txt, n);
    PendingScans pending(std::strlen(pattern));
    for (;;) {
        search.Start(pat, scan.piece);
        std::size_t limit = pending.Empty() ? n : pending.Front().from;
        for (std::size_t at = search.Find(scan.from, limit); at < limit; at = search.Find(at + 1, limit)) {
            const Lead lead = Follow(pat, txt, n, scan.piece, at);
            if (lead.kind == Lead::kMatch)
                return true;
            if (lead.kind == Lead::kScan) {
                pending.Add(lead);
                limit = pending.Front().from;
            }
        }
        if (pending.Empty())
            return false;
        scan = pending.Front();
        pending.PopFront();
    }
}
