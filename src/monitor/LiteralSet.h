#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Up to 64 literal texts, compiled so that one pass over a text tells which
// of them occur in it, byte for byte with case significant. An empty literal
// occurs in every text, a missing text is an empty one.
//
// The literals' trie has every missing edge resolved to where the longest
// suffix that is still a prefix of some literal leads, so each byte of the
// text costs one table step. Bytes that occur in no literal share one column
// of the table.
class CLiteralSet
{
public:
    static constexpr std::size_t kMaxLiterals = 64;

    // A set that finds nothing.
    CLiteralSet() = default;
    // Compiles the first kMaxLiterals of literals; each ends at its first NUL.
    explicit CLiteralSet(const std::vector<std::string>& literals);

    // Bit i is set when literal i occurs in the NUL-terminated text.
    std::uint64_t Find(const char* text) const;

private:
    // Marks a step into a state at which some literal ends.
    static constexpr std::uint32_t kEnds = 0x80000000u;

    unsigned char column[256] = {};
    std::uint32_t columns = 1;
    // Row offset (state x columns) + column -> the next state's row offset,
    // with kEnds added when a literal ends there.
    std::vector<std::uint32_t> steps;
    // For each state, the literals that end at it.
    std::vector<std::uint64_t> ends;
    std::uint64_t empty = 0; // the empty literals
};
