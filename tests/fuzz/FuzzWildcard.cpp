// The matcher: no fault on any text and pattern, and the answer of the plain
// recursive reference wherever the reference is quick enough to ask.
#include <algorithm>

#include "FuzzInput.h"
#include "ReferenceWildcard.h"
#include "monitor/WildcardMatch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // The text, then the pattern; a pattern given with NULs in it ends at the first.
    std::vector<std::string> parts = SplitAtNul(data, size);
    const std::string& text = parts[0];
    std::string pattern = parts.size() > 1 ? parts[1] : std::string();
    for (std::size_t i = 2; i < parts.size(); ++i)
        pattern += std::string(1, '\0') + parts[i];
    const bool match = WildcardMatch(text.c_str(), pattern);
    // The reference's work grows like the text's length to the power of the stars.
    const std::string used = pattern.c_str();
    if (text.size() <= 24 && std::count(used.begin(), used.end(), '*') <= 4)
        FUZZ_CHECK(match == ReferenceWildcardMatch(text.c_str(), pattern));
    return 0;
}
