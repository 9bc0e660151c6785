#include "monitor/PageClassId.h"

std::string ClassIdCandidate(const std::string& value)
{
    static const std::string prefix = "clsid:";
    std::string candidate;
    candidate.reserve(value.size() + 1);
    std::size_t from = 0;
    for (;;) {
        std::size_t at = value.find(prefix, from);
        if (at == std::string::npos)
            break;
        candidate.append(value, from, at - from);
        candidate += '{';
        from = at + prefix.size();
    }
    candidate.append(value, from, std::string::npos);
    candidate += '}';
    return candidate;
}

std::size_t ForEachDefinitionMatch(const std::string& candidate, const std::vector<std::string>& tokens,
                                   const std::function<void(std::size_t)>& onMatch)
{
    std::size_t matches = 0;
    // The last piece is never a class identifier of a complete definition.
    for (std::size_t position = 0; position + 1 < tokens.size(); position += 2) {
        if (tokens[position] != candidate)
            continue;
        ++matches;
        if (onMatch)
            onMatch(position);
    }
    return matches;
}
