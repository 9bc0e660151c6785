#include "http/HttpClient.h"

#include <cstring>
#include <string>

namespace
{
const char kKeywordLower[] = "classid=";
const char kKeywordUpper[] = "CLASSID=";
const int kKeywordLength = 8;
}

int CHttpClient::CountClassIds()
{
    if (classIdCount != -1)
        return classIdCount;
    classIdCount = 0;
    classIdPositions.Clear();

    // The match position runs on from one line into the next, so a keyword
    // that a line break cut in two is still found (at its "=" in the second
    // line). A byte that breaks a partial match is not tried again as the
    // start of the keyword.
    int m = 0;
    int lineCount = BodyLineCount();
    for (int j = 0; j < lineCount; ++j)
    {
        const char* line = BodyLine(j);
        for (int p = 0; line[p] != '\0'; ++p)
        {
            char c = line[p];
            if (m == 0)
            {
                // The common case: not inside a partial match.
                if (c != 'c' && c != 'C')
                    continue;
                m = 1;
            }
            else if (c == kKeywordLower[m] || c == kKeywordUpper[m])
            {
                if (++m == kKeywordLength)
                {
                    ++classIdCount;
                    classIdPositions.Add(j, p);
                    m = 0;
                }
            }
            else
            {
                m = 0;
            }
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
    if (!line)
        return 2;
    // The value may run on into the next line.
    std::string joined(line);
    const char* next = BodyLine(j + 1);
    if (next)
        joined += next;
    if (p < 0 || static_cast<std::size_t>(p) >= joined.size())
        return 2;

    // Token 0 is the "=" itself; the value is the next run between '<' and '"'.
    if (GetToken(joined.c_str() + p, "<\"", 1, out, outSize) != 0)
        return 2;
    return 0;
}
