#pragma once
// A scratch folder and whole-file reads in binary mode, for the data-file
// tests and the Windows tests that run the program in a folder of its own.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
struct TempFolder {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("twk-test-" + std::to_string(std::random_device()()));
    std::error_code ignored;

    TempFolder() { std::filesystem::create_directory(root); }
    ~TempFolder() { std::filesystem::remove_all(root, ignored); }
    // The path of name inside the folder, as the 8-bit text the program uses.
    std::string Path(const std::string& name) const { return (root / name).string(); }
};

// The whole content of a file; "<missing>" when it cannot be opened.
inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}
