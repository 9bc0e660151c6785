// The "deda.twk" that the build generates, read the way the program reads it.
#include "scan/SpywareDefinitions.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#ifndef TARNWICK_DEDA_PATH
#error "TARNWICK_DEDA_PATH must name the generated deda.twk"
#endif
#ifndef TARNWICK_DEFINITIONS_SOURCE
#error "TARNWICK_DEFINITIONS_SOURCE must name res/definitions.txt"
#endif

namespace {

using Definition = std::pair<std::string, std::string>;  // display name, class identifier

bool IsRegistryClassId(const std::string& text)
{
    const std::string shape = "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}";
    if (text.size() != shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (shape[i] == 'x' ? !(std::isdigit(c) || (c >= 'A' && c <= 'F')) : text[i] != shape[i])
            return false;
    }
    return true;
}

// Anything that looks like a class identifier at all, whatever its case.
bool LooksLikeClassId(const std::string& text)
{
    return !text.empty() && text.front() == '{' && text.back() == '}';
}

// The readable source: name, blanks, identifier; "#" comments and blank lines.
std::vector<Definition> ReadSource()
{
    std::vector<Definition> definitions;
    std::ifstream in(TARNWICK_DEFINITIONS_SOURCE);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t brace = line.rfind(' ');
        std::string name = line.substr(0, brace);
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        definitions.emplace_back(name, line.substr(brace + 1));
    }
    return definitions;
}

class GeneratedDefinitions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bytes = ReadFileBytes(TARNWICK_DEDA_PATH);
        ASSERT_NE(bytes, "<missing>") << TARNWICK_DEDA_PATH;
        ASSERT_TRUE(ReadDefinitionRecords(bytes, records));
        SplitDefinitionRecords(records, tokens);
    }

    std::string bytes;
    std::vector<std::string> records;
    std::vector<std::string> tokens;
};

TEST_F(GeneratedDefinitions, SourceHoldsTwentyFiveDistinctDefinitions)
{
    const std::vector<Definition> source = ReadSource();
    ASSERT_EQ(source.size(), 25u);
    std::set<std::string> identifiers;
    for (const Definition& definition : source) {
        EXPECT_FALSE(definition.first.empty());
        EXPECT_TRUE(IsRegistryClassId(definition.second)) << definition.second;
        identifiers.insert(definition.second);
    }
    EXPECT_EQ(identifiers.size(), 25u);
}

TEST_F(GeneratedDefinitions, RecordsAreShortAndTheImageHasNoSlack)
{
    ASSERT_GE(records.size(), 3u);
    for (const std::string& record : records)
        EXPECT_LE(record.size(), 255u) << record;
    // Rewriting the records gives the file back byte for byte: no trailing
    // bytes, shortest length prefixes.
    EXPECT_EQ(WriteDefinitionRecords(records), bytes);
}

TEST_F(GeneratedDefinitions, EveryIdentifierStandsAtAnEvenPositionAfterItsName)
{
    const std::vector<Definition> source = ReadSource();
    ASSERT_EQ(source.size(), 25u);

    std::vector<Definition> found;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (!LooksLikeClassId(tokens[i]))
            continue;
        EXPECT_EQ(i % 2, 0u) << tokens[i] << " at " << i;
        ASSERT_GT(i, 0u) << "the first piece must not be an identifier";
        EXPECT_FALSE(LooksLikeClassId(tokens[i - 1])) << "no name before " << tokens[i];
        found.emplace_back(tokens[i - 1], tokens[i]);
    }
    // Same definitions, same order, same spelling and case as the source.
    EXPECT_EQ(found, source);
}

TEST_F(GeneratedDefinitions, FirstAndLastPiecesAreNotIdentifiers)
{
    ASSERT_GE(tokens.size(), 2u);
    EXPECT_FALSE(LooksLikeClassId(tokens.front())) << tokens.front();
    // Neither user of the pieces looks at the last one.
    EXPECT_FALSE(LooksLikeClassId(tokens.back())) << tokens.back();
    // 25 names and identifiers, the heading and the trailer piece.
    EXPECT_EQ(tokens.size(), 2u * 25 + 2);
}

TEST_F(GeneratedDefinitions, LastRecordHoldsNoDefinition)
{
    // The program never splits the last record, so a definition there would
    // be lost.
    EXPECT_EQ(records.back().find('{'), std::string::npos) << records.back();
}

} // namespace
