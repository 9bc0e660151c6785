// The definitions file "deda.twk": its reader, splitter and writer, and the
// file the build generates.
#include "scan/SpywareDefinitions.h"

#include "TestAllocator.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

using Strings = std::vector<std::string>;

// Pieces of a serialised string array: a little-endian byte, 16-bit word and
// 32-bit word, the shortest length prefix (0xFFFE is never a 16-bit length:
// it marks a string of 16-bit characters), and elements.
static std::string B(std::uint32_t value) { return std::string(1, static_cast<char>(value & 0xFF)); }
static std::string W(std::uint32_t value) { return B(value) + B(value >> 8); }
static std::string D(std::uint32_t value) { return W(value) + W(value >> 16); }
static std::string Length(std::size_t n) {
    return n < 0xFF ? B(n) : n < 0xFFFE ? B(0xFF) + W(n) : B(0xFF) + W(0xFFFF) + D(n);
}
static std::string Text(const std::string& text) { return Length(text.size()) + text; }
static std::string Wide(const std::u16string& text) {
    std::string element = B(0xFF) + W(0xFFFE) + Length(text.size());
    for (char16_t unit : text)
        element += W(unit);
    return element;
}

// The records read from bytes (into a list that held something before), and
// whether the image was whole.
static Strings Read(const std::string& bytes, bool ok = true) {
    Strings records{"replaced"};
    EXPECT_EQ(ReadDefinitionRecords(bytes, records), ok);
    return records;
}

static Strings Split(const Strings& records, Strings tokens = {}) {
    SplitDefinitionRecords(records, tokens);
    return tokens;
}

TEST(DefinitionRecords, ReadsEveryPrefixForm) {
    const std::pair<std::string, Strings> cases[] = {
        {W(0) + "\xFF\xFF", {}}, // bytes after the last element are never read
        // Longer prefixes than needed.
        {W(3) + B(0xFF) + W(5) + "hello" + B(0xFF) + W(0xFFFF) + D(5) + "world" + B(0xFF) + W(0), {"hello", "world", ""}},
        // 16-bit characters: below 0x100 the byte itself, above '?', a
        // surrogate pair (high, then low) one '?'.
        {W(8) + Wide(u"caf\u00E9 \u00FF\u20AC1 \u4E2D x\U0001F600y") + Wide({0xDBFF, 0xDFFF}) + Wide({'a', 0xD800}) +
             Wide({0xDC00, 'b'}) + Wide({0xDC00, 0xDC00}) + Wide({0xD7FF, 0xDC00}) + Wide({0xD800, 0xE000}) + Wide({}),
         {"caf\xE9 \xFF?1 ? x?y", "?", "a?", "?b", "??", "??", "??", ""}},
    };
    for (const auto& [image, records] : cases)
        EXPECT_EQ(Read(image), records) << image.substr(0, 40);
}

// A length past the end (counts of 16-bit characters are doubled without
// overflow), or an allocation that fails, ends the reading with the elements
// read so far.
TEST(DefinitionRecordsDamage, LengthsPastTheEndAndFailedAllocationsKeepEarlierElements) {
    const std::string wide = B(0xFF) + W(0xFFFE);
    const std::pair<std::string, std::size_t> cases[] = {
        {B(0xFF) + W(0xFFFF) + D(0xFFFFFFFF) + "short", SIZE_MAX}, {wide + B(3) + W('a') + W('b'), SIZE_MAX},
        {wide + B(0xFF) + W(0xFFFF) + D(0x80000000) + W('a'), SIZE_MAX},
        {wide + B(0xFF) + W(0xFFFF) + D(0xFFFFFFFF), SIZE_MAX}, {Text(std::string(300, 'x')), 200}};
    for (const auto& [tail, limit] : cases) {
        const std::string image = W(3) + Text("first") + Text("second") + tail;
        allocationLimit = limit;
        const Strings records = Read(image, false);
        allocationLimit = SIZE_MAX;
        EXPECT_EQ(records, (Strings{"first", "second"}));
    }
}

// An image with every kind of prefix, cut short at every offset, and with
// each of its bytes set to 0xFF in turn.
TEST(DefinitionRecordsDamage, DamagedAtEveryOffset) {
    const Strings full = {"Header;x", std::string(254, 'p'), std::string(300, 'q'), "wide\xE9?", "long", "", "", "N;{C}"};
    const Strings elements = {Text(full[0]), Text(full[1]), Text(full[2]), Wide(u"wide\u00E9\u20AC"),
                              B(0xFF) + W(0xFFFF) + D(4) + "long", Text(""), Wide(u""), Text(full[7])};
    std::string image = W(0xFFFF) + D(8);
    std::vector<std::size_t> ends;
    for (const std::string& element : elements)
        ends.push_back((image += element).size());
    ASSERT_EQ(Read(image), full);

    for (std::size_t offset = 0, whole = 0; offset < image.size(); ++offset) {
        while (ends[whole] <= offset)
            ++whole;
        // Elements read whole before the damage come out unchanged.
        const Strings before(full.begin(), full.begin() + whole);
        EXPECT_EQ(Read(image.substr(0, offset), false), before) << offset;
        if (image[offset] == '\xFF')
            continue;
        std::string damaged = image;
        damaged[offset] = '\xFF';
        Strings records;
        const bool ok = ReadDefinitionRecords(damaged, records);
        EXPECT_EQ(Strings(records.begin(), records.begin() + std::min(whole, records.size())), before) << offset;
        // No more bytes are reserved than the file holds, and a damaged
        // count (the first six bytes) or prefix reads past the end or as many
        // elements.
        EXPECT_LE(records.capacity() * sizeof(std::string), damaged.size()) << offset;
        EXPECT_FALSE(ok && (offset < 6 || records.size() != full.size())) << offset;
    }
}

TEST(DefinitionTokens, PiecesOfEveryRecordButTheLast) {
    EXPECT_EQ(Split({"Name;{A}"}), Strings{});
    EXPECT_EQ(Split({"a;;b;", ";c;;;d", "", ";;;", "e", "ignored;f"}), (Strings{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(Split({"no separator", "x"}, {"kept"}), (Strings{"kept", "no separator"}));
}

// The reader's tests read every prefix form; here the writer picks the
// shortest one.
TEST(DefinitionWriter, ShortestPrefixesAtEveryBoundary) {
    for (std::size_t length : {0u, 254u, 255u, 0xFFFDu, 0xFFFEu, 0xFFFFu, 70000u}) {
        const std::string record(length, '\xFF');
        EXPECT_EQ(WriteDefinitionRecords({record, ";"}), W(2) + Text(record) + Text(";")) << length;
    }
    // Empty records, one zero byte each; a 32-bit count reads back.
    for (std::size_t count : {0xFFFEu, 0xFFFFu, 70000u}) {
        const std::string image = (count < 0xFFFF ? W(count) : W(0xFFFF) + D(count)) + std::string(count, '\0');
        EXPECT_TRUE(WriteDefinitionRecords(Strings(count)) == image) << count;
        EXPECT_EQ(Read(image), Strings(count)) << count;
    }
}

// The generated file, read the way the program reads it, against its
// readable source (name, blanks, identifier; "#" comments, blank lines):
// the pieces run heading, name, identifier, ..., name, identifier, trailer.
TEST(GeneratedDefinitions, HoldTheSourceDefinitionsAtEvenPositions) {
    const std::string bytes = ReadFileBytes(TARNWICK_DEDA_PATH);
    const Strings records = Read(bytes);
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(WriteDefinitionRecords(records), bytes) << "no slack, shortest prefixes";
    EXPECT_EQ(records.back().find('{'), std::string::npos) << "the last record is never split";
    Strings expected{records.front()};
    std::istringstream source(ReadFileBytes(TARNWICK_DEFINITIONS_SOURCE));
    for (std::string line; std::getline(source, line);) {
        const std::size_t brace = line.find('{');
        if (line[0] != '#' && brace != std::string::npos)
            expected.insert(expected.end(), {line.substr(0, line.find_last_not_of(' ', brace - 1) + 1),
                                             line.substr(brace, line.find('}') - brace + 1)});
    }
    ASSERT_EQ(expected.size(), 1u + 2 * 25);
    const Strings tokens = Split(records);
    EXPECT_EQ(Strings(tokens.begin(), tokens.end() - 1), expected);
}

