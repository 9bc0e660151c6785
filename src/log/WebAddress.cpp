#include "log/WebAddress.h"

#include <cstddef>

namespace {

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    std::size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= text.size())
            return false;
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

} // namespace

bool IsWebAddress(const std::string& text)
{
    const bool http = StartsWithNoCase(text, "http://");
    const bool https = StartsWithNoCase(text, "https://");
    if (!http && !https)
        return false;
    // Something must follow the scheme.
    if (text.size() == (http ? 7u : 8u))
        return false;
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || c == '"')
            return false;
    }
    return true;
}
