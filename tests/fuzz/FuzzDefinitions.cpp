// The definitions reader and splitter on any file image: no fault, no
// allocation beyond the image's size, records that write back to an image
// that reads the same, and pieces that are never empty and hold no ';'.
#include "FuzzInput.h"
#include "scan/SpywareDefinitions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string image(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> records;
    ReadDefinitionRecords(image, records);
    std::size_t bytes = 0;
    for (const std::string& record : records)
        bytes += record.size();
    FUZZ_CHECK(bytes <= size);

    std::vector<std::string> again;
    FUZZ_CHECK(ReadDefinitionRecords(WriteDefinitionRecords(records), again));
    FUZZ_CHECK(again == records);

    std::vector<std::string> tokens;
    SplitDefinitionRecords(records, tokens);
    for (const std::string& token : tokens)
        FUZZ_CHECK(!token.empty() && token.find(';') == std::string::npos);
    return 0;
}
