// The scan of the computer, "Check All" and Clean on the main window, with
// cookie files and registered classes of the test's own.
#include <shlobj.h>

#include <algorithm>
#include <list>

#include "AppFixture.h"

namespace {

const std::string kCompatibility = "SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";
using Rows = std::vector<std::pair<std::string, std::string>>;

class ScanTest : public AppTest
{
protected:
    void TearDown() override
    {
        AppTest::TearDown();
        for (const std::string& name : cookies)
            DeleteFileA((cookieFolder + name).c_str());
    }

    // The rows of this test's cookies and classes, in list order (a run that
    // crashed may have left cookies of its own).
    Rows Listed() const
    {
        Rows rows;
        for (int i = 0; i < window->resultList.GetItemCount(); ++i) {
            rows.emplace_back(window->resultList.GetItemText(i, 0), window->resultList.GetItemText(i, 1));
            if ((rows.back().first + rows.back().second).find(unique) == std::string::npos)
                rows.pop_back();
        }
        return rows;
    }

    const std::string unique = UniqueTestName("twk");
    std::string cookieFolder;
    std::vector<std::string> cookies, ids;
    std::list<ScopedRegistryKey> keys;
};

} // namespace

TEST_F(ScanTest, ListsCookiesAndDefinedClassesAndCleanDeletesAndDisablesTheTickedOnes)
{
    char folder[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COOKIES, TRUE));
    cookieFolder = std::string(folder) + "\\";
    for (const char* name : {"-a.txt", "-b.txt"}) {
        cookies.push_back(unique + name);
        std::ofstream(cookieFolder + cookies.back()) << "cookie";
    }
    // Classes A, B and C are registered, C with its kill bit key already.
    for (const char* letter : {"-A}", "-B}", "-C}"}) {
        ids.push_back("{" + unique + letter);
        keys.emplace_back(HKEY_CLASSES_ROOT, "CLSID\\" + ids.back());
        keys.emplace_back(HKEY_LOCAL_MACHINE, kCompatibility + ids.back());
        SHSetValueA(HKEY_CLASSES_ROOT, ("CLSID\\" + ids.back()).c_str(), nullptr, REG_SZ, "", 1);
    }
    SHSetValueA(HKEY_LOCAL_MACHINE, (kCompatibility + ids[2]).c_str(), nullptr, REG_SZ, "", 1);
    TestMainWindow& w = Start();
    // The first piece has nothing before it to name it; the last piece is
    // never looked at.
    SpywareDefinitions::tokens = {"Heading " + ids[0], "Alpha", ids[0], "Beta", ids[1], "Gamma", ids[2],
                                  "Again", ids[0], "tail " + ids[1]};
    Rows expected = {{cookies[0], "Tracking Cookie"}, {cookies[1], "Tracking Cookie"}, {"Heading " + ids[0], "Heading " + ids[0]},
                     {"Alpha", ids[0]}, {"Again", ids[0]}, {"Beta", ids[1]}};
    ASSERT_TRUE(w.ScanComputer());
    Rows rows = Listed();
    std::sort(rows.begin(), rows.begin() + std::min<size_t>(2, rows.size()));
    EXPECT_EQ(rows, expected);
    const int count = w.resultList.GetItemCount();
    EXPECT_EQ(w.summaryLine.GetWindowText(), "Total Spyware Found: " + std::to_string(count));

    w.checkAllBox.SetCheck(BST_CHECKED);
    Click(IDC_CHECK_ALL);
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE(w.resultList.GetCheck(i)) << i;
    // Clean: the first cookie file and the rows that name class A.
    for (int i = 0; i < count; ++i)
        w.resultList.SetCheck(i, w.resultList.GetItemText(i, 0) == cookies[0] || w.resultList.GetItemText(i, 1) == ids[0]);
    MessageBoxWatcher boxes;
    Click(IDC_CLEAN_FILES);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Tarnwick Protection applied successfully!");
    EXPECT_EQ(std::to_string(w.resultList.GetItemCount()) + w.summaryLine.GetWindowText(), "0Total Spyware Found: 0");
    DWORD type = 0, flags = 0, size = sizeof flags;
    ASSERT_EQ(SHGetValueA(HKEY_LOCAL_MACHINE, (kCompatibility + ids[0]).c_str(), "Compatibility Flags", &type, &flags, &size), 0u);
    EXPECT_TRUE(type == REG_DWORD && flags == 0x400);
    EXPECT_NE(SHGetValueA(HKEY_LOCAL_MACHINE, (kCompatibility + ids[1]).c_str(), "Compatibility Flags", &type, &flags, &size), 0u);
    // What cannot be cleaned stays listed and is named: a read-only cookie
    // file, and a class whose kill-bit key cannot be made (a name too long
    // for the registry). Unticked rows go as always.
    const std::string readOnly = cookieFolder + cookies[1], tooLong = unique + std::string(300, 'X');
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    for (const auto& [name, id] : Rows{{"", "x"}, {"Gone", "Tracking Cookie"}, {"Long", tooLong}, {cookies[1], "Tracking Cookie"}}) {
        w.resultList.SetItemText(w.resultList.InsertItem(0, name.c_str()), 1, id.c_str());
        w.resultList.SetCheck(0, !name.empty());
    }
    Click(IDC_CLEAN_FILES);
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_NE(boxes.Boxes()[1].text.find(cookies[1] + ": the file could not be deleted"), std::string::npos);
    EXPECT_NE(boxes.Boxes()[1].text.find("administrator rights are needed"), std::string::npos) << boxes.Boxes()[1].text;
    EXPECT_EQ(Listed(), (Rows{{cookies[1], "Tracking Cookie"}, {"Long", tooLong}}));
    EXPECT_EQ(w.summaryLine.GetWindowText(), "Total Spyware Found: 2");
    // During a scan the window's own messages are handled ("Check All" ticks
    // the cookie rows listed so far); a quit request is put back for the
    // program's own loop.
    PostQuitMessage(5);
    PostMessageA(w.hwnd, WM_COMMAND, IDC_CHECK_ALL, 0);
    ASSERT_TRUE(w.ScanComputer());
    EXPECT_EQ(Listed(), (Rows{{cookies[1], "Tracking Cookie"}, {"Beta", ids[1]}}));
    EXPECT_TRUE(w.resultList.GetCheck(0) && !w.resultList.GetCheck(w.resultList.GetItemCount() - 1));
    EXPECT_EQ(w.sounds, std::vector<int>(2, IDR_SQUASH_WAVE));
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 111);
}
