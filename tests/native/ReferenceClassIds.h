#pragma once
// The class-id scan in its plain form, kept as the reference that the tests,
// the fuzz target and the benchmark compare the production scan with: every
// byte of the body lines, read as one text, steps a keyword match.
#include <string>
#include <utility>
#include <vector>

#include "http/SocketClient.h"

// The (line, offset) of each "=" that completes "classid=" (any case); a
// byte that breaks a partial match does not start a new one.
inline std::vector<std::pair<int, int>> ReferenceClassIdPlaces(const std::vector<std::string>& lines) {
    static const char keyword[] = "classid=";
    std::vector<std::pair<int, int>> places;
    std::size_t m = 0;
    for (std::size_t j = 0; j < lines.size(); ++j) {
        for (std::size_t p = 0; p < lines[j].size() && lines[j][p]; ++p) {
            const char c = lines[j][p];
            m = (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == keyword[m] ? m + 1 : 0;
            if (m == 8)
                places.emplace_back(static_cast<int>(j), static_cast<int>(p)), m = 0;
        }
    }
    return places;
}

// The value at a place, as GetClassId gives it ("(2)" when none can be
// taken): the second run between '<' and '"' of the line joined with the next.
inline std::string ReferenceClassIdValue(const std::vector<std::string>& lines, std::pair<int, int> place, int size) {
    std::string joined = lines[place.first].c_str();
    if (place.first + 1 < static_cast<int>(lines.size()))
        joined += lines[place.first + 1].c_str();
    std::vector<char> out(static_cast<std::size_t>(size) + 1);
    return CSocketClient::GetToken(joined.c_str() + place.second, "<\"", 1, out.data(), size) == 0 ? out.data() : "(2)";
}
