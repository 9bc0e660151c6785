#pragma once
// Small helpers shared by the data-file tests: a scratch folder and whole-file
// reads and writes in binary mode.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

// A fresh, empty folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempFolder
{
public:
    TempFolder()
    {
        namespace fs = std::filesystem;
        std::random_device entropy;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = "twk-test-" + std::to_string(entropy()) + "-" + std::to_string(now + attempt);
            const fs::path candidate = fs::temp_directory_path() / name;
            std::error_code error;
            if (fs::create_directory(candidate, error)) {
                root = candidate;
                return;
            }
        }
        ADD_FAILURE() << "cannot create a scratch folder";
    }
    ~TempFolder()
    {
        std::error_code error;
        if (!root.empty())
            std::filesystem::remove_all(root, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The path of name inside the folder, as the 8-bit text the program uses.
    std::string Path(const std::string& name) const { return (root / name).string(); }

private:
    std::filesystem::path root;
};

inline bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

// The whole content of a file; "<missing>" when it cannot be opened.
inline std::string ReadFileBytes(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return "<missing>";
    std::string bytes;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

inline bool FileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}
