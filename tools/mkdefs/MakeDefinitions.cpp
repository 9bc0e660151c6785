// mkdefs: turns the readable definitions source (src/res/definitions.txt)
// into the "deda.twk" that ships beside Gravelin.exe.
//
//   mkdefs <definitions.txt> <deda.twk>
//
// The records it writes:
//   0      "Tarnwick spyware definitions"        (a heading, never an identifier)
//   1..n   "<display name>;<class identifier>"   (the last one also carries ";END")
//   n+1    "Version 2.1, <n> definitions"         (the last record, never split)
// After splitting every record but the last, the pieces run heading, name 1,
// identifier 1, name 2, identifier 2, ..., name n, identifier n, "END": every
// identifier at an even position right after its name, and the last piece,
// which the program never looks at, is not an identifier.
//
// Built for the build machine and run at build time; it reads back what it
// wrote and refuses to leave a file that breaks these rules.
#include "scan/SpywareDefinitions.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

namespace {

struct Definition
{
    std::string name;
    std::string classId;
};

const char* const kHeading = "Tarnwick spyware definitions";
const char* const kTrailer = "END";
const std::size_t kMaxRecord = 255;

std::string Trim(const std::string& text)
{
    const char* const blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// Registry form: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, upper-case hex digits.
bool IsClassId(const std::string& text)
{
    static const char pattern[] = "{HHHHHHHH-HHHH-HHHH-HHHH-HHHHHHHHHHHH}";
    if (text.size() != sizeof pattern - 1)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (pattern[i] == 'H') {
            if (!(std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F')))
                return false;
        } else if (c != pattern[i]) {
            return false;
        }
    }
    return true;
}

bool ParseSource(std::istream& in, const std::string& sourceName, std::vector<Definition>& definitions)
{
    std::set<std::string> seen;
    std::string line;
    int lineNumber = 0;
    bool ok = true;
    auto fail = [&](const std::string& why) {
        std::cerr << sourceName << ":" << lineNumber << ": " << why << "\n";
        ok = false;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::string text = Trim(line);
        if (text.empty() || text[0] == '#')
            continue;
        const std::size_t split = text.find_last_of(" \t");
        if (split == std::string::npos) {
            fail("a definition needs a display name and a class identifier");
            continue;
        }
        Definition definition{Trim(text.substr(0, split)), text.substr(split + 1)};
        if (!IsClassId(definition.classId)) {
            fail("\"" + definition.classId + "\" is not a class identifier in registry form (braces, upper case)");
            continue;
        }
        if (definition.name.find(';') != std::string::npos) {
            fail("a display name may not contain \";\"");
            continue;
        }
        if (IsClassId(definition.name)) {
            fail("the display name may not be a class identifier");
            continue;
        }
        if (!seen.insert(definition.classId).second) {
            fail("class identifier " + definition.classId + " is listed twice");
            continue;
        }
        definitions.push_back(definition);
    }
    if (ok && definitions.empty()) {
        std::cerr << sourceName << ": no definitions\n";
        ok = false;
    }
    return ok;
}

std::vector<std::string> BuildRecords(const std::vector<Definition>& definitions)
{
    std::vector<std::string> records;
    records.push_back(kHeading);
    for (const Definition& definition : definitions)
        records.push_back(definition.name + ";" + definition.classId);
    records.back() += std::string(";") + kTrailer;
    records.push_back("Version 2.1, " + std::to_string(definitions.size()) + " definitions");
    return records;
}

// Reads the image back the way the program does and checks the layout rules.
bool Verify(const std::string& image, const std::vector<std::string>& written,
            const std::vector<Definition>& definitions)
{
    std::vector<std::string> records;
    if (!ReadDefinitionRecords(image, records) || records != written) {
        std::cerr << "mkdefs: the image does not read back as written\n";
        return false;
    }
    for (const std::string& record : records) {
        if (record.size() > kMaxRecord) {
            std::cerr << "mkdefs: a record is longer than " << kMaxRecord << " characters: " << record << "\n";
            return false;
        }
    }
    std::vector<std::string> tokens;
    SplitDefinitionRecords(records, tokens);
    if (tokens.size() != 2 * definitions.size() + 2) {
        std::cerr << "mkdefs: unexpected number of pieces\n";
        return false;
    }
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const bool identifierHere = i % 2 == 0 && i > 0 && i + 1 < tokens.size();
        if (IsClassId(tokens[i]) != identifierHere) {
            std::cerr << "mkdefs: piece " << i << " (" << tokens[i] << ") is in the wrong place\n";
            return false;
        }
        if (identifierHere) {
            const Definition& definition = definitions[i / 2 - 1];
            if (tokens[i] != definition.classId || tokens[i - 1] != definition.name) {
                std::cerr << "mkdefs: definition " << definition.name << " did not survive\n";
                return false;
            }
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: mkdefs <definitions.txt> <deda.twk>\n";
        return 2;
    }
    std::ifstream source(argv[1]);
    if (!source) {
        std::cerr << "mkdefs: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::vector<Definition> definitions;
    if (!ParseSource(source, argv[1], definitions))
        return 1;

    const std::vector<std::string> records = BuildRecords(definitions);
    const std::string image = WriteDefinitionRecords(records);
    if (!Verify(image, records, definitions))
        return 1;

    // Write beside the target and rename, so an interrupted run never leaves
    // a half-written file that the build would take as up to date.
    const std::string target = argv[2];
    const std::string partial = target + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(image.data(), static_cast<std::streamsize>(image.size()));
        if (!out.flush()) {
            std::cerr << "mkdefs: cannot write " << partial << "\n";
            return 1;
        }
    }
    std::remove(target.c_str());
    if (std::rename(partial.c_str(), target.c_str()) != 0) {
        std::cerr << "mkdefs: cannot rename " << partial << " to " << target << "\n";
        std::remove(partial.c_str());
        return 1;
    }
    std::cout << "mkdefs: " << definitions.size() << " definitions, " << image.size() << " bytes -> " << target << "\n";
    return 0;
}
