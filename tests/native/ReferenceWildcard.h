#pragma once
// The wildcard matcher in its plain recursive form, kept as the reference that
// the tests and benchmarks compare the production matcher with. It recurses
// once per interior star and tries each run length in turn, so its work grows
// like len(text) to the power of the number of stars: use it on short texts.
#include <string>

inline bool ReferenceWildcardMatch(const char* text, std::string pattern)
{
    const char* t = text;
    const char* p = pattern.c_str();

    // An empty text matches only an empty pattern.
    if (*t == 0)
        return *p == 0;

    auto upper = [](char c) -> char { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };

    while (*t != 0 && *p != 0) {
        if (upper(*p) == upper(*t) || *p == '?') {
            ++t;
            ++p;
            // The last text character is used up and a star follows: skip
            // that one star.
            if (*t == 0 && *p == '*')
                ++p;
            continue;
        }
        if (*p == '*') {
            if (p[1] == '*') {
                ++p; // consecutive stars count as one
                continue;
            }
            if (p[1] == 0)
                return true;
            for (const char* s = t; *s != 0; ++s) {
                if (ReferenceWildcardMatch(s, std::string(p + 1)))
                    return true;
            }
            return false;
        }
        return false;
    }
    return *t == 0 && *p == 0;
}
