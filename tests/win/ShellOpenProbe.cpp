// shellopen_probe.exe: a stand-in for the program the shell starts to open an
// address. It writes how it was started to the file named by the environment
// variable TARNWICK_PROBE_OUT and ends at once:
//   show=<the show state it was given, or "none"> args=<its first argument>
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    const char* out = std::getenv("TARNWICK_PROBE_OUT");
    if (out == nullptr)
        return 2;
    STARTUPINFOA startup = {};
    GetStartupInfoA(&startup);
    std::string show = startup.dwFlags & STARTF_USESHOWWINDOW ? std::to_string(startup.wShowWindow) : "none";
    // Written to a side file first, then moved, so the reader never sees half.
    std::string partial = std::string(out) + ".part";
    FILE* file = std::fopen(partial.c_str(), "w");
    if (file == nullptr)
        return 3;
    std::fprintf(file, "show=%s args=%s", show.c_str(), argc > 1 ? argv[1] : "");
    std::fclose(file);
    return MoveFileA(partial.c_str(), out) ? 0 : 4;
}
