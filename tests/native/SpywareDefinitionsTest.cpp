#include "scan/SpywareDefinitions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Builds the byte image of a serialised string array. The element helpers
// use the shortest length prefix and note where each element ends; the raw
// helpers write any prefix by hand.
class ArchiveImage
{
public:
    ArchiveImage& Byte(std::uint32_t value)
    {
        bytes.push_back(static_cast<char>(value & 0xFF));
        return *this;
    }
    ArchiveImage& Word(std::uint32_t value) { return Byte(value).Byte(value >> 8); }
    ArchiveImage& DWord(std::uint32_t value) { return Word(value & 0xFFFF).Word(value >> 16); }
    ArchiveImage& Raw(const std::string& text)
    {
        bytes += text;
        return *this;
    }
    // Marks the end of an element written by hand.
    ArchiveImage& End()
    {
        ends.push_back(bytes.size());
        return *this;
    }

    ArchiveImage& Count(std::uint32_t count)
    {
        if (count < 0xFFFF)
            return Word(count);
        return Word(0xFFFF).DWord(count);
    }
    ArchiveImage& Length(std::uint32_t length)
    {
        if (length < 0xFF)
            return Byte(length);
        if (length < 0xFFFE)
            return Byte(0xFF).Word(length);
        return Byte(0xFF).Word(0xFFFF).DWord(length);
    }
    ArchiveImage& Text(const std::string& text)
    {
        return Length(static_cast<std::uint32_t>(text.size())).Raw(text).End();
    }
    ArchiveImage& WideText(const std::u16string& text)
    {
        Byte(0xFF).Word(0xFFFE).Length(static_cast<std::uint32_t>(text.size()));
        for (char16_t unit : text)
            Word(unit);
        return End();
    }

    std::string bytes;
    std::vector<std::size_t> ends;  // offset just past each element
};

Strings Read(const std::string& bytes, bool expectOk = true)
{
    Strings records;
    EXPECT_EQ(ReadDefinitionRecords(bytes, records), expectOk);
    return records;
}

Strings Split(const Strings& records)
{
    Strings tokens;
    SplitDefinitionRecords(records, tokens);
    return tokens;
}

// ---- Reading the layout -------------------------------------------------

TEST(DefinitionRecords, ProcessWideListsStartEmpty)
{
    EXPECT_TRUE(SpywareDefinitions::records.empty());
    EXPECT_TRUE(SpywareDefinitions::tokens.empty());
}

TEST(DefinitionRecords, CountZeroGivesNoRecords)
{
    EXPECT_TRUE(Read(ArchiveImage().Word(0).bytes).empty());
    // Bytes after the last element are not read, even after a count of 0.
    EXPECT_TRUE(Read(ArchiveImage().Word(0).Raw("\xFF\xFF\xFF").bytes).empty());
}

TEST(DefinitionRecords, OneByteLengthsInFileOrder)
{
    const Strings expected = {"header", "Bad Bar;{11111111-2222-3333-4444-555555555555}", "", "last"};
    ArchiveImage image;
    image.Count(4);
    for (const std::string& text : expected)
        image.Text(text);
    EXPECT_EQ(Read(image.bytes), expected);
}

TEST(DefinitionRecords, LengthPrefixBoundaryAt255)
{
    const std::string of254(254, 'a'), of255(255, 'b');
    ArchiveImage image;
    image.Word(2).Byte(254).Raw(of254).Byte(0xFF).Word(255).Raw(of255);
    EXPECT_EQ(Read(image.bytes), (Strings{of254, of255}));
}

TEST(DefinitionRecords, SixteenAndThirtyTwoBitLengths)
{
    const std::string of300(300, 'c'), of65533(0xFFFD, 'd'), of65534(0xFFFE, 'e'), of70000(70000, 'f');
    ArchiveImage image;
    image.Word(4)
        .Byte(0xFF).Word(300).Raw(of300)
        .Byte(0xFF).Word(0xFFFD).Raw(of65533)
        .Byte(0xFF).Word(0xFFFF).DWord(0xFFFE).Raw(of65534)
        .Byte(0xFF).Word(0xFFFF).DWord(70000).Raw(of70000);
    const Strings records = Read(image.bytes);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0], of300);
    EXPECT_EQ(records[1], of65533);
    EXPECT_EQ(records[2], of65534);
    EXPECT_EQ(records[3], of70000);
}

TEST(DefinitionRecords, LongerPrefixesForShortLengthsAreAccepted)
{
    ArchiveImage image;
    image.Word(3)
        .Byte(0xFF).Word(5).Raw("hello")
        .Byte(0xFF).Word(0xFFFF).DWord(5).Raw("world")
        .Byte(0xFF).Word(0);
    EXPECT_EQ(Read(image.bytes), (Strings{"hello", "world", ""}));
}

TEST(DefinitionRecords, ThirtyTwoBitCount)
{
    ArchiveImage small;
    small.Word(0xFFFF).DWord(2).Text("one").Text("two");
    EXPECT_EQ(Read(small.bytes), (Strings{"one", "two"}));

    // 65534 still fits the 16-bit count; 65535 needs the 32-bit one.
    for (std::uint32_t count : {0xFFFEu, 0xFFFFu, 0x10000u}) {
        ArchiveImage image;
        image.Count(count);
        for (std::uint32_t i = 0; i < count; ++i)
            image.Text(std::string(1, static_cast<char>('a' + i % 26)));
        const Strings records = Read(image.bytes);
        ASSERT_EQ(records.size(), count);
        EXPECT_EQ(records.front(), "a");
        EXPECT_EQ(records.back(), std::string(1, static_cast<char>('a' + (count - 1) % 26)));
    }
}

TEST(DefinitionRecords, SixteenBitCharactersAreNarrowed)
{
    ArchiveImage image;
    image.Word(6)
        .WideText(u"Spy;{AB}")
        .WideText(u"caf\u00E9 \u00FF")      // below 0x100: the byte itself
        .WideText(u"\u20AC1 \u4E2D")         // above: '?'
        .WideText(u"x\U0001F600y")           // a surrogate pair is one character
        .WideText(u"")
        .WideText(std::u16string(300, u'w'));  // 16-bit character count
    EXPECT_EQ(Read(image.bytes), (Strings{"Spy;{AB}", "caf\xE9 \xFF", "?1 ?", "x?y", "", std::string(300, 'w')}));
}

TEST(DefinitionRecords, SixteenBitCharacterEdgeCases)
{
    // A lone high surrogate at the end, a lone low surrogate in the middle.
    ArchiveImage lone;
    lone.Word(2).WideText(std::u16string(u"a") + char16_t(0xD800)).WideText(std::u16string(1, char16_t(0xDC00)) + u"b");
    EXPECT_EQ(Read(lone.bytes), (Strings{"a?", "?b"}));

    // A character count of 0xFFFE after the marker is a length, not a marker.
    ArchiveImage big;
    big.Word(1).Byte(0xFF).Word(0xFFFE).Byte(0xFF).Word(0xFFFE);
    for (int i = 0; i < 0xFFFE; ++i)
        big.Word('z');
    EXPECT_EQ(Read(big.bytes), Strings{std::string(0xFFFE, 'z')});

    // A character count in 32 bits.
    ArchiveImage wide32;
    wide32.Word(1).Byte(0xFF).Word(0xFFFE).Byte(0xFF).Word(0xFFFF).DWord(3).Word('a').Word('b').Word('c');
    EXPECT_EQ(Read(wide32.bytes), Strings{"abc"});
}

TEST(DefinitionRecords, BytesAfterTheLastElementAreIgnored)
{
    ArchiveImage image;
    image.Count(1).Text("only").Raw("\x05junk\xFF\xFF");
    EXPECT_EQ(Read(image.bytes), Strings{"only"});
}

TEST(DefinitionRecords, ReplacesPreviousContentEvenOnFailure)
{
    Strings records = {"old", "older"};
    ArchiveImage image;
    image.Count(1).Text("new");
    EXPECT_TRUE(ReadDefinitionRecords(image.bytes, records));
    EXPECT_EQ(records, Strings{"new"});
    EXPECT_FALSE(ReadDefinitionRecords("", records));
    EXPECT_TRUE(records.empty());
}

// ---- Damaged images -----------------------------------------------------

TEST(DefinitionRecordsDamage, HugeCountInTinyFileAllocatesNothingLarge)
{
    ArchiveImage image;
    image.Word(0xFFFF).DWord(0xFFFFFFFF).Text("abc");  // 10 bytes
    ASSERT_EQ(image.bytes.size(), 10u);
    Strings records;
    EXPECT_FALSE(ReadDefinitionRecords(image.bytes, records));
    EXPECT_EQ(records, Strings{"abc"});
    EXPECT_LE(records.capacity(), 2 * image.bytes.size());

    ArchiveImage counted16;
    counted16.Word(0xFFFE).Text("x");
    Strings fewer;
    EXPECT_FALSE(ReadDefinitionRecords(counted16.bytes, fewer));
    EXPECT_EQ(fewer, Strings{"x"});
    EXPECT_LE(fewer.capacity(), 2 * counted16.bytes.size());
}

TEST(DefinitionRecordsDamage, LengthsPastTheEndKeepEarlierElements)
{
    const struct {
        const char* what;
        ArchiveImage tail;
    } cases[] = {
        {"one-byte length", ArchiveImage().Byte(10).Raw("short")},
        {"16-bit length", ArchiveImage().Byte(0xFF).Word(0xFFFD).Raw("short")},
        {"32-bit length", ArchiveImage().Byte(0xFF).Word(0xFFFF).DWord(0xFFFFFFFF).Raw("short")},
        {"wide count", ArchiveImage().Byte(0xFF).Word(0xFFFE).Byte(3).Word('a').Word('b')},
        {"wide 32-bit count", ArchiveImage().Byte(0xFF).Word(0xFFFE).Byte(0xFF).Word(0xFFFF).DWord(0x80000000).Word('a')},
        {"wide 32-bit count, all ones", ArchiveImage().Byte(0xFF).Word(0xFFFE).Byte(0xFF).Word(0xFFFF).DWord(0xFFFFFFFF)},
        {"cut inside the prefix", ArchiveImage().Byte(0xFF).Word(0xFFFF).Word(7)},
        {"missing element", ArchiveImage()},
    };
    for (const auto& c : cases) {
        ArchiveImage image;
        image.Count(3).Text("first").Text("second").Raw(c.tail.bytes);
        Strings records;
        EXPECT_FALSE(ReadDefinitionRecords(image.bytes, records)) << c.what;
        EXPECT_EQ(records, (Strings{"first", "second"})) << c.what;
    }
}

// A file with every kind of prefix, used to damage each offset in turn.
ArchiveImage MixedImage()
{
    ArchiveImage image;
    image.Word(0xFFFF).DWord(8)
        .Text("Header;x")
        .Text(std::string(254, 'p'))
        .Text(std::string(300, 'q'))
        .WideText(u"wide\u00E9\u20AC")
        .Byte(0xFF).Word(0xFFFF).DWord(4).Raw("long").End()
        .Text("")
        .WideText(u"")
        .Text("Name;{CLSID}");
    return image;
}

TEST(DefinitionRecordsDamage, TruncatedAtEveryOffset)
{
    const ArchiveImage image = MixedImage();
    Strings full;
    ASSERT_TRUE(ReadDefinitionRecords(image.bytes, full));
    ASSERT_EQ(full.size(), image.ends.size());
    ASSERT_EQ(image.ends.back(), image.bytes.size());

    for (std::size_t length = 0; length < image.bytes.size(); ++length) {
        Strings records;
        EXPECT_FALSE(ReadDefinitionRecords(image.bytes.substr(0, length), records)) << "length " << length;
        std::size_t whole = 0;
        while (whole < image.ends.size() && image.ends[whole] <= length)
            ++whole;
        EXPECT_EQ(records, Strings(full.begin(), full.begin() + whole)) << "length " << length;
    }
}

TEST(DefinitionRecordsDamage, EveryByteSetTo0xFF)
{
    const ArchiveImage image = MixedImage();
    Strings full;
    ASSERT_TRUE(ReadDefinitionRecords(image.bytes, full));

    int failures = 0;
    for (std::size_t offset = 0; offset < image.bytes.size(); ++offset) {
        if (static_cast<unsigned char>(image.bytes[offset]) == 0xFF)
            continue;
        std::string damaged = image.bytes;
        damaged[offset] = '\xFF';
        Strings records;
        const bool ok = ReadDefinitionRecords(damaged, records);
        failures += ok ? 0 : 1;

        // Elements that end before the damaged byte come out unchanged.
        std::size_t before = 0;
        while (before < image.ends.size() && image.ends[before] <= offset)
            ++before;
        ASSERT_GE(records.size(), before) << "offset " << offset;
        EXPECT_EQ(Strings(records.begin(), records.begin() + before), Strings(full.begin(), full.begin() + before))
            << "offset " << offset;

        // Nothing read can be larger than the file.
        std::size_t total = 0;
        for (const std::string& record : records)
            total += record.size();
        EXPECT_LE(total, damaged.size()) << "offset " << offset;
        EXPECT_LE(records.capacity(), 2 * damaged.size()) << "offset " << offset;
        // A damaged count, length prefix or count of characters reads
        // either past the end or a different number of elements.
        if (offset < 6) {
            EXPECT_FALSE(ok) << "offset " << offset;
        }
        if (ok) {
            EXPECT_EQ(records.size(), full.size()) << "offset " << offset;
        }
    }
    // Damage inside the characters of an element is not detectable; damage
    // to the count or a prefix mostly is.
    EXPECT_GT(failures, 0);
}

// ---- Splitting records into pieces --------------------------------------

TEST(DefinitionTokens, LastRecordNeverContributes)
{
    EXPECT_TRUE(Split({}).empty());
    EXPECT_TRUE(Split({"Name;{A}"}).empty());
    EXPECT_EQ(Split({"Head", "Name;{A}", "Other;{B}"}), (Strings{"Head", "Name", "{A}"}));
}

TEST(DefinitionTokens, SeparatorRunsAndEndsGiveNoEmptyPieces)
{
    EXPECT_EQ(Split({"a;;b;", ";c;;;d", "", ";;;", "e", "ignored;f"}), (Strings{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(Split({"no separator", "x"}), Strings{"no separator"});
}

TEST(DefinitionTokens, AppendsToWhatIsThere)
{
    Strings tokens = {"kept"};
    SplitDefinitionRecords({"a;b", "c;d", "last"}, tokens);
    EXPECT_EQ(tokens, (Strings{"kept", "a", "b", "c", "d"}));
}

TEST(DefinitionTokens, FileToTokensPutsIdentifiersAtEvenPositions)
{
    ArchiveImage image;
    image.Count(3)
        .Text("Definitions;Bar One;{00000000-0000-0000-0000-000000000001}")
        .Text("Bar Two;{00000000-0000-0000-0000-000000000002};;")
        .Text("trailer");
    Strings records;
    ASSERT_TRUE(ReadDefinitionRecords(image.bytes, records));
    const Strings tokens = Split(records);
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[1], "Bar One");
    EXPECT_EQ(tokens[2], "{00000000-0000-0000-0000-000000000001}");
    EXPECT_EQ(tokens[3], "Bar Two");
    EXPECT_EQ(tokens[4], "{00000000-0000-0000-0000-000000000002}");
}

// ---- Writing the layout -------------------------------------------------

TEST(DefinitionWriter, LengthPrefixesMatchTheArchiveLayoutAtEveryBoundary)
{
    // 0xFFFE must not be written as a 16-bit length: it marks 16-bit text.
    for (std::uint32_t length : {0u, 1u, 254u, 255u, 256u, 0xFFFDu, 0xFFFEu, 0xFFFFu, 70000u}) {
        SCOPED_TRACE(length);
        const std::string text(length, 'x');
        ArchiveImage expected;
        expected.Count(1).Text(text);
        const std::string written = WriteDefinitionRecords({text});
        EXPECT_EQ(written, expected.bytes);
        EXPECT_EQ(Read(written), Strings{text});
    }
}

TEST(DefinitionWriter, CountSwitchesTo32BitsAt65535)
{
    for (std::size_t count : {std::size_t{0}, std::size_t{0xFFFE}, std::size_t{0xFFFF}, std::size_t{70000}}) {
        SCOPED_TRACE(count);
        const Strings records(count, "r");
        const std::string written = WriteDefinitionRecords(records);
        ArchiveImage head;
        head.Count(static_cast<std::uint32_t>(count));
        ASSERT_GE(written.size(), head.bytes.size());
        EXPECT_EQ(written.substr(0, head.bytes.size()), head.bytes);
        EXPECT_EQ(written.size(), head.bytes.size() + 2 * count);
        EXPECT_EQ(Read(written), records);
    }
}

TEST(DefinitionWriter, EightBitCharactersRoundTripUnchanged)
{
    const Strings records = {std::string("nul\0in;the middle", 18), "\xFF\xFE\x80 high bytes", "", ";;;",
                             std::string(300, '\xFF'), "Name;{00000000-0000-0000-0000-000000000001}"};
    const std::string written = WriteDefinitionRecords(records);
    EXPECT_EQ(Read(written), records);
    EXPECT_EQ(Read(written + "trailing bytes"), records);
}

} // namespace
