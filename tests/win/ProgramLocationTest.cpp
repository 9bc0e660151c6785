// The program's folder and the command line of its log-on entry, from the
// executable's full path.
#include <gtest/gtest.h>
#include "app/ProgramLocation.h"

TEST(ProgramLocation, FolderInTheSystemsFormAndACommandLineQuotedOnlyForSpaces)
{
    const struct { const char *path, *folder, *command; } cases[] = {
        {"C:\\Users\\Ann\\Tarnwick\\Gravelin.exe", "C:\\Users\\Ann\\Tarnwick", "C:\\Users\\Ann\\Tarnwick\\Gravelin.exe"},
        {"C:\\Program Files\\T\\Gravelin.exe", "C:\\Program Files\\T", "\"C:\\Program Files\\T\\Gravelin.exe\""},
        {"C:\\Gravelin.exe", "C:\\", "C:\\Gravelin.exe"},
        {"\\\\server\\share\\Gravelin.exe", "\\\\server\\share", "\\\\server\\share\\Gravelin.exe"},
        {"Gravelin.exe", "", "Gravelin.exe"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
        EXPECT_EQ(CommandLineFor(c.path), c.command) << c.path;
    }
}
