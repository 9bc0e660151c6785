#include "monitor/LiteralSet.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::uint32_t kNone = 0xFFFFFFFFu;
} // namespace

CLiteralSet::CLiteralSet(const std::vector<std::string>& literals)
{
    const std::size_t count = std::min(literals.size(), kMaxLiterals);
    for (std::size_t i = 0; i < count; ++i) {
        for (const char* p = literals[i].c_str(); *p != 0; ++p) {
            const unsigned char byte = static_cast<unsigned char>(*p);
            if (column[byte] == 0)
                column[byte] = static_cast<unsigned char>(columns++);
        }
    }

    // The trie, in states numbered in the order they are made; the root is 0.
    std::vector<std::uint32_t> child(columns, kNone);
    ends.assign(1, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t bit = std::uint64_t{1} << i;
        std::uint32_t state = 0;
        for (const char* p = literals[i].c_str(); *p != 0; ++p) {
            std::uint32_t& edge = child[state * columns + column[static_cast<unsigned char>(*p)]];
            if (edge == kNone) {
                edge = static_cast<std::uint32_t>(ends.size());
                ends.push_back(0);
                child.resize(child.size() + columns, kNone);
            }
            state = child[state * columns + column[static_cast<unsigned char>(*p)]];
        }
        if (state == 0)
            empty |= bit;
        else
            ends[state] |= bit;
    }
    if (ends.size() == 1)
        return; // nothing to look for: Find gives the empty literals alone

    // Breadth first, so that a state's fallback (the state of its longest
    // proper suffix) is complete before the state itself.
    std::vector<std::uint32_t> fallback(ends.size(), 0);
    std::vector<std::uint32_t> queue;
    queue.reserve(ends.size());
    for (std::uint32_t c = 0; c < columns; ++c) {
        if (child[c] == kNone)
            child[c] = 0;
        else
            queue.push_back(child[c]);
    }
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const std::uint32_t state = queue[head];
        ends[state] |= ends[fallback[state]];
        for (std::uint32_t c = 0; c < columns; ++c) {
            std::uint32_t& edge = child[state * columns + c];
            const std::uint32_t viaFallback = child[fallback[state] * columns + c];
            if (edge == kNone) {
                edge = viaFallback;
            } else {
                fallback[edge] = viaFallback;
                queue.push_back(edge);
            }
        }
    }

    steps.resize(child.size());
    for (std::size_t i = 0; i < child.size(); ++i)
        steps[i] = child[i] * columns | (ends[child[i]] != 0 ? kEnds : 0);
}

std::uint64_t CLiteralSet::Find(const char* text) const
{
    std::uint64_t found = empty;
    if (steps.empty() || text == nullptr)
        return found;
    std::uint32_t row = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        const std::uint32_t step = steps[row + column[*p]];
        row = step & ~kEnds;
        if (step & kEnds)
            found |= ends[row / columns];
    }
    return found;
}
