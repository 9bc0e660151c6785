#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "monitor/LiteralSet.h"

// An ordered list of pop-up patterns, compiled whenever it changes so that
// testing a URL against all of them allocates nothing.
//
// A pattern hits a NUL-terminated URL when
// 1. the pattern with every star removed occurs in the URL as a substring,
//    byte for byte, case significant (a pattern of stars only always passes);
// 2. WildcardMatch(url, pattern) is true.
// The patterns are tested in groups of 64, each group's substrings found in
// one pass over the URL.
class CBlockList
{
public:
    static constexpr std::size_t kGroupSize = CLiteralSet::kMaxLiterals;

    CBlockList() = default;
    // Replaces the patterns with these, in order.
    CBlockList& operator=(std::vector<std::string> patterns);
    // Appends the patterns, in order, at the end of the list.
    void Append(const std::vector<std::string>& more);
    // Removes every pattern.
    void Clear();
    std::size_t Count() const { return patterns.size(); }

    // Calls onHit with the position (from 0) of every pattern that url hits,
    // in list order. Nothing stops at a hit: a URL that hits two patterns is
    // reported twice. A missing URL is an empty one.
    template <class OnHit>
    void ForEachHit(const char* url, OnHit&& onHit) const
    {
        for (std::size_t group = 0; group < groups.size(); ++group) {
            const std::uint64_t hits = GroupHits(group, url);
            for (std::size_t i = 0; i < kGroupSize && (hits >> i) != 0; ++i) {
                if ((hits >> i) & 1)
                    onHit(group * kGroupSize + i);
            }
        }
    }

    // The patterns of one group (positions group x 64 on) that url hits: bit i
    // for the pattern at group x 64 + i.
    std::uint64_t GroupHits(std::size_t group, const char* url) const;

private:
    void Compile();

    std::vector<std::string> patterns;
    // One literal set per group: each pattern's text without its stars.
    std::vector<CLiteralSet> groups;
};

// The process-wide list of pop-up patterns: empty at process start, filled
// once while the main window initialises, read-only afterwards.
extern CBlockList BlockList;

// Appends the 37 built-in patterns, in order, at the end of list.
void AppendBlockListPatterns(std::vector<std::string>& list);
