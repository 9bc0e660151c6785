// The squash log's line parser and file loader on any bytes: every line of
// the file becomes one entry, no field holds a '$', and what is saved loads
// back as as many entries.
#include <unistd.h>

#include <cstring>

#include "FuzzInput.h"
#include "log/SquashLog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::size_t lines = 0;
    for (std::size_t start = 0; start < size; ++lines) {
        const std::size_t end = bytes.find('\n', start);
        start = end == std::string::npos ? size : end + 1;
    }

    static const std::string path = "/tmp/tarnwick-fuzz-log-" + std::to_string(getpid());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file && std::fwrite(bytes.data(), 1, size, file) == size && std::fclose(file) == 0);
    SquashLog log;
    LoadSquashLogFile(path.c_str(), log);
    FUZZ_CHECK(log.GetCount() == static_cast<int>(lines));
    for (int i = 0; i < log.GetCount(); ++i) {
        std::string fields[4];
        FUZZ_CHECK(log.GetEntry(i, fields[0], fields[1], fields[2], fields[3]));
        for (const std::string& field : fields)
            FUZZ_CHECK(field.find('$') == std::string::npos && field.find('\n') == std::string::npos);
    }

    FUZZ_CHECK(log.Save(path.c_str()));
    SquashLog reloaded;
    LoadSquashLogFile(path.c_str(), reloaded);
    FUZZ_CHECK(reloaded.GetCount() == log.GetCount());
    std::remove(path.c_str());
    return 0;
}
