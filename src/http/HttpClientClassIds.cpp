#include "http/HttpClient.h"

#include <cstring>

// The keyword is searched as if the body were one text, byte by byte: a
// keyword that a line break cut in two is still found (at its "=" in the
// second line), and a byte that breaks a partial match is not tried again as
// the start of the keyword ("cclassid=" holds none). Rather than test every
// byte, the scan jumps from one "=" to the next with the C library's search,
// and only where the seven bytes before an "=" spell "classid" does it replay
// the byte-wise match, from just after the "=" before: no partial match
// survives an "=", so the replay starts from a clean state.

namespace
{
const char kKeyword[] = "classid=";
const int kKeywordLength = 8;

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A place in the body: a line and an offset in it.
struct BodyPlace
{
    int line;
    int offset;
};
}

int CHttpClient::CountClassIds()
{
    if (classIdCount != -1)
        return classIdCount;
    classIdCount = 0;
    classIdPositions.Clear();

    const int lineCount = BodyLineCount();
    // The byte at distance back before (line, offset), or 0 before the body.
    auto byteBefore = [this](int line, int offset, int back) -> char {
        while (offset < back)
        {
            if (--line < 0)
                return '\0';
            back -= offset;
            offset = static_cast<int>(std::strlen(BodyLine(line)));
        }
        return BodyLine(line)[offset - back];
    };

    BodyPlace clean = {0, 0}; // just after the last "=", where no partial match is alive
    for (int j = 0; j < lineCount; ++j)
    {
        const char* line = BodyLine(j);
        for (const char* equals = std::strchr(line, '='); equals; equals = std::strchr(equals + 1, '='))
        {
            const int p = static_cast<int>(equals - line);
            bool spelled = true;
            for (int back = 1; back < kKeywordLength && spelled; ++back)
                spelled = LowerAscii(byteBefore(j, p, back)) == kKeyword[kKeywordLength - 1 - back];
            if (spelled)
            {
                // Replay the byte-wise match from the clean place to this "=".
                int m = 0;
                for (int k = clean.line; k <= j; ++k)
                {
                    const char* text = BodyLine(k);
                    const int end = k == j ? p : static_cast<int>(std::strlen(text));
                    for (int q = k == clean.line ? clean.offset : 0; q < end; ++q)
                        m = LowerAscii(text[q]) == kKeyword[m] ? m + 1 : 0;
                }
                if (m == kKeywordLength - 1)
                {
                    ++classIdCount;
                    classIdPositions.Add(j, p);
                }
            }
            clean = {j, p + 1};
        }
    }
    return classIdCount;
}

int CHttpClient::GetClassId(int index, char* out, int outSize)
{
    if (classIdCount == -1)
        CountClassIds();

    int j = 0;
    int p = 0;
    if (!classIdPositions.GetAt(index, j, p))
        return 1;

    if (out && outSize > 0)
        out[0] = '\0';
    const char* line = BodyLine(j);
    if (!line || !out || outSize <= 0)
        return 2;
    // The value may run on into the next line: the text looked at is the
    // keyword's line followed by the next one.
    const char* next = BodyLine(j + 1);
    const int lineLength = static_cast<int>(std::strlen(line));
    const int nextLength = next ? static_cast<int>(std::strlen(next)) : 0;
    if (p < 0 || p >= lineLength + nextLength)
        return 2;
    auto at = [&](int k) { return k < lineLength ? line[k] : k < lineLength + nextLength ? next[k - lineLength] : '\0'; };
    auto isDelimiter = [](char c) { return c == '<' || c == '"'; };

    // The runs between '<' and '"': the first is the "=" and what follows
    // it, the value is the second.
    int k = p;
    for (int run = 0; run < 2; ++run)
    {
        while (at(k) && isDelimiter(at(k)))
            ++k;
        while (run == 0 && at(k) && !isDelimiter(at(k)))
            ++k;
    }
    const int start = k;
    while (at(k) && !isDelimiter(at(k)))
        ++k;
    const int length = k - start;
    if (length == 0 || length >= outSize)
        return 2;
    for (int i = 0; i < length; ++i)
        out[i] = at(start + i);
    out[length] = '\0';
    return 0;
}
