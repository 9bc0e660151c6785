// The application object (name, profile, message box) and shell opens.
#include "TestFiles.h"
#include "TestSupport.h"
#include "win/ShellOpen.h"
#include "win/WinApp.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The profile: REG_DWORD values in
// HKEY_CURRENT_USER\Software\<key>\<the executable's name>\<section>.
TEST(ApplicationTest, ProfileReadsBackWhatItWroteAndDefaultsOtherwise)
{
    for (const char* path : {"C:\\dir.with.dots\\Gravelin", "Z:/tmp/Gravelin.exe", "C:Gravelin.exe"})
        EXPECT_EQ(CWinApplication::NameFromModulePath(path), "Gravelin") << path;
    CWinApplication app;
    const std::string key = UniqueTestName("TarnwickLayerTest");
    ScopedRegistryKey cleanup(HKEY_CURRENT_USER, "Software\\" + key);
    EXPECT_FALSE(app.WriteProfileInt("CurrentBuild", "Pop", 1)) << "no registry key, no profile";
    EXPECT_EQ(app.GetProfileInt("CurrentBuild", "Pop", 5), 5);
    app.SetRegistryKey(key.c_str());
    const std::string section = "Software\\" + key + "\\test_winlayer\\CurrentBuild";
    EXPECT_EQ(app.ProfileKeyPath("CurrentBuild"), section);
    EXPECT_TRUE(app.WriteProfileInt("CurrentBuild", "Written", -5));
    EXPECT_EQ(app.GetProfileInt("OtherSection", "Written", 6), 6);
    // Values it wrote, written by hand, or missing: only a 4-byte REG_DWORD
    // counts, anything else reads as the default.
    struct Case { const char* entry; DWORD type; DWORD size; int read; };
    for (const Case& c : {Case{"Written", REG_DWORD, 0, -5}, Case{"Dword", REG_DWORD, 4, 42}, Case{"Missing", 0, 0, 6},
                          Case{"Short", REG_DWORD, 2, 6}, Case{"Text", REG_SZ, 3, 6}, Case{"Binary", REG_BINARY, 4, 6},
                          Case{"Qword", REG_QWORD, 8, 6}}) {
        const char data[8] = {42};
        if (c.size > 0)
            SHSetValueA(HKEY_CURRENT_USER, section.c_str(), c.entry, c.type, data, c.size);
        EXPECT_EQ(app.GetProfileInt("CurrentBuild", c.entry, 6), c.read) << c.entry;
    }
}

// Captioned with the application's name, owned by the owner given, else by
// the main window only while that is visible.
TEST(ApplicationTest, MessageBoxReturnsTheButtonPressed)
{
    CWinApplication app;
    app.mainWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, nullptr, nullptr, nullptr,
                                     nullptr);
    MessageBoxWatcher watcher(IDNO);
    EXPECT_EQ(app.MessageBox("Are you sure?", MB_YESNO), IDNO);
    ShowWindow(app.mainWindow, SW_HIDE);
    watcher.SetAnswer(IDOK);
    EXPECT_EQ(app.MessageBox(nullptr), IDOK);
    EXPECT_EQ(app.MessageBox("Owned", MB_OK, app.mainWindow), IDOK);
    DestroyWindow(app.mainWindow);
    ASSERT_EQ(watcher.Boxes().size(), 3u);
    const MessageBoxWatcher::Box& first = watcher.Boxes()[0];
    EXPECT_EQ(first.owner, app.mainWindow);
    EXPECT_EQ(first.caption + ": " + first.text, "test_winlayer: Are you sure?");
    EXPECT_EQ(first.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(watcher.Boxes()[1].owner, nullptr);
    EXPECT_EQ(watcher.Boxes()[1].text, "");
    EXPECT_EQ(watcher.Boxes()[2].owner, app.mainWindow) << "the owner given";
}

// An observer takes the place of the shell. The real shell is tested without
// a browser: the address has a URL scheme registered for this test only,
// whose open command is shellopen_probe.exe beside this program; the probe
// writes the show state it got and its argument.
TEST(ShellOpenTest, TheShellOpensTheAddressHidden)
{
    std::vector<std::string> observed;
    SetShellOpenObserver([&](const std::string& address) { observed.push_back(address); });
    ShellOpen("http://support.example.invalid/");
    ShellOpen(nullptr);
    SetShellOpenObserver(nullptr);
    EXPECT_EQ(observed, (std::vector<std::string>{"http://support.example.invalid/", ""}));

    char self[MAX_PATH] = {};
    std::string probe(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    probe = "\"" + probe.substr(0, probe.find_last_of('\\') + 1) + "shellopen_probe.exe\" \"%1\"";
    const std::string scheme = "twkprobe" + std::to_string(GetCurrentProcessId());
    // The machine's classes: Wine does not show the user's in the merged view.
    ScopedRegistryKey key(HKEY_LOCAL_MACHINE, "Software\\Classes\\" + scheme);
    SHSetValueA(HKEY_LOCAL_MACHINE, key.Path().c_str(), "URL Protocol", REG_SZ, "", 1);
    SHSetValueA(HKEY_LOCAL_MACHINE, (key.Path() + "\\shell\\open\\command").c_str(), nullptr, REG_SZ,
                probe.c_str(), static_cast<DWORD>(probe.size() + 1));
    TempFolder folder;
    const std::string out = folder.Path("probe.txt");
    SetEnvironmentVariableA("TARNWICK_PROBE_OUT", out.c_str());
    const std::string address = scheme + ":page/index.html?a=1";
    ShellOpen(address.c_str());
    for (int waited = 0; waited < 2000 && GetFileAttributesA(out.c_str()) == INVALID_FILE_ATTRIBUTES; ++waited)
        Sleep(10);
    SetEnvironmentVariableA("TARNWICK_PROBE_OUT", nullptr);
    EXPECT_EQ(ReadFileBytes(out), "show=" + std::to_string(SW_HIDE) + " args=" + address);
}

} // namespace
