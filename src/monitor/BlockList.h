#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The process-wide list of pop-up patterns: empty at process start, filled
// once while the main window initialises, read-only afterwards.
extern std::vector<std::string> BlockList;

// Appends the 37 built-in patterns, in order, at the end of list.
void AppendBlockListPatterns(std::vector<std::string>& list);

// The two-stage test of one pattern against a NUL-terminated URL:
// 1. the pattern with every star removed must occur in the URL as a substring,
//    byte for byte, case significant (a pattern of stars only always passes);
// 2. WildcardMatch(url, pattern) must be true.
bool PatternHits(const char* url, const std::string& pattern);

// The positions (0-based, ascending) of every pattern of list that url hits.
// Nothing stops at the first hit: a URL that hits two patterns is reported
// twice.
std::vector<std::size_t> FindBlockListHits(const char* url, const std::vector<std::string>& list);
