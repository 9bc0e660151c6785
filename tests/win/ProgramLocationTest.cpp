// The program's folder and the command line of its log-on entry, from the
// executable's full path.
#include <windows.h>
#include <gtest/gtest.h>
#include "app/ProgramLocation.h"

TEST(ProgramLocation, FolderOfPathKeepsTheSystemsFormOfAFolder)
{
    const struct
    {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Users\\Ann\\AppData\\Local\\Programs\\Tarnwick\\Gravelin.exe",
         "C:\\Users\\Ann\\AppData\\Local\\Programs\\Tarnwick"},
        {"C:\\Gravelin.exe", "C:\\"},
        {"\\\\server\\share\\Tarnwick\\Gravelin.exe", "\\\\server\\share\\Tarnwick"},
        {"Gravelin.exe", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
}

TEST(ProgramLocation, CommandLineQuotesOnlyAPathWithSpaces)
{
    const struct
    {
        const char* path;
        const char* command;
    } cases[] = {
        {"C:\\Users\\Ann\\Tarnwick\\Gravelin.exe", "C:\\Users\\Ann\\Tarnwick\\Gravelin.exe"},
        {"C:\\Users\\Ann Lee\\Tarnwick\\Gravelin.exe", "\"C:\\Users\\Ann Lee\\Tarnwick\\Gravelin.exe\""},
        {"C:\\Program Files\\Tarnwick\\Gravelin.exe", "\"C:\\Program Files\\Tarnwick\\Gravelin.exe\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandLineFor(c.path), c.command) << c.path;
}

TEST(ProgramLocation, RunningProgramPathNamesThisExecutable)
{
    const std::string path = RunningProgramPath();
    const std::string name = "\\test_program_location.exe";
    ASSERT_GT(path.size(), name.size());
    EXPECT_EQ(path.substr(path.size() - name.size()), name);
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}
