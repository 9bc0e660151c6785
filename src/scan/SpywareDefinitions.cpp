#include "scan/SpywareDefinitions.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace SpywareDefinitions {
std::vector<std::string> records;
std::vector<std::string> tokens;
}

namespace {

// Little-endian reads from a byte image that never pass its end.
class ByteReader
{
public:
    explicit ByteReader(const std::string& bytes) : bytes(bytes) {}

    std::size_t Remaining() const { return bytes.size() - pos; }

    bool Byte(std::uint32_t& value)
    {
        if (Remaining() < 1)
            return false;
        value = At(pos);
        pos += 1;
        return true;
    }

    bool Word(std::uint32_t& value)
    {
        if (Remaining() < 2)
            return false;
        value = At(pos) | (At(pos + 1) << 8);
        pos += 2;
        return true;
    }

    bool DWord(std::uint32_t& value)
    {
        if (Remaining() < 4)
            return false;
        value = At(pos) | (At(pos + 1) << 8) | (At(pos + 2) << 16) | (At(pos + 3) << 24);
        pos += 4;
        return true;
    }

    // Hands out the next count bytes; false (and nothing consumed) when the
    // image holds fewer.
    bool Take(std::uint64_t count, const char*& data)
    {
        if (count > Remaining())
            return false;
        data = bytes.data() + pos;
        pos += static_cast<std::size_t>(count);
        return true;
    }

private:
    std::uint32_t At(std::size_t i) const { return static_cast<unsigned char>(bytes[i]); }

    const std::string& bytes;
    std::size_t pos = 0;
};

const std::uint32_t kWideMarker = 0xFFFE;

// One length prefix. With allowWideMarker, the 16-bit value 0xFFFE after the
// byte 0xFF is the marker of a 16-bit string rather than a length; in the
// character count that follows the marker it is an ordinary length.
bool ReadLength(ByteReader& in, bool allowWideMarker, std::uint32_t& length, bool& wide)
{
    wide = false;
    std::uint32_t value;
    if (!in.Byte(value))
        return false;
    if (value < 0xFF) {
        length = value;
        return true;
    }
    if (!in.Word(value))
        return false;
    if (value == kWideMarker && allowWideMarker) {
        bool nestedWide;
        if (!ReadLength(in, false, length, nestedWide))
            return false;
        wide = true;
        return true;
    }
    if (value < 0xFFFF) {
        length = value;
        return true;
    }
    return in.DWord(length);
}

// 16-bit characters to 8-bit text without any platform conversion: a
// character below 0x100 becomes that byte, any other character becomes '?'
// (a surrogate pair counts as one character and gives one '?').
std::string NarrowFromUtf16(const char* data, std::uint32_t count)
{
    std::string text;
    text.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t unit = static_cast<unsigned char>(data[2 * i])
                                   | (static_cast<unsigned char>(data[2 * i + 1]) << 8);
        if (unit < 0x100) {
            text.push_back(static_cast<char>(unit));
            continue;
        }
        text.push_back('?');
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
            const std::uint32_t next = static_cast<unsigned char>(data[2 * i + 2])
                                       | (static_cast<unsigned char>(data[2 * i + 3]) << 8);
            if (next >= 0xDC00 && next <= 0xDFFF)
                ++i;
        }
    }
    return text;
}

bool ReadElement(ByteReader& in, std::string& element)
{
    std::uint32_t length;
    bool wide;
    if (!ReadLength(in, true, length, wide))
        return false;
    const std::uint64_t byteCount = wide ? 2 * static_cast<std::uint64_t>(length) : length;
    const char* data;
    if (!in.Take(byteCount, data))
        return false;
    if (wide)
        element = NarrowFromUtf16(data, length);
    else
        element.assign(data, static_cast<std::size_t>(byteCount));
    return true;
}

void PutWord(std::string& out, std::uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutDWord(std::string& out, std::uint32_t value)
{
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

void AppendPieces(const std::string& record, char separator, std::vector<std::string>& pieces)
{
    std::size_t start = 0;
    while (start < record.size()) {
        std::size_t end = record.find(separator, start);
        if (end == std::string::npos)
            end = record.size();
        if (end > start)
            pieces.push_back(record.substr(start, end - start));
        start = end + 1;
    }
}

} // namespace

bool ReadDefinitionRecords(const std::string& fileBytes, std::vector<std::string>& records)
{
    records.clear();
    ByteReader in(fileBytes);

    std::uint32_t count;
    if (!in.Word(count))
        return false;
    if (count == 0xFFFF && !in.DWord(count))
        return false;

    // Every element takes at least one byte of the image, but a record takes
    // sizeof(std::string) bytes of memory even when empty: the reservation is
    // bounded by the bytes left, so that a bad count never reserves more
    // memory than the image itself holds. Records beyond it grow as read.
    const std::uint64_t fits = in.Remaining() / sizeof(std::string);
    try {
        records.reserve(static_cast<std::size_t>(count < fits ? count : fits));
        for (std::uint32_t i = 0; i < count; ++i) {
            std::string element;
            if (!ReadElement(in, element))
                return false;
            records.push_back(std::move(element));
        }
    } catch (const std::bad_alloc&) {
        // Short of memory: the program goes on with the records read whole.
        return false;
    }
    return true;
}

void SplitDefinitionRecords(const std::vector<std::string>& records, std::vector<std::string>& tokens)
{
    if (records.size() < 2)
        return;
    for (std::size_t i = 0; i + 1 < records.size(); ++i)
        AppendPieces(records[i], ';', tokens);
}

std::string WriteDefinitionRecords(const std::vector<std::string>& records)
{
    std::string out;
    const std::uint64_t count = records.size();
    if (count < 0xFFFF) {
        PutWord(out, static_cast<std::uint32_t>(count));
    } else {
        PutWord(out, 0xFFFF);
        PutDWord(out, static_cast<std::uint32_t>(count));
    }
    for (const std::string& record : records) {
        const std::uint64_t length = record.size();
        if (length < 0xFF) {
            out.push_back(static_cast<char>(length));
        } else if (length < kWideMarker) {
            out.push_back(static_cast<char>(0xFF));
            PutWord(out, static_cast<std::uint32_t>(length));
        } else {
            out.push_back(static_cast<char>(0xFF));
            PutWord(out, 0xFFFF);
            PutDWord(out, static_cast<std::uint32_t>(length));
        }
        out += record;
    }
    return out;
}
