// shellopen_probe.exe: a stand-in for the program the shell starts to open an
// address. It writes how it was started to the file named by the environment
// variable TARNWICK_PROBE_OUT and ends at once:
//   show=<the show state it was given, or "none"> args=<its arguments>
#include <windows.h>
#include <cstdio>
#include <cstring>

int main()
{
    char out[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("TARNWICK_PROBE_OUT", out, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 2;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    // The arguments: the command line after the program's own (quoted) name.
    const char* line = GetCommandLineA();
    if (*line == '"') {
        const char* end = std::strchr(line + 1, '"');
        line = end != nullptr ? end + 1 : line + std::strlen(line);
    } else {
        while (*line != '\0' && *line != ' ')
            ++line;
    }
    while (*line == ' ')
        ++line;
    // Written to a side file first, then moved, so the reader never sees half.
    char partial[MAX_PATH + 8] = {};
    std::snprintf(partial, sizeof partial, "%s.part", out);
    FILE* file = std::fopen(partial, "w");
    if (file == nullptr)
        return 3;
    if ((startup.dwFlags & STARTF_USESHOWWINDOW) != 0)
        std::fprintf(file, "show=%u args=%s", static_cast<unsigned>(startup.wShowWindow), line);
    else
        std::fprintf(file, "show=none args=%s", line);
    std::fclose(file);
    return MoveFileA(partial, out) ? 0 : 4;
}
