#pragma once
#include <string>

// Matches a URL against a wildcard pattern ('*' any run, '?' one character,
// ASCII letters without regard to case).
bool WildcardMatch(const char* text, std::string pattern);
