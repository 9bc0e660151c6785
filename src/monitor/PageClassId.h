#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The class identifier that a page's classid value names: every "clsid:"
// (case significant, left to right, non-overlapping) becomes "{", and "}" is
// appended. "clsid:1234-AB" gives "{1234-AB}"; "CLSID:1234" stays as it is
// apart from the closing brace.
std::string ClassIdCandidate(const std::string& value);

// Compares candidate with the definition pieces at even positions 0, 2, 4 ...
// below tokens.size() - 1 (the class identifiers), byte for byte with case
// significant, in increasing position order, and calls onMatch with the
// position of every equal piece. Nothing stops at a match. Returns the
// number of matches.
std::size_t ForEachDefinitionMatch(const std::string& candidate, const std::vector<std::string>& tokens,
                                   const std::function<void(std::size_t)>& onMatch = {});
