#pragma once
#include <string>
#include <vector>

// The process-wide list of pop-up patterns, filled once at start-up.
extern std::vector<std::string> BlockList;

// Appends the 37 built-in patterns, in order, at the end of list.
void AppendBlockListPatterns(std::vector<std::string>& list);

// The two-stage test of one pattern against a URL.
bool PatternHits(const char* url, const std::string& pattern);
