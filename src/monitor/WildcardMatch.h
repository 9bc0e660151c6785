#pragma once
#include <string>

// Matches a NUL-terminated text (a URL) against a wildcard pattern.
//
// '*' stands for any run of characters, '?' for exactly one character, every
// other character for itself; ASCII letters match without regard to case,
// every other byte (128 to 255 included) must be equal. The pattern ends at
// its first NUL. A pattern character is first compared with the text character
// as an ordinary character, so a star facing a star in the text is consumed
// with it as one ordinary character. An empty text matches only an empty
// pattern. A trailing star must match at least one character, unless the text
// ran out on the ordinary or '?' match just before that single star.
//
// The work is bounded by the product of the two lengths and the memory by the
// pattern's length, whatever the input; a pattern of a few literal pieces
// between stars costs about one pass over the text. Nothing is allocated for
// a pattern of up to 128 characters.
bool WildcardMatch(const char* text, std::string pattern);
// The same, on a pattern the caller keeps: nothing is copied.
bool WildcardMatch(const char* text, const char* pattern);
