// The main window's start-up, its settings, autostart and data files.
#include "AppFixture.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

LOGFONTA FontOf(HWND control)
{
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    HFONT handle = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (handle != nullptr)
        GetObjectA(handle, sizeof font, &font);
    return font;
}

std::string MenuText(HMENU menu, UINT position)
{
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

std::string ColumnText(HWND list, int column, int& width)
{
    char text[64] = {};
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    if (!SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info)))
        return "<none>";
    width = info.cx;
    EXPECT_EQ(info.iSubItem, column);
    EXPECT_EQ(info.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    return text;
}

bool IsClassId(const std::string& text)
{
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        return false;
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        char c = text[i];
        if (dash ? c != '-' : !isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

std::string ModuleFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\'));
}

} // namespace

TEST_F(AppTest, StartUpBuildsTheWindow)
{
    TestMainWindow& w = Start();
    ASSERT_NE(w.hwnd, nullptr);
    EXPECT_EQ(app->mainWindow, w.hwnd);

    // The working directory as the system reports it.
    EXPECT_EQ(w.startFolder, workingFolder);

    // System menu: a separator, then "&About Gravelin..." with command 16.
    HMENU systemMenu = GetSystemMenu(w.hwnd, FALSE);
    int count = GetMenuItemCount(systemMenu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(systemMenu, count - 1), 16u);
    EXPECT_EQ(MenuText(systemMenu, count - 1), "&About Gravelin...");
    EXPECT_TRUE(GetMenuState(systemMenu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);

    // Fonts: one record, so the status font keeps the summary's underline.
    HDC screen = GetDC(w.hwnd);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(w.hwnd, screen);
    LOGFONTA scan = FontOf(w.scanStatus.hwnd);
    EXPECT_EQ(scan.lfHeight, -MulDiv(10, dpi, 72));
    EXPECT_EQ(scan.lfWeight, 700);
    EXPECT_FALSE(scan.lfUnderline);
    EXPECT_STREQ(scan.lfFaceName, "Tahoma");
    LOGFONTA summary = FontOf(w.summaryLine.hwnd);
    EXPECT_EQ(summary.lfHeight, 14);
    EXPECT_EQ(summary.lfWeight, 700);
    EXPECT_TRUE(summary.lfUnderline);
    EXPECT_STREQ(summary.lfFaceName, "Arial");
    LOGFONTA status = FontOf(w.statusLine.hwnd);
    EXPECT_EQ(status.lfHeight, 12);
    EXPECT_EQ(status.lfWeight, 700);
    EXPECT_TRUE(status.lfUnderline);
    EXPECT_STREQ(status.lfFaceName, "Tahoma");
    EXPECT_EQ(w.statusLine.GetWindowText(), "Protecting you against 25 spyware programs");

    // The result list: check boxes and two 200-pixel columns.
    EXPECT_TRUE(w.resultList.GetExtendedStyle() & LVS_EX_CHECKBOXES);
    int width = 0;
    EXPECT_EQ(ColumnText(w.resultList.hwnd, 0, width), "SpyWare");
    EXPECT_EQ(width, 200);
    EXPECT_EQ(ColumnText(w.resultList.hwnd, 1, width), "SpyWare ID");
    EXPECT_EQ(width, 200);
    EXPECT_EQ(ColumnText(w.resultList.hwnd, 2, width), "<none>");

    // Icons, the drag icon and the block list.
    ASSERT_NE(w.appIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(w.hwnd, WM_GETICON, ICON_BIG, 0)), w.appIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(w.hwnd, WM_GETICON, ICON_SMALL, 0)), w.appIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(w.hwnd, WM_QUERYDRAGICON, 0, 0)), w.appIcon);
    EXPECT_EQ(BlockList.size(), 37u);

    // The tray icon is there, with the program's tip and callback.
    EXPECT_NE(sysTray.CurrentIcon(), nullptr);

    // Centred horizontally on the work area at its full height.
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT rect;
    GetWindowRect(w.hwnd, &rect);
    int expectedLeft = (area.left + area.right) / 2 - (rect.right - rect.left) / 2;
    EXPECT_LE(std::abs(rect.left - expectedLeft), 1);
}

TEST_F(AppTest, FreshProfileStartsWithEverySettingOff)
{
    TestMainWindow& w = Start();
    EXPECT_EQ(w.popupBlocking, 0);
    EXPECT_EQ(w.animateIcon, 0);
    EXPECT_EQ(w.playSound, 0);
    EXPECT_EQ(w.squashLogging, 0);
    EXPECT_EQ(w.realTimeMonitoring, 0);
    for (CButtonControl* box : {&w.popupCheck, &w.animateCheck, &w.soundCheck, &w.squashLogCheck, &w.realTimeCheck})
        EXPECT_EQ(box->GetCheck(), BST_UNCHECKED);
}

TEST_F(AppTest, SettingsLoadIntoFieldsAndBoxesAndSaveFromTheBoxes)
{
    SeedSetting("Pop", 1);
    SeedSetting("Anim", 0);
    SeedSetting("Sound", 1);
    SeedSetting("AppLog", 1);
    SeedSetting("Real", 0);
    TestMainWindow& w = Start();

    EXPECT_EQ(w.popupBlocking, 1);
    EXPECT_EQ(w.animateIcon, 0);
    EXPECT_EQ(w.playSound, 1);
    EXPECT_EQ(w.squashLogging, 1);
    EXPECT_EQ(w.realTimeMonitoring, 0);
    EXPECT_EQ(w.popupCheck.GetCheck(), BST_CHECKED);
    EXPECT_EQ(w.animateCheck.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(w.soundCheck.GetCheck(), BST_CHECKED);
    EXPECT_EQ(w.squashLogCheck.GetCheck(), BST_CHECKED);
    EXPECT_EQ(w.realTimeCheck.GetCheck(), BST_UNCHECKED);

    // Every box flipped, then "Save Settings".
    w.popupCheck.SetCheck(BST_UNCHECKED);
    w.animateCheck.SetCheck(BST_CHECKED);
    w.soundCheck.SetCheck(BST_UNCHECKED);
    w.squashLogCheck.SetCheck(BST_UNCHECKED);
    w.realTimeCheck.SetCheck(BST_CHECKED);
    MessageBoxWatcher boxes;
    Click(IDOK);

    const struct {
        const char* name;
        DWORD value;
    } expected[] = {{"Pop", 0}, {"Anim", 1}, {"Sound", 0}, {"AppLog", 0}, {"Real", 1}};
    for (const auto& e : expected) {
        DWORD type = 0, value = 99;
        ASSERT_TRUE(ReadSetting(e.name, type, value)) << e.name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << e.name;
        EXPECT_EQ(value, e.value) << e.name;
    }
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Settings Saved Successfully!");
    EXPECT_EQ(boxes.Boxes()[0].caption, "Tarnwick");
    EXPECT_EQ(boxes.Boxes()[0].owner, w.hwnd);
    EXPECT_EQ(boxes.Boxes()[0].buttons, std::vector<int>{IDOK});

    // The window stays, and the running settings are the start-up ones.
    EXPECT_TRUE(IsWindow(w.hwnd));
    EXPECT_EQ(w.popupBlocking, 1);
    EXPECT_EQ(w.animateIcon, 0);
    EXPECT_EQ(w.playSound, 1);
    EXPECT_EQ(w.squashLogging, 1);
    EXPECT_EQ(w.realTimeMonitoring, 0);

    // Saving again shows the message again.
    Click(IDOK);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
}

TEST_F(AppTest, LoadAtStartupSwitchesTheRunValue)
{
    RunValueGuard guard;
    TestMainWindow& w = Start();
    EXPECT_FALSE(w.IsAutostartOn());

    Command(ID_TRAY_LOAD_AT_STARTUP);
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(RunValueGuard::Read(type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    std::string command = workingFolder + "\\Gravelin.exe";
    EXPECT_EQ(data, command + std::string(1, '\0'));
    EXPECT_TRUE(w.IsAutostartOn());

    Command(ID_TRAY_LOAD_AT_STARTUP);
    EXPECT_FALSE(RunValueGuard::Read(type, data));
    EXPECT_FALSE(w.IsAutostartOn());

    // The data is built from the start folder each time.
    w.startFolder = "C:\\Elsewhere";
    Command(ID_TRAY_LOAD_AT_STARTUP);
    ASSERT_TRUE(RunValueGuard::Read(type, data));
    EXPECT_EQ(data, std::string("C:\\Elsewhere\\Gravelin.exe") + std::string(1, '\0'));
}

TEST_F(AppTest, AnyHandWrittenRunValueCountsAsOnAndIsDeleted)
{
    RunValueGuard guard;
    TestMainWindow& w = Start();

    const char text[] = "notepad.exe";
    RunValueGuard::Write(REG_SZ, text, sizeof text);
    EXPECT_TRUE(w.IsAutostartOn());
    Command(ID_TRAY_LOAD_AT_STARTUP);
    DWORD type = 0;
    std::string data;
    EXPECT_FALSE(RunValueGuard::Read(type, data));

    DWORD number = 7;
    RunValueGuard::Write(REG_DWORD, &number, sizeof number);
    EXPECT_TRUE(w.IsAutostartOn());
    Command(ID_TRAY_LOAD_AT_STARTUP);
    EXPECT_FALSE(RunValueGuard::Read(type, data));
    EXPECT_FALSE(w.IsAutostartOn());
}

TEST_F(AppTest, DefinitionsComeFromTheStartFolder)
{
    ASSERT_TRUE(CopyFileA((ModuleFolder() + "\\deda.twk").c_str(), folder->File("deda.twk").c_str(), FALSE))
        << "deda.twk beside the test executable";
    TestMainWindow& w = Start();
    (void)w;

    const std::vector<std::string>& records = SpywareDefinitions::records;
    const std::vector<std::string>& tokens = SpywareDefinitions::tokens;
    ASSERT_GE(records.size(), 3u);
    // Heading, then name and identifier per definition, then the last
    // record's pieces are never split off.
    ASSERT_EQ(tokens.size(), 2 * (records.size() - 2) + 2);
    EXPECT_FALSE(IsClassId(tokens.front()));
    for (size_t i = 1; i + 1 < tokens.size(); ++i) {
        bool even = i % 2 == 0;
        EXPECT_EQ(IsClassId(tokens[i]), even) << i << ": " << tokens[i];
    }
    EXPECT_EQ(tokens[1], "Comet Cursor");
    EXPECT_EQ(tokens[2], "{1678F7E1-C422-11D0-AD7D-00400515CAAA}");
}

TEST_F(AppTest, NoDefinitionsFileLeavesBothListsEmpty)
{
    // A stale list from an earlier load is not kept.
    SpywareDefinitions::records = {"a;b", "c;d", "e"};
    Start();
    EXPECT_TRUE(SpywareDefinitions::records.empty());
    EXPECT_TRUE(SpywareDefinitions::tokens.empty());
}

TEST_F(AppTest, DamagedDefinitionsFileKeepsTheWholeRecords)
{
    // Count 3; "x;y" whole, then "nam" cut short.
    const char image[] = "\x03\x00\x03x;y\x05nam";
    std::string bytes(image, sizeof image - 1);
    ASSERT_TRUE(WriteFileText(folder->File("deda.twk"), bytes));
    Start();
    EXPECT_EQ(SpywareDefinitions::records, std::vector<std::string>{"x;y"});
    EXPECT_TRUE(SpywareDefinitions::tokens.empty());
}

TEST_F(AppTest, SquashLogComesFromTheStartFolderWithShiftedFields)
{
    std::string text =
        "Title$http://a.test/$8/20/2004$Popup\r\n"
        "$http://b.test/$1/2/2004$Spyware\r\n"   // no title: every field moves left
        "T$$u$$d$t$extra\r\n"                    // runs of "$" are one separator
        "\r\n"
        "last$u2$d2$Popup";                       // no line end
    ASSERT_TRUE(WriteFileText(folder->File("hist.twk"), text));
    Start();

    ASSERT_EQ(squashLog.GetCount(), 5);
    std::string t, u, d, y;
    ASSERT_TRUE(squashLog.GetEntry(0, t, u, d, y));
    EXPECT_EQ(std::vector<std::string>({t, u, d, y}),
              std::vector<std::string>({"Title", "http://a.test/", "8/20/2004", "Popup"}));
    ASSERT_TRUE(squashLog.GetEntry(1, t, u, d, y));
    EXPECT_EQ(std::vector<std::string>({t, u, d, y}),
              std::vector<std::string>({"http://b.test/", "1/2/2004", "Spyware", ""}));
    ASSERT_TRUE(squashLog.GetEntry(2, t, u, d, y));
    EXPECT_EQ(std::vector<std::string>({t, u, d, y}), std::vector<std::string>({"T", "u", "d", "t"}));
    ASSERT_TRUE(squashLog.GetEntry(3, t, u, d, y));
    EXPECT_EQ(std::vector<std::string>({t, u, d, y}), std::vector<std::string>({"", "", "", ""}));
    ASSERT_TRUE(squashLog.GetEntry(4, t, u, d, y));
    EXPECT_EQ(std::vector<std::string>({t, u, d, y}), std::vector<std::string>({"last", "u2", "d2", "Popup"}));

    // One line added by hand goes through the same parser.
    window->AddSquashLogLine("$$only$");
    ASSERT_TRUE(squashLog.GetEntry(5, t, u, d, y));
    EXPECT_EQ(std::vector<std::string>({t, u, d, y}), std::vector<std::string>({"only", "", "", ""}));
}

TEST_F(AppTest, NoSquashLogFileStartsAnEmptyLog)
{
    Start();
    EXPECT_EQ(squashLog.GetCount(), 0);
}
