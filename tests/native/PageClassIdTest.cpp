// The class identifier a page names, and its lookup among the definition
// pieces. (The squash date text is checked by the monitor test and the
// end-to-end run, in the log it saves.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/PageClassId.h"

using Positions = std::vector<std::size_t>;

// Every "clsid:" (case significant, left to right, non-overlapping) becomes
// "{", and "}" is appended.
TEST(ClassIdCandidate, BracesTheIdentifier) {
    const std::pair<std::string, std::string> cases[] = {
        {"clsid:1111-AB", "{1111-AB}"}, {"CLSID:1234", "CLSID:1234}"}, {"clsid:a clsid:b", "{a {b}"},
        {"clsid:clsid:", "{{}"}, {"clsclsid::", "cls{:}"}, {"", "}"}, {{"clsid:a\0b", 9}, {"{a\0b}", 5}},
    };
    for (const auto& [value, candidate] : cases)
        EXPECT_EQ(ClassIdCandidate(value), candidate) << value;
}

// Only even positions below the last piece hold identifiers.
TEST(DefinitionMatch, ReportsEveryEqualIdentifierInOrder) {
    const std::vector<std::string> tokens = {"{A}", "{A}", "{B}", "two", "{A}", "three", "{A}"};
    const std::pair<const char*, Positions> cases[] = {{"{A}", {0, 4}}, {"{B}", {2}}, {"two", {}}, {"{a}", {}}};
    for (const auto& [candidate, expected] : cases) {
        Positions positions;
        EXPECT_EQ(ForEachDefinitionMatch(candidate, tokens, [&](std::size_t p) { positions.push_back(p); }),
                  expected.size());
        EXPECT_EQ(positions, expected) << candidate;
    }
    EXPECT_EQ(ForEachDefinitionMatch("{A}", {"{A}"}), 0u);
    EXPECT_EQ(ForEachDefinitionMatch("{A}", {"{A}", "name"}), 1u);
}
