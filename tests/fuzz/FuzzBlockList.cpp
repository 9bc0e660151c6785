// The block-list test of a URL: the hits of the built-in patterns, in order,
// are exactly the patterns whose star-free text occurs in the URL and that
// the plain reference matcher matches.
#include <cstring>

#include "FuzzInput.h"
#include "ReferenceWildcard.h"
#include "monitor/BlockList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const std::vector<std::string> patterns = [] {
        std::vector<std::string> list;
        AppendBlockListPatterns(list);
        return list;
    }();
    static const CBlockList compiled = [] {
        CBlockList list;
        list = patterns;
        return list;
    }();
    const std::string url = SplitAtNul(data, size)[0];
    std::vector<std::size_t> hits;
    compiled.ForEachHit(url.c_str(), [&hits](std::size_t i) { hits.push_back(i); });
    if (url.size() > 48)
        return 0;
    std::vector<std::size_t> expected;
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        std::string literal;
        for (char c : patterns[i])
            if (c != '*')
                literal += c;
        if (std::strstr(url.c_str(), literal.c_str()) && ReferenceWildcardMatch(url.c_str(), patterns[i]))
            expected.push_back(i);
    }
    FUZZ_CHECK(hits == expected);
    return 0;
}
