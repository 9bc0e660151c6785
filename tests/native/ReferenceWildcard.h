#pragma once
// The wildcard matcher in its plain recursive form, kept as the reference that
// the tests and benchmarks compare the production matcher with. It recurses
// once per interior star and tries each run length in turn, so its work grows
// like len(text) to the power of the number of stars: use it on short texts.
#include <string>

inline bool ReferenceWildcardMatch(const char* t, std::string pattern) {
    const char* p = pattern.c_str();
    auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; };

    // An empty text matches only an empty pattern.
    if (*t == 0)
        return *p == 0;
    while (*t != 0 && *p != 0) {
        if (upper(*p) == upper(*t) || *p == '?') {
            ++t;
            // The last text character is used up and a star follows: skip
            // that one star.
            p += (*t == 0 && p[1] == '*') ? 2 : 1;
        } else if (*p == '*' && p[1] == '*') {
            ++p; // consecutive stars count as one
        } else if (*p == '*') {
            for (const char* s = t; *s != 0 && p[1] != 0; ++s)
                if (ReferenceWildcardMatch(s, p + 1))
                    return true;
            return p[1] == 0;
        } else {
            return false;
        }
    }
    return *t == 0 && *p == 0;
}
