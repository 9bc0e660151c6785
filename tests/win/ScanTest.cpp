// The scan of the computer, "Check All" and Clean on the main window.
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "AppFixture.h"
#include "win/RegKey.h"

namespace {

const char kCompatibility[] = "SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";

struct Row
{
    std::string name;
    std::string id;
    bool operator==(const Row& other) const { return name == other.name && id == other.id; }
};

class ScanTest : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        char cookies[MAX_PATH + 1] = {};
        if (!SHGetSpecialFolderPathA(nullptr, cookies, CSIDL_COOKIES, FALSE)) {
            ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, cookies, CSIDL_COOKIES, TRUE));
            createdCookieFolder = true;
        }
        cookieFolder = cookies;
        if (cookieFolder.back() != '\\')
            cookieFolder += '\\';
        std::string unique = UniqueTestName("twkscan");
        cookieA = unique + "-a.txt";
        cookieB = unique + "-b.txt";
        cookieOther = unique + "-c.dat";
        cookieDir = unique + "-d.txt";
        ASSERT_TRUE(WriteFileText(cookieFolder + cookieA, "a"));
        ASSERT_TRUE(WriteFileText(cookieFolder + cookieB, "b"));
        ASSERT_TRUE(WriteFileText(cookieFolder + cookieOther, "c"));
        ASSERT_TRUE(CreateDirectoryA((cookieFolder + cookieDir).c_str(), nullptr));

        // Class identifiers unique to this run, in upper case as the
        // registry keys spell them.
        for (char letter : std::string("ABCD")) {
            std::string id = "{" + UniqueTestName("TWKCLASS") + "-" + letter + "}";
            std::transform(id.begin(), id.end(), id.begin(), [](char c) { return static_cast<char>(toupper(c)); });
            ids.push_back(id);
            classKeys.push_back(std::make_unique<ScopedRegistryKey>(HKEY_CURRENT_USER, "Software\\Classes\\CLSID\\" + id));
            classKeys.push_back(std::make_unique<ScopedRegistryKey>(HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID\\" + id));
            killBits.push_back(std::make_unique<ScopedRegistryKey>(HKEY_LOCAL_MACHINE, kCompatibility + id));
        }
        RegisterTestClass(ids[0], "Alpha Helper Object");
        RegisterTestClass(ids[1], nullptr);
        RegisterTestClass(ids[2], "Gamma Object");
        RegisterTestClass(ids[3], "Delta Object");
        // The third class is already disabled, with flags of its own.
        RegKey present;
        ASSERT_EQ(present.Create(HKEY_LOCAL_MACHINE, (kCompatibility + ids[2]).c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);

        std::string lowerD = ids[3];
        std::transform(lowerD.begin(), lowerD.end(), lowerD.begin(), [](char c) { return static_cast<char>(tolower(c)); });
        // The first class is named twice; the second class's identifier also
        // stands in the last piece, which is never looked at.
        testTokens = {"Alpha Bar", ids[0], "Beta Thing", ids[1], "Gamma Bar", ids[2],
                      "Delta Bar", lowerD, "Alpha Again", ids[0], "tail " + ids[1]};
        Start();
        window->scanPauseMs = 0;
    }

    void TearDown() override
    {
        AppTest::TearDown();
        DeleteFileA((cookieFolder + cookieA).c_str());
        DeleteFileA((cookieFolder + cookieB).c_str());
        DeleteFileA((cookieFolder + cookieOther).c_str());
        RemoveDirectoryA((cookieFolder + cookieDir).c_str());
        if (createdCookieFolder)
            RemoveDirectoryA(cookieFolder.c_str());
        killBits.clear();
        classKeys.clear();
    }

    void RegisterTestClass(const std::string& id, const char* defaultValue)
    {
        // The user's classes show in the merged class view on Windows; where
        // they do not, the machine's classes are used.
        std::string path = "Software\\Classes\\CLSID\\" + id;
        RegKey key;
        ASSERT_EQ(key.Create(HKEY_CURRENT_USER, path.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
        RegKey merged;
        if (merged.Open(HKEY_CLASSES_ROOT, ("CLSID\\" + id).c_str(), KEY_READ) != ERROR_SUCCESS) {
            key.Close();
            RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
            ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, path.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
        }
        if (defaultValue != nullptr)
            RegSetValueExA(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(defaultValue),
                           static_cast<DWORD>(strlen(defaultValue) + 1));
    }

    std::vector<Row> Rows() const
    {
        std::vector<Row> rows;
        for (int i = 0; i < window->resultList.GetItemCount(); ++i)
            rows.push_back({window->resultList.GetItemText(i, 0), window->resultList.GetItemText(i, 1)});
        return rows;
    }

    // The rows that name one of this test's classes, in list order.
    std::vector<Row> TestClassRows() const
    {
        std::vector<Row> found;
        for (const Row& row : Rows()) {
            for (const std::string& id : ids) {
                std::string lower = id;
                std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return static_cast<char>(tolower(c)); });
                if (row.id.find(id) != std::string::npos || row.id.find(lower) != std::string::npos) {
                    found.push_back(row);
                    break;
                }
            }
        }
        return found;
    }

    int RowOf(const std::string& name, const std::string& id) const
    {
        std::vector<Row> rows = Rows();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].name == name && rows[i].id == id)
                return static_cast<int>(i);
        return -1;
    }

    std::string Text(const CControl& control) const
    {
        char text[512] = {};
        GetWindowTextA(control.GetSafeHwnd(), text, sizeof text);
        return text;
    }

    bool KillBit(const std::string& id, DWORD& type, DWORD& value) const
    {
        RegKey key;
        if (key.Open(HKEY_LOCAL_MACHINE, (kCompatibility + id).c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS)
            return false;
        DWORD size = sizeof(value);
        return RegQueryValueExA(key.Get(), "Compatibility Flags", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                &size) == ERROR_SUCCESS;
    }

    std::string cookieFolder;
    bool createdCookieFolder = false;
    std::string cookieA, cookieB, cookieOther, cookieDir;
    std::vector<std::string> ids;
    std::vector<std::string> testTokens;
    std::vector<std::unique_ptr<ScopedRegistryKey>> classKeys;
    std::vector<std::unique_ptr<ScopedRegistryKey>> killBits;
};

TEST_F(ScanTest, ListsCookiesFirstThenMatchingClasses)
{
    SpywareDefinitions::tokens = testTokens;
    ASSERT_TRUE(window->ScanComputer());

    std::vector<Row> rows = Rows();
    int cookieRows = 0;
    while (cookieRows < static_cast<int>(rows.size()) && rows[cookieRows].id == "Tracking Cookie")
        ++cookieRows;
    for (int i = cookieRows; i < static_cast<int>(rows.size()); ++i)
        EXPECT_NE(rows[i].id, "Tracking Cookie") << "cookie row after a class row at " << i;
    auto isCookie = [&](const std::string& name) {
        return std::find(rows.begin(), rows.begin() + cookieRows, Row{name, "Tracking Cookie"}) != rows.begin() + cookieRows;
    };
    EXPECT_TRUE(isCookie(cookieA));
    EXPECT_TRUE(isCookie(cookieB));
    EXPECT_TRUE(isCookie(cookieDir)) << "a folder named like a cookie is listed too";
    EXPECT_FALSE(isCookie(cookieOther));

    // Two rows for the class named twice, one for the class without a
    // default value; none for the disabled class nor the one spelled in
    // another case. The last piece is never examined.
    std::vector<Row> classes = TestClassRows();
    std::vector<Row> expected = {{"Alpha Bar", ids[0]}, {"Alpha Again", ids[0]}, {"Beta Thing", ids[1]}};
    EXPECT_EQ(classes.size(), expected.size());
    for (const Row& row : expected)
        EXPECT_NE(std::find(classes.begin(), classes.end(), row), classes.end()) << row.name << " " << row.id;
    // The two rows of one class follow each other in definition order.
    int first = RowOf("Alpha Bar", ids[0]);
    EXPECT_EQ(RowOf("Alpha Again", ids[0]), first + 1);

    EXPECT_EQ(Text(window->scanStatus), "Tarnwick Scan Complete!");
    EXPECT_EQ(Text(window->summaryLine), "Total Spyware Found: " + std::to_string(rows.size()));
    for (int i = 0; i < window->resultList.GetItemCount(); ++i)
        EXPECT_FALSE(window->resultList.GetCheck(i)) << "rows start unticked";

    // A second scan starts from an empty list.
    ASSERT_TRUE(window->ScanComputer());
    EXPECT_EQ(Rows(), rows);
}

// The main window with its sounds recorded instead of played.
class ListeningWindow : public TestMainWindow
{
public:
    std::vector<int> played;
    int PlayWaveResource(int id) override
    {
        played.push_back(id);
        return 1;
    }
};

TEST_F(ScanTest, EveryCompletedScanPlaysTheSquashSound)
{
    window.reset();
    sysTray.DeleteIcon();
    auto listening = std::make_unique<ListeningWindow>();
    ListeningWindow* heard = listening.get();
    window = std::move(listening);
    ASSERT_TRUE(window->Create(nullptr));
    PumpWaitingMessages();
    window->scanPauseMs = 0;
    heard->played.clear();
    // Whatever the sound setting says.
    window->playSound = 0;
    SpywareDefinitions::tokens.clear();
    ASSERT_TRUE(window->ScanComputer());
    EXPECT_EQ(heard->played, std::vector<int>{139});
    ASSERT_TRUE(window->ScanComputer());
    EXPECT_EQ(heard->played, (std::vector<int>{139, 139}));
}

TEST_F(ScanTest, EmptyDefinitionsListOnlyCookies)
{
    SpywareDefinitions::tokens.clear();
    ASSERT_TRUE(window->ScanComputer());
    std::vector<Row> rows = Rows();
    ASSERT_GE(rows.size(), 3u);
    for (const Row& row : rows)
        EXPECT_EQ(row.id, "Tracking Cookie");
    EXPECT_EQ(Text(window->summaryLine), "Total Spyware Found: " + std::to_string(rows.size()));
}

TEST_F(ScanTest, NoCookiesListsOnlyClasses)
{
    ASSERT_TRUE(DeleteFileA((cookieFolder + cookieA).c_str()));
    ASSERT_TRUE(DeleteFileA((cookieFolder + cookieB).c_str()));
    ASSERT_TRUE(RemoveDirectoryA((cookieFolder + cookieDir).c_str()));
    WIN32_FIND_DATAA found;
    HANDLE stray = FindFirstFileA((cookieFolder + "*.txt").c_str(), &found);
    if (stray != INVALID_HANDLE_VALUE)
        FindClose(stray);
    ASSERT_EQ(stray, INVALID_HANDLE_VALUE) << "another test left " << found.cFileName << " in the cookie folder";

    SpywareDefinitions::tokens = testTokens;
    ASSERT_TRUE(window->ScanComputer());
    std::vector<Row> rows = Rows();
    for (const Row& row : rows)
        EXPECT_NE(row.id, "Tracking Cookie") << row.name;
    // Only this test's classes are defined: they are the whole list.
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(TestClassRows().size(), 3u);
    EXPECT_EQ(Text(window->summaryLine), "Total Spyware Found: " + std::to_string(rows.size()));
}

TEST_F(ScanTest, ScanPictureClickRunsTheScan)
{
    SpywareDefinitions::tokens = testTokens;
    RECT rect;
    GetWindowRect(window->scanPicture.GetSafeHwnd(), &rect);
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ScreenToClient(window->hwnd, &point);
    SendMessageA(window->hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(point.x, point.y));
    EXPECT_EQ(Text(window->scanStatus), "Tarnwick Scan Complete!");
    EXPECT_EQ(TestClassRows().size(), 3u);
}

TEST_F(ScanTest, QuitRequestDuringScanIsPassedOnWithItsOwnCode)
{
    SpywareDefinitions::tokens = testTokens;
    // A message for the window waits behind the quit request.
    PostQuitMessage(5);
    window->checkAllBox.SetCheck(BST_CHECKED);
    ASSERT_TRUE(PostMessageA(window->hwnd, WM_COMMAND, MAKEWPARAM(IDC_CHECK_ALL, BN_CLICKED),
                             reinterpret_cast<LPARAM>(window->checkAllBox.GetSafeHwnd())));
    ASSERT_TRUE(window->ScanComputer());
    // The scan ran to its end and the quit request is back in the queue.
    EXPECT_EQ(TestClassRows().size(), 3u);
    EXPECT_EQ(Text(window->summaryLine), "Total Spyware Found: " + std::to_string(Rows().size()));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 111u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    // The window's command ran inside the scan: it ticked the cookie rows,
    // which were already listed, but none of the class rows after them.
    int first = RowOf(cookieA, "Tracking Cookie");
    ASSERT_GE(first, 0);
    EXPECT_TRUE(window->resultList.GetCheck(first));
    EXPECT_FALSE(window->resultList.GetCheck(RowOf("Beta Thing", ids[1])));
}

TEST_F(ScanTest, CheckAllFollowsTheBox)
{
    // An empty list: nothing to do, nothing breaks.
    window->checkAllBox.SetCheck(BST_CHECKED);
    Click(IDC_CHECK_ALL);
    EXPECT_EQ(window->resultList.GetItemCount(), 0);

    SpywareDefinitions::tokens = testTokens;
    ASSERT_TRUE(window->ScanComputer());
    int count = window->resultList.GetItemCount();
    ASSERT_GT(count, 0);
    Click(IDC_CHECK_ALL);
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE(window->resultList.GetCheck(i)) << i;
    window->checkAllBox.SetCheck(BST_UNCHECKED);
    Click(IDC_CHECK_ALL);
    for (int i = 0; i < count; ++i)
        EXPECT_FALSE(window->resultList.GetCheck(i)) << i;
    // A scan leaves the box as it is.
    window->checkAllBox.SetCheck(BST_CHECKED);
    ASSERT_TRUE(window->ScanComputer());
    EXPECT_EQ(window->checkAllBox.GetCheck(), BST_CHECKED);
}

TEST_F(ScanTest, CleanWithNothingTickedOnlyEmptiesTheList)
{
    SpywareDefinitions::tokens = testTokens;
    ASSERT_TRUE(window->ScanComputer());
    ASSERT_GT(window->resultList.GetItemCount(), 0);
    MessageBoxWatcher boxes(IDOK);
    Click(IDC_CLEAN_FILES);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Tarnwick Protection applied successfully!");
    EXPECT_EQ(boxes.Boxes()[0].caption, "Tarnwick");
    EXPECT_EQ(boxes.Boxes()[0].owner, window->hwnd);
    EXPECT_EQ(boxes.Boxes()[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(window->resultList.GetItemCount(), 0);
    EXPECT_EQ(Text(window->summaryLine), "Total Spyware Found: 0");
    EXPECT_TRUE(FileExists(cookieFolder + cookieA));
    EXPECT_TRUE(FileExists(cookieFolder + cookieB));
    DWORD type = 0, value = 0;
    EXPECT_FALSE(KillBit(ids[0], type, value));
    EXPECT_FALSE(KillBit(ids[1], type, value));
}

TEST_F(ScanTest, CleanPictureClickRunsClean)
{
    SpywareDefinitions::tokens = testTokens;
    ASSERT_TRUE(window->ScanComputer());
    window->resultList.SetCheck(RowOf(cookieB, "Tracking Cookie"), TRUE);
    RECT rect;
    GetWindowRect(window->cleanPicture.GetSafeHwnd(), &rect);
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ScreenToClient(window->hwnd, &point);
    MessageBoxWatcher boxes(IDOK);
    SendMessageA(window->hwnd, WM_LBUTTONDOWN, 0, MAKELPARAM(point.x, point.y));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Tarnwick Protection applied successfully!");
    EXPECT_EQ(window->resultList.GetItemCount(), 0);
    EXPECT_FALSE(FileExists(cookieFolder + cookieB));
    EXPECT_TRUE(FileExists(cookieFolder + cookieA));
}

TEST_F(ScanTest, CleanActsOnTickedRowsOnly)
{
    SpywareDefinitions::tokens = testTokens;
    ASSERT_TRUE(window->ScanComputer());
    int a = RowOf(cookieA, "Tracking Cookie");
    int alpha = RowOf("Alpha Bar", ids[0]);
    int alphaAgain = RowOf("Alpha Again", ids[0]);
    ASSERT_GE(a, 0);
    ASSERT_GE(alpha, 0);
    ASSERT_GE(alphaAgain, 0);
    ASSERT_GE(RowOf("Beta Thing", ids[1]), 0);
    window->resultList.SetCheck(a, TRUE);
    window->resultList.SetCheck(alpha, TRUE);
    window->resultList.SetCheck(alphaAgain, TRUE);

    MessageBoxWatcher boxes(IDOK);
    window->CleanFiles();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Tarnwick Protection applied successfully!");
    EXPECT_EQ(window->resultList.GetItemCount(), 0);
    EXPECT_EQ(Text(window->summaryLine), "Total Spyware Found: 0");

    EXPECT_FALSE(FileExists(cookieFolder + cookieA));
    EXPECT_TRUE(FileExists(cookieFolder + cookieB));
    EXPECT_TRUE(FileExists(cookieFolder + cookieDir));

    DWORD type = 0, value = 0;
    ASSERT_TRUE(KillBit(ids[0], type, value));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 0x400u);
    EXPECT_FALSE(KillBit(ids[1], type, value)) << "an unticked class stays enabled";

    // The new key lasts only until Windows restarts: a lasting key cannot
    // be made below it.
    HKEY child = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, (kCompatibility + ids[0] + "\\lasting").c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &child, nullptr);
    if (child != nullptr)
        RegCloseKey(child);
    EXPECT_EQ(rc, ERROR_CHILD_MUST_BE_VOLATILE);

    // The next scan leaves the cleaned class out.
    ASSERT_TRUE(window->ScanComputer());
    std::vector<Row> classes = TestClassRows();
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(classes[0], (Row{"Beta Thing", ids[1]}));
}

TEST_F(ScanTest, ExistingKillBitKeyKeepsItsPersistence)
{
    // The disabled class's key was made lasting by the test; Clean only sets
    // its value.
    window->resultList.InsertItem(0, "Gamma Bar");
    window->resultList.SetItemText(0, 1, ids[2].c_str());
    window->resultList.SetCheck(0, TRUE);
    MessageBoxWatcher boxes(IDOK);
    window->CleanFiles();
    DWORD type = 0, value = 0;
    ASSERT_TRUE(KillBit(ids[2], type, value));
    EXPECT_EQ(value, 0x400u);
    HKEY child = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (kCompatibility + ids[2] + "\\lasting").c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &child, nullptr),
              ERROR_SUCCESS);
    if (child != nullptr)
        RegCloseKey(child);
}

// A scan over every class registered in this prefix (about 600) runs to its
// end, without and with the pause per class; how long each took is printed
// for the record, not judged.
TEST_F(ScanTest, ScanCompletesOverEveryRegisteredClass)
{
    SpywareDefinitions::tokens.clear();
    RegKey classes;
    ASSERT_EQ(classes.Open(HKEY_CLASSES_ROOT, "CLSID", KEY_QUERY_VALUE), ERROR_SUCCESS);
    DWORD count = 0;
    RegQueryInfoKeyA(classes.Get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    for (DWORD pause : {0u, 35u}) {
        window->scanPauseMs = pause;
        auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(window->ScanComputer());
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("[ scan     ] %lu classes, pause %lu ms: %.2f s\n", static_cast<unsigned long>(count),
                    static_cast<unsigned long>(pause), seconds);
    }
    EXPECT_EQ(Text(window->scanStatus), "Tarnwick Scan Complete!");
}

} // namespace
