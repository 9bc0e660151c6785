// The response reader and the class-id scanner: any bytes a server sends,
// played through a connected socket pair, give lines of at most 511 bytes
// each of them a piece of what was sent, and the class ids and values of the
// plain byte-wise scan.
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "FuzzInput.h"
#include "ReferenceClassIds.h"
#include "http/HttpClient.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    int pair[2];
    FUZZ_CHECK(socketpair(AF_UNIX, SOCK_STREAM, 0, pair) == 0);
    std::thread server([&] {
        for (std::size_t sent = 0; sent < size;) {
            const ssize_t n = send(pair[1], data + sent, size - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += static_cast<std::size_t>(n);
        }
        close(pair[1]);
    });
    CHttpClient client;
    client.responseLimit = 1 << 16;
    client.sock = pair[0];
    client.type = SOCK_STREAM;
    const int result = client.ReadResponse();
    server.join();
    FUZZ_CHECK(result == 0 || result == 5);
    FUZZ_CHECK(client.sock == INVALID_SOCKET);

    // A line is kept as text: a NUL byte ends what is seen of it.
    const std::string sent(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> body;
    for (int i = 0; i < client.HeaderCount(); ++i)
        FUZZ_CHECK(std::strlen(client.HeaderLine(i)) <= 511 && sent.find(client.HeaderLine(i)) != std::string::npos);
    for (int i = 0; i < client.BodyLineCount(); ++i) {
        FUZZ_CHECK(std::strlen(client.BodyLine(i)) <= 511 && sent.find(client.BodyLine(i)) != std::string::npos);
        body.push_back(client.BodyLine(i));
    }

    const std::vector<std::pair<int, int>> places = ReferenceClassIdPlaces(body);
    const int count = client.CountClassIds();
    FUZZ_CHECK(count == static_cast<int>(places.size()));
    char value[24];
    for (int i = 0; i <= count; ++i) {
        std::memset(value, 'z', sizeof(value));
        const int got = client.GetClassId(i, value, 16);
        if (i == count)
            FUZZ_CHECK(got == 1);
        else
            FUZZ_CHECK(ReferenceClassIdValue(body, places[i], 16) == (got == 0 ? std::string(value) : "(2)"));
    }
    return 0;
}
