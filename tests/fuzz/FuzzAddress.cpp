// Cutting addresses: GetToken gives a non-empty run of the text free of the
// delimiters that fits with its NUL, or nothing; SplitUrl leaves a path that
// fits its buffer and refuses every scheme but http. Run in a network
// namespace of its own: the hosts looked up then fail at once.
#include <strings.h>

#include <algorithm>
#include <cstring>

#include "FuzzInput.h"
#include "http/HttpClient.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // The text, the delimiters, then one byte each for the index and the room.
    std::vector<std::string> parts = SplitAtNul(data, size);
    parts.resize(std::max<std::size_t>(parts.size(), 3));
    const std::string& text = parts[0];
    const std::string& delimiters = parts[1];
    const int index = parts[2].size() > 0 ? static_cast<unsigned char>(parts[2][0]) % 16 - 1 : 0;
    const int room = parts[2].size() > 1 ? static_cast<unsigned char>(parts[2][1]) % 40 : 16;
    char out[48];
    std::memset(out, 'z', sizeof(out));
    const int result = CSocketClient::GetToken(text.c_str(), delimiters.c_str(), index, out, room);
    if (room > 0) {
        const std::size_t length = strnlen(out, sizeof(out));
        FUZZ_CHECK(length < static_cast<std::size_t>(room));
        FUZZ_CHECK((result == 0) == (length > 0));
        FUZZ_CHECK(text.find(out) != std::string::npos);
        FUZZ_CHECK(std::strpbrk(out, delimiters.c_str()) == nullptr);
    }

    static CHttpClient client;
    std::string address = text;
    char path[256];
    std::memset(path, 'z', sizeof(path));
    const int split = client.SplitUrl(&address[0], path, room > 0 ? room * 6 : 0);
    FUZZ_CHECK(split >= 0 && split <= 3);
    if (room > 0)
        FUZZ_CHECK(strnlen(path, sizeof(path)) < static_cast<std::size_t>(room * 6));
    const char* scheme = std::strstr(address.c_str(), "://");
    if (scheme && !(scheme - address.c_str() == 4 && strncasecmp(address.c_str(), "http", 4) == 0))
        FUZZ_CHECK(split == 1 || split == 3);
    return 0;
}
