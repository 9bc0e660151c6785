#include "app/ProgramLocation.h"

#include <windows.h>
#include <vector>

std::string FolderOfPath(const std::string& path)
{
    const std::string::size_type slash = path.find_last_of('\\');
    if (slash == std::string::npos)
        return std::string();
    std::string folder = path.substr(0, slash);
    // "C:" alone would mean the drive's current directory, not its root.
    if (folder.size() == 2 && folder[1] == ':')
        folder += '\\';
    return folder;
}

std::string CommandLineFor(const std::string& programPath)
{
    if (programPath.find(' ') == std::string::npos)
        return programPath;
    return '"' + programPath + '"';
}

std::string RunningProgramPath()
{
    // The longest path the system handles, in characters.
    const DWORD kLongest = 32768;
    std::vector<char> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0)
            return std::string();
        // A path that does not fit is cut short and fills the whole buffer.
        if (length < size)
            return std::string(buffer.data(), length);
        if (size >= kLongest)
            return std::string();
        buffer.resize(size * 2 > kLongest ? kLongest : size * 2);
    }
}

std::string DataFolderOverride()
{
    const DWORD attributes = GetFileAttributesA("deda.twk");
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return std::string();
    return FolderOfPath(RunningProgramPath());
}
