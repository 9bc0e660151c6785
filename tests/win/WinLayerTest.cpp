// The application object (name, profile, colours, message box), shell opens
// and the shared test support itself.
#include "TestSupport.h"
#include "WinLayerTestRes.h"
#include "win/DialogBase.h"
#include "win/RegKey.h"
#include "win/ShellOpen.h"
#include "win/WinApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// The application object of this test program.
CWinApplication testApplication;

namespace {

CWinApplication& App()
{
    return *CWinApplication::Current();
}

// A plain top-level window for owner tests.
HWND MakeWindow(bool visible)
{
    HWND window = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_CAPTION | (visible ? WS_VISIBLE : 0), 50, 50,
                                  200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return window;
}

TEST(ApplicationTest, NameIsTheExecutableWithoutExtension)
{
    ASSERT_EQ(CWinApplication::Current(), &testApplication);
    EXPECT_EQ(App().AppName(), "test_winlayer");
    EXPECT_EQ(CWinApplication::NameFromModulePath("C:\\Program Files\\Ostrand\\Gravelin.exe"), "Gravelin");
    EXPECT_EQ(CWinApplication::NameFromModulePath("C:\\dir.with.dots\\Gravelin"), "Gravelin");
    EXPECT_EQ(CWinApplication::NameFromModulePath("C:\\a\\b.c.exe"), "b.c");
    EXPECT_EQ(CWinApplication::NameFromModulePath("Z:/tmp/run.exe"), "run");
    EXPECT_EQ(CWinApplication::NameFromModulePath("Gravelin.exe"), "Gravelin");
}

class ProfileTest : public ::testing::Test
{
protected:
    ProfileTest() : key(UniqueTestName("TarnwickLayerTest")), cleanup(HKEY_CURRENT_USER, "Software\\" + key) {}
    void SetUp() override { App().SetRegistryKey(key.c_str()); }
    void TearDown() override { App().SetRegistryKey(""); }

    std::string SectionPath(const char* section) const
    {
        return "Software\\" + key + "\\test_winlayer\\" + section;
    }

    std::string key;
    ScopedRegistryKey cleanup;
};

TEST_F(ProfileTest, WrittenValuesReadBack)
{
    EXPECT_TRUE(App().WriteProfileInt("CurrentBuild", "Pop", 1));
    EXPECT_TRUE(App().WriteProfileInt("CurrentBuild", "Real", -5));
    EXPECT_TRUE(App().WriteProfileInt("Other", "Pop", 9));
    EXPECT_EQ(App().GetProfileInt("CurrentBuild", "Pop", 0), 1);
    EXPECT_EQ(App().GetProfileInt("CurrentBuild", "Real", 0), -5);
    EXPECT_EQ(App().GetProfileInt("Other", "Pop", 0), 9);

    EXPECT_TRUE(App().WriteProfileInt("CurrentBuild", "Pop", 0));
    EXPECT_EQ(App().GetProfileInt("CurrentBuild", "Pop", 3), 0);
}

TEST_F(ProfileTest, MissingValuesGiveTheDefault)
{
    EXPECT_EQ(App().GetProfileInt("CurrentBuild", "Pop", 7), 7);
    ASSERT_TRUE(App().WriteProfileInt("CurrentBuild", "Anim", 1));
    EXPECT_EQ(App().GetProfileInt("CurrentBuild", "Pop", -2), -2);
    EXPECT_EQ(App().GetProfileInt("NoSuchSection", "Anim", 4), 4);
}

TEST_F(ProfileTest, LivesUnderSoftwareKeyApplicationSection)
{
    EXPECT_EQ(App().ProfileKeyPath("CurrentBuild"), SectionPath("CurrentBuild"));
    ASSERT_TRUE(App().WriteProfileInt("CurrentBuild", "Sound", 1));

    RegKey section;
    ASSERT_EQ(section.Open(HKEY_CURRENT_USER, SectionPath("CurrentBuild").c_str(), KEY_QUERY_VALUE), ERROR_SUCCESS);
    DWORD type = 0, value = 0, size = sizeof(value);
    ASSERT_EQ(RegQueryValueExA(section.Get(), "Sound", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(value, 1u);
}

TEST_F(ProfileTest, ValuesOfOtherTypesOrSizesReadAsTheDefault)
{
    RegKey section;
    ASSERT_EQ(section.Create(HKEY_CURRENT_USER, SectionPath("CurrentBuild").c_str(), KEY_SET_VALUE), ERROR_SUCCESS);
    const char text[] = "1";
    ASSERT_EQ(RegSetValueExA(section.Get(), "Pop", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text)),
              ERROR_SUCCESS);
    const BYTE four[4] = {1, 0, 0, 0};
    ASSERT_EQ(RegSetValueExA(section.Get(), "Anim", 0, REG_BINARY, four, sizeof(four)), ERROR_SUCCESS);
    const BYTE two[2] = {1, 0};
    ASSERT_EQ(RegSetValueExA(section.Get(), "Real", 0, REG_DWORD, two, sizeof(two)), ERROR_SUCCESS);
    const BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(RegSetValueExA(section.Get(), "AppLog", 0, REG_QWORD, eight, sizeof(eight)), ERROR_SUCCESS);
    const DWORD byHand = 42;
    ASSERT_EQ(RegSetValueExA(section.Get(), "Sound", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&byHand), 4),
              ERROR_SUCCESS);

    EXPECT_EQ(App().GetProfileInt("CurrentBuild", "Pop", 6), 6);
    EXPECT_EQ(App().GetProfileInt("CurrentBuild", "Anim", 6), 6);
    EXPECT_EQ(App().GetProfileInt("CurrentBuild", "Real", 6), 6);
    EXPECT_EQ(App().GetProfileInt("CurrentBuild", "AppLog", 6), 6);
    EXPECT_EQ(App().GetProfileInt("CurrentBuild", "Sound", 6), 42);
}

TEST_F(ProfileTest, NoRegistryKeyMeansNoProfile)
{
    App().SetRegistryKey("");
    EXPECT_FALSE(App().WriteProfileInt("CurrentBuild", "Pop", 1));
    EXPECT_EQ(App().GetProfileInt("CurrentBuild", "Pop", 5), 5);
    EXPECT_EQ(App().ProfileKeyPath("CurrentBuild"), "");

    RegKey root;
    EXPECT_NE(root.Open(HKEY_CURRENT_USER, ("Software\\" + key).c_str(), KEY_READ), ERROR_SUCCESS);
}

class MessageBoxTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        App().mainWindow = nullptr;
        if (window != nullptr)
            DestroyWindow(window);
    }
    HWND window = nullptr;
};

TEST_F(MessageBoxTest, CaptionIsTheApplicationNameAndTheButtonComesBack)
{
    MessageBoxWatcher watcher(IDNO);
    EXPECT_EQ(App().MessageBox("Are you sure?", MB_YESNO), IDNO);
    watcher.SetAnswer(IDYES);
    EXPECT_EQ(App().MessageBox("Again?", MB_YESNO), IDYES);

    ASSERT_EQ(watcher.Boxes().size(), 2u);
    const MessageBoxWatcher::Box& box = watcher.Boxes()[0];
    EXPECT_EQ(box.caption, "test_winlayer");
    EXPECT_EQ(box.text, "Are you sure?");
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(watcher.Boxes()[1].text, "Again?");
}

TEST_F(MessageBoxTest, OwnedByTheMainWindowOnlyWhileItIsVisible)
{
    window = MakeWindow(true);
    ASSERT_NE(window, nullptr);
    App().mainWindow = window;
    MessageBoxWatcher watcher;
    EXPECT_EQ(App().MessageBox("shown", MB_OK), IDOK);
    ShowWindow(window, SW_HIDE);
    EXPECT_EQ(App().MessageBox("hidden", MB_OK), IDOK);

    ASSERT_EQ(watcher.Boxes().size(), 2u);
    EXPECT_EQ(watcher.Boxes()[0].owner, window);
    EXPECT_EQ(watcher.Boxes()[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(watcher.Boxes()[1].owner, nullptr);
}

TEST(TestSupportTest, WatcherAnswersAndRecordsPlainMessageBoxes)
{
    MessageBoxWatcher watcher(IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "First text", "First caption", MB_OKCANCEL), IDCANCEL);
    watcher.SetAnswer(IDRETRY);
    EXPECT_EQ(MessageBoxA(nullptr, "Second text", "Second caption", MB_RETRYCANCEL | MB_ICONWARNING), IDRETRY);

    ASSERT_EQ(watcher.Boxes().size(), 2u);
    EXPECT_EQ(watcher.Boxes()[0].caption, "First caption");
    EXPECT_EQ(watcher.Boxes()[0].text, "First text");
    EXPECT_EQ(watcher.Boxes()[0].buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(watcher.Boxes()[1].caption, "Second caption");
    EXPECT_EQ(watcher.Boxes()[1].text, "Second text");
    watcher.Clear();
    EXPECT_TRUE(watcher.Boxes().empty());
}

TEST(TestSupportTest, WatcherLeavesOtherDialogsAlone)
{
    MessageBoxWatcher watcher;
    CDialogBase dialog(IDD_TEST_PLACED);
    ASSERT_TRUE(dialog.Create(nullptr));
    ASSERT_NE(GetDlgItem(dialog.hwnd, 0xFFFF), nullptr) << "a static like a message box's text";
    ShowWindow(dialog.hwnd, SW_SHOW);
    SetActiveWindow(dialog.hwnd);
    PumpWaitingMessages();
    EXPECT_TRUE(IsWindow(dialog.hwnd));
    EXPECT_TRUE(watcher.Boxes().empty());
}

bool timerFired = false;
void CALLBACK OnTestTimer(HWND, UINT, UINT_PTR, DWORD)
{
    timerFired = true;
}

TEST(TestSupportTest, PumpRunsMessagesUntilTheConditionHolds)
{
    timerFired = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, OnTestTimer);
    ASSERT_NE(timer, 0u);
    EXPECT_TRUE(PumpMessagesUntil([] { return timerFired; }, 5000));
    KillTimer(nullptr, timer);
}

TEST(TestSupportTest, PumpGivesUpAtTheDeadline)
{
    int asked = 0;
    DWORD start = GetTickCount();
    EXPECT_FALSE(PumpMessagesUntil(
        [&] {
            ++asked;
            return false;
        },
        100));
    EXPECT_GE(GetTickCount() - start, 90u);
    EXPECT_GT(asked, 1);
}

TEST(TestSupportTest, ScopedRegistryKeyDeletesTheWholeTree)
{
    std::string path = "Software\\" + UniqueTestName("TarnwickScopedKey");
    {
        ScopedRegistryKey scoped(HKEY_CURRENT_USER, path);
        RegKey deep;
        ASSERT_EQ(deep.Create(HKEY_CURRENT_USER, (path + "\\a\\b").c_str(), KEY_SET_VALUE), ERROR_SUCCESS);
        DWORD one = 1;
        ASSERT_EQ(RegSetValueExA(deep.Get(), "v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4),
                  ERROR_SUCCESS);
    }
    RegKey gone;
    EXPECT_NE(gone.Open(HKEY_CURRENT_USER, path.c_str(), KEY_READ), ERROR_SUCCESS);
}

TEST(TestSupportTest, TempFolderIsMadeAndRemovedWithItsContent)
{
    std::string path;
    {
        ScopedTempFolder folder;
        path = folder.Path();
        ASSERT_FALSE(path.empty());
        EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
        ASSERT_TRUE(CreateDirectoryA(folder.File("sub").c_str(), nullptr));
        for (const std::string& name : {folder.File("a.txt"), folder.File("sub\\b.txt")}) {
            HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            CloseHandle(file);
        }
        SetFileAttributesA(folder.File("a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ShellOpenTest, AnObserverTakesThePlaceOfTheShell)
{
    std::vector<std::string> opened;
    SetShellOpenObserver([&](const std::string& address) { opened.push_back(address); });
    ShellOpen("http://support.example.invalid/index.php?pd=&md=application");
    ShellOpen(nullptr);
    SetShellOpenObserver(nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"http://support.example.invalid/index.php?pd=&md=application", ""}));
}

// The real shell, without a browser: an address of a URL scheme registered
// for this test only, whose open command is shellopen_probe.exe. The probe
// reports the show state it was started with and the address it was given.
TEST(ShellOpenTest, TheShellOpensTheAddressHidden)
{
    char self[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    std::string probe(self, length);
    probe = probe.substr(0, probe.find_last_of('\\') + 1) + "shellopen_probe.exe";
    ASSERT_NE(GetFileAttributesA(probe.c_str()), INVALID_FILE_ATTRIBUTES) << probe;

    std::string scheme = UniqueTestName("twkprobe");
    scheme.erase(std::remove(scheme.begin(), scheme.end(), '-'), scheme.end());
    // Classes of the machine: Wine does not show the user's classes in the
    // merged view.
    ScopedRegistryKey schemeKey(HKEY_LOCAL_MACHINE, "Software\\Classes\\" + scheme);
    {
        RegKey key;
        ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, schemeKey.Path().c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
        const char description[] = "URL:Tarnwick test probe";
        RegSetValueExA(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(description), sizeof description);
        RegSetValueExA(key.Get(), "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
        RegKey command;
        ASSERT_EQ(command.Create(HKEY_LOCAL_MACHINE, (schemeKey.Path() + "\\shell\\open\\command").c_str(),
                                 KEY_ALL_ACCESS),
                  ERROR_SUCCESS);
        std::string line = "\"" + probe + "\" \"%1\"";
        RegSetValueExA(command.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(line.c_str()),
                       static_cast<DWORD>(line.size() + 1));
    }
    ScopedTempFolder folder("twkopen");
    ASSERT_FALSE(folder.Path().empty());
    std::string out = folder.File("probe.txt");
    ASSERT_TRUE(SetEnvironmentVariableA("TARNWICK_PROBE_OUT", out.c_str()));

    std::string address = scheme + ":page/index.html?a=1";
    ShellOpen(address.c_str());
    // The shell may start the handler after it returns.
    EXPECT_TRUE(PumpMessagesUntil(
        [&] { return GetFileAttributesA(out.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000))
        << "the shell did not start the probe";
    SetEnvironmentVariableA("TARNWICK_PROBE_OUT", nullptr);

    std::string report;
    HANDLE file = CreateFileA(out.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[1024] = {};
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer - 1, &read, nullptr);
    CloseHandle(file);
    report.assign(buffer, read);
    EXPECT_EQ(report, "show=" + std::to_string(SW_HIDE) + " args=\"" + address + "\"");
}

} // namespace
