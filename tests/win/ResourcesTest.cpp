// The resources of the program, compiled into this test module from the same
// resource script as Gravelin.exe: pictures, icons, menu, string, sound,
// dialog templates, version record and manifest.
#include "res/resource.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

const int kNoId = -1;  // controls without an id of their own

// The bytes of a resource of this module; empty when there is none.
std::string ResourceBytes(LPCSTR name, LPCSTR type)
{
    HRSRC found = FindResourceA(Module(), name, type);
    if (!found)
        return std::string();
    HGLOBAL loaded = LoadResource(Module(), found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return std::string();
    return std::string(static_cast<const char*>(data), SizeofResource(Module(), found));
}

std::string ResourceBytes(int id, LPCSTR type) { return ResourceBytes(MAKEINTRESOURCEA(id), type); }

std::uint32_t U16(const std::string& bytes, std::size_t at)
{
    return static_cast<unsigned char>(bytes.at(at)) | (static_cast<unsigned char>(bytes.at(at + 1)) << 8);
}

std::uint32_t U32(const std::string& bytes, std::size_t at) { return U16(bytes, at) | (U16(bytes, at + 2) << 16); }

// ---- Bitmaps -------------------------------------------------------------

struct BitmapSize
{
    int id;
    LONG width;
    LONG height;
};

const BitmapSize kBitmaps[] = {
    {IDB_SPLASH, 450, 300}, {IDB_BANNER, 547, 73}, {IDB_PANEL_STRIP, 547, 18}, {IDB_SCAN, 126, 37},
    {IDB_UPDATE, 40, 36},   {IDB_EXIT, 40, 36},    {IDB_CLEAN, 109, 33},
};

TEST(Bitmaps, StoredAsUncompressedBottomUp24Bit)
{
    for (const BitmapSize& expected : kBitmaps) {
        SCOPED_TRACE(expected.id);
        const std::string bytes = ResourceBytes(expected.id, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
        ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        std::memcpy(&header, bytes.data(), sizeof header);
        EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(header.biWidth, expected.width);
        EXPECT_EQ(header.biHeight, expected.height);  // positive: bottom-up
        EXPECT_EQ(header.biBitCount, 24);
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
        const std::size_t stride = (expected.width * 3 + 3) & ~3;
        EXPECT_GE(bytes.size(), header.biSize + stride * expected.height);
    }
}

TEST(Bitmaps, LoadAsSectionsOfTheirSizeAndDepth)
{
    for (const BitmapSize& expected : kBitmaps) {
        SCOPED_TRACE(expected.id);
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageA(Module(), MAKEINTRESOURCEA(expected.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        DIBSECTION section = {};
        ASSERT_EQ(GetObjectA(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
        EXPECT_EQ(section.dsBm.bmWidth, expected.width);
        EXPECT_EQ(section.dsBm.bmHeight, expected.height);
        EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
        DeleteObject(bitmap);
    }
}

// ---- Icons ---------------------------------------------------------------

#pragma pack(push, 2)
struct GroupIconEntry
{
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

struct IconImage
{
    GroupIconEntry entry;
    BITMAPINFOHEADER header;  // of the single image
    std::string bytes;
};

// The one image of a single-image icon group.
bool ReadSingleIcon(int groupId, IconImage& image)
{
    const std::string group = ResourceBytes(groupId, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    if (group.size() != 6 + sizeof(GroupIconEntry)) {
        ADD_FAILURE() << "icon " << groupId << " group of " << group.size() << " bytes";
        return false;
    }
    EXPECT_EQ(U16(group, 2), 1u);  // an icon, not a cursor
    EXPECT_EQ(U16(group, 4), 1u);  // one image
    std::memcpy(&image.entry, group.data() + 6, sizeof image.entry);
    image.bytes = ResourceBytes(image.entry.id, MAKEINTRESOURCEA(3) /* RT_ICON */);
    if (image.bytes.size() < sizeof image.header) {
        ADD_FAILURE() << "icon " << groupId << " has no image";
        return false;
    }
    std::memcpy(&image.header, image.bytes.data(), sizeof image.header);
    return true;
}

SIZE LoadedIconSize(int id)
{
    SIZE size = {0, 0};
    HICON icon = static_cast<HICON>(LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, 0));
    EXPECT_NE(icon, nullptr) << id;
    if (!icon)
        return size;
    ICONINFO info = {};
    if (GetIconInfo(icon, &info)) {
        BITMAP colour = {};
        if (info.hbmColor && GetObjectA(info.hbmColor, sizeof colour, &colour)) {
            size.cx = colour.bmWidth;
            size.cy = colour.bmHeight;
        }
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
    }
    DestroyIcon(icon);
    return size;
}

TEST(Icons, TrayIconIsOne40By41ImageIn24BitColour)
{
    IconImage image;
    ASSERT_TRUE(ReadSingleIcon(IDI_TARNWICK, image));
    EXPECT_EQ(image.entry.width, 40);
    EXPECT_EQ(image.entry.height, 41);
    EXPECT_EQ(image.entry.bitCount, 24);
    EXPECT_EQ(image.header.biWidth, 40);
    EXPECT_EQ(image.header.biHeight, 2 * 41);  // colour and mask
    EXPECT_EQ(image.header.biBitCount, 24);

    const SIZE size = LoadedIconSize(IDI_TARNWICK);
    EXPECT_EQ(size.cx, 40);
    EXPECT_EQ(size.cy, 41);
}

TEST(Icons, FourDistinctAnimationFramesOf32By32In256Colours)
{
    std::vector<std::string> pictures;
    for (int id = IDI_SQUASH_FRAME1; id <= IDI_SQUASH_FRAME4; ++id) {
        SCOPED_TRACE(id);
        IconImage image;
        ASSERT_TRUE(ReadSingleIcon(id, image));
        EXPECT_EQ(image.entry.width, 32);
        EXPECT_EQ(image.entry.height, 32);
        EXPECT_EQ(image.entry.bitCount, 8);
        EXPECT_EQ(image.header.biBitCount, 8);
        EXPECT_EQ(image.header.biWidth, 32);
        EXPECT_EQ(image.header.biHeight, 64);
        pictures.push_back(image.bytes);

        HICON icon = LoadIcon(Module(), MAKEINTRESOURCE(id));
        EXPECT_NE(icon, nullptr);
    }
    // An animation: each frame differs from the one before it.
    for (std::size_t i = 0; i < pictures.size(); ++i)
        EXPECT_TRUE(pictures[i] != pictures[(i + 1) % pictures.size()]) << "frames " << i << " and next";
}

TEST(Icons, AboutIconIs32By32)
{
    IconImage image;
    ASSERT_TRUE(ReadSingleIcon(IDI_ABOUT, image));
    EXPECT_EQ(image.entry.width, 32);
    EXPECT_EQ(image.entry.height, 32);
    const SIZE size = LoadedIconSize(IDI_ABOUT);
    EXPECT_EQ(size.cx, 32);
    EXPECT_EQ(size.cy, 32);
}

// ---- Menu and string -----------------------------------------------------

TEST(TrayMenu, OnePopupWithTheNineEntriesInOrder)
{
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_TRAYMENU));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 1);
    char title[64] = {};
    GetMenuStringA(menu, 0, title, sizeof title, MF_BYPOSITION);
    EXPECT_STREQ(title, "Tarnwick");
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);

    struct Entry
    {
        UINT id;  // 0: separator
        const char* text;
        bool checked;
    };
    const Entry expected[] = {
        {ID_TRAY_LAUNCH, "Launch Tarnwick", false},
        {0, "", false},
        {ID_TRAY_REALTIME, "Enable Realtime Monitor", true},
        {ID_TRAY_SQUASH_LOG, "What did I Squash?", false},
        {0, "", false},
        {ID_TRAY_SUPPORT, "Support", false},
        {0, "", false},
        {ID_TRAY_LOAD_AT_STARTUP, "Load at Startup", true},
        {ID_TRAY_EXIT, "Exit", false},
    };
    ASSERT_EQ(GetMenuItemCount(popup), 9);
    for (int position = 0; position < 9; ++position) {
        SCOPED_TRACE(position);
        const Entry& entry = expected[position];
        char text[64] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ASSERT_TRUE(GetMenuItemInfoA(popup, position, TRUE, &info));
        EXPECT_EQ(info.hSubMenu, nullptr);
        if (entry.id == 0) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR);
            continue;
        }
        EXPECT_FALSE(info.fType & MFT_SEPARATOR);
        EXPECT_EQ(info.wID, entry.id);
        EXPECT_STREQ(text, entry.text);
        EXPECT_EQ((info.fState & MFS_CHECKED) != 0, entry.checked);
        EXPECT_FALSE(info.fState & (MFS_DISABLED | MFS_GRAYED));
    }
    DestroyMenu(menu);
}

TEST(Strings, AboutItemText)
{
    char text[64] = {};
    EXPECT_EQ(LoadStringA(Module(), IDS_ABOUTBOX, text, sizeof text), 18);
    EXPECT_STREQ(text, "&About Gravelin...");
}

// ---- Sound ---------------------------------------------------------------

TEST(Sound, SquashSoundIsAPcmMono22050Hz8BitWave)
{
    // Looked up the way the program plays it: by the name "#139".
    const std::string wave = ResourceBytes("#139", "WAVE");
    ASSERT_GE(wave.size(), 44u);
    EXPECT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(U32(wave, 4), wave.size() - 8);
    EXPECT_EQ(wave.substr(8, 4), "WAVE");

    // Walk the chunks: a PCM format chunk, then the samples.
    bool haveFormat = false;
    std::uint32_t dataBytes = 0;
    std::size_t at = 12;
    while (at + 8 <= wave.size()) {
        const std::string id = wave.substr(at, 4);
        const std::uint32_t size = U32(wave, at + 4);
        ASSERT_LE(at + 8 + size, wave.size()) << id;
        if (id == "fmt ") {
            ASSERT_GE(size, 16u);
            haveFormat = true;
            EXPECT_EQ(U16(wave, at + 8), 1u);        // PCM
            EXPECT_EQ(U16(wave, at + 10), 1u);       // mono
            EXPECT_EQ(U32(wave, at + 12), 22050u);   // samples a second
            EXPECT_EQ(U32(wave, at + 16), 22050u);   // bytes a second
            EXPECT_EQ(U16(wave, at + 20), 1u);       // block
            EXPECT_EQ(U16(wave, at + 22), 8u);       // bits a sample
        } else if (id == "data") {
            EXPECT_TRUE(haveFormat) << "samples before the format";
            dataBytes = size;
        }
        at += 8 + size + (size & 1);
    }
    EXPECT_TRUE(haveFormat);
    // A short sound of about three quarters of a second.
    EXPECT_GT(dataBytes, 15000u);
    EXPECT_LT(dataBytes, 18000u);
    EXPECT_GT(wave.size(), 15000u);
    EXPECT_LT(wave.size(), 18000u);
}

// ---- Dialog templates ----------------------------------------------------

// One dialog template in the extended layout, read field by field.
struct DialogItem
{
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::string className;  // predefined classes by name ("Button", "Static", ...)
    std::string text;
    int imageId = -1;  // title given as an ordinal (a picture's resource id)
};

struct DialogTemplate
{
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string title;
    int pointSize = 0;
    std::string face;
    std::vector<DialogItem> items;
};

class TemplateReader
{
public:
    explicit TemplateReader(const std::string& bytes) : bytes(bytes) {}

    std::uint32_t Word()
    {
        const std::uint32_t value = U16(bytes, pos);
        pos += 2;
        return value;
    }
    std::uint32_t DWord()
    {
        const std::uint32_t value = U32(bytes, pos);
        pos += 4;
        return value;
    }
    short Short() { return static_cast<short>(Word()); }
    void Align() { pos = (pos + 3) & ~static_cast<std::size_t>(3); }

    // A string of 16-bit characters (all ours are ASCII).
    std::string Text()
    {
        std::string text;
        for (std::uint32_t c = Word(); c != 0; c = Word())
            text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        return text;
    }
    // A name or an ordinal: 0 none, 0xFFFF then an ordinal, else a string.
    void NameOrOrdinal(std::string& name, int& ordinal)
    {
        ordinal = -1;
        const std::uint32_t first = U16(bytes, pos);
        if (first == 0xFFFF) {
            pos += 2;
            ordinal = static_cast<int>(Word());
        } else {
            name = Text();
        }
    }
    void Skip(std::size_t count) { pos += count; }

private:
    const std::string& bytes;
    std::size_t pos = 0;
};

std::string PredefinedClass(int ordinal)
{
    switch (ordinal) {
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x83: return "ListBox";
    case 0x84: return "ScrollBar";
    case 0x85: return "ComboBox";
    default: return "#" + std::to_string(ordinal);
    }
}

DialogTemplate ReadDialog(int id)
{
    DialogTemplate dialog;
    const std::string bytes = ResourceBytes(id, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    EXPECT_GE(bytes.size(), 26u) << "dialog " << id;
    if (bytes.size() < 26)
        return dialog;
    TemplateReader in(bytes);
    EXPECT_EQ(in.Word(), 1u);       // version
    EXPECT_EQ(in.Word(), 0xFFFFu);  // extended template
    in.DWord();                     // help id
    dialog.exStyle = in.DWord();
    dialog.style = in.DWord();
    const std::uint32_t count = in.Word();
    dialog.x = in.Short();
    dialog.y = in.Short();
    dialog.cx = in.Short();
    dialog.cy = in.Short();
    std::string name;
    int ordinal;
    in.NameOrOrdinal(name, ordinal);  // menu
    EXPECT_TRUE(name.empty() && ordinal == -1) << "dialog " << id << " has a menu";
    in.NameOrOrdinal(name, ordinal);  // class
    EXPECT_TRUE(name.empty() && ordinal == -1) << "dialog " << id << " has a class";
    dialog.title = in.Text();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = static_cast<int>(in.Word());
        in.Word();   // weight
        in.Skip(2);  // italic, character set
        dialog.face = in.Text();
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        in.Align();
        DialogItem item;
        in.DWord();  // help id
        item.exStyle = in.DWord();
        item.style = in.DWord();
        item.x = in.Short();
        item.y = in.Short();
        item.cx = in.Short();
        item.cy = in.Short();
        item.id = static_cast<int>(static_cast<std::int32_t>(in.DWord()));
        in.NameOrOrdinal(item.className, ordinal);
        if (ordinal != -1)
            item.className = PredefinedClass(ordinal);
        in.NameOrOrdinal(item.text, item.imageId);
        in.Skip(in.Word());  // creation data
        dialog.items.push_back(item);
    }
    return dialog;
}

// Class names compare without regard to case: one resource compiler stores
// "Static" as the predefined ordinal, another as the upper-case name.
bool SameClass(const std::string& actual, const char* expected)
{
    return _stricmp(actual.c_str(), expected) == 0;
}

enum class Kind { ListView, AutoCheck, RightText, Text, BorderText, PushButton, DefaultButton, Picture, RealSizePicture, GroupBox, Separator, Icon };

struct ExpectedItem
{
    int id;
    Kind kind;
    short x, y, cx, cy;
    const char* text;  // for pictures and icons: nullptr, the image below
    int image;
    bool visible;
};

void CheckItem(const DialogItem& item, const ExpectedItem& expected)
{
    SCOPED_TRACE("control " + std::to_string(expected.id) + " at " + std::to_string(expected.x) + "," +
                 std::to_string(expected.y));
    EXPECT_EQ(item.id, expected.id);
    EXPECT_EQ(item.x, expected.x);
    EXPECT_EQ(item.y, expected.y);
    EXPECT_EQ(item.cx, expected.cx);
    EXPECT_EQ(item.cy, expected.cy);
    EXPECT_TRUE(item.style & WS_CHILD);
    EXPECT_EQ((item.style & WS_VISIBLE) != 0, expected.visible);
    if (expected.text) {
        EXPECT_EQ(item.imageId, -1);
        EXPECT_EQ(item.text, expected.text);
    } else {
        EXPECT_EQ(item.imageId, expected.image);
    }

    const DWORD buttonType = item.style & BS_TYPEMASK;
    const DWORD staticType = item.style & SS_TYPEMASK;
    switch (expected.kind) {
    case Kind::ListView:
        EXPECT_PRED2(SameClass, item.className, "SysListView32");
        EXPECT_EQ(item.style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
        EXPECT_TRUE(item.style & LVS_SINGLESEL);
        EXPECT_TRUE(item.style & WS_BORDER);
        break;
    case Kind::AutoCheck:
        EXPECT_PRED2(SameClass, item.className, "Button");
        EXPECT_EQ(buttonType, static_cast<DWORD>(BS_AUTOCHECKBOX));
        break;
    case Kind::PushButton:
        EXPECT_PRED2(SameClass, item.className, "Button");
        EXPECT_EQ(buttonType, static_cast<DWORD>(BS_PUSHBUTTON));
        break;
    case Kind::DefaultButton:
        EXPECT_PRED2(SameClass, item.className, "Button");
        EXPECT_EQ(buttonType, static_cast<DWORD>(BS_DEFPUSHBUTTON));
        break;
    case Kind::GroupBox:
        EXPECT_PRED2(SameClass, item.className, "Button");
        EXPECT_EQ(buttonType, static_cast<DWORD>(BS_GROUPBOX));
        break;
    case Kind::RightText:
        EXPECT_PRED2(SameClass, item.className, "Static");
        EXPECT_EQ(staticType, static_cast<DWORD>(SS_RIGHT));
        break;
    case Kind::Text:
        EXPECT_PRED2(SameClass, item.className, "Static");
        EXPECT_EQ(staticType, static_cast<DWORD>(SS_LEFT));
        EXPECT_FALSE(item.style & WS_BORDER);
        break;
    case Kind::BorderText:
        EXPECT_PRED2(SameClass, item.className, "Static");
        EXPECT_EQ(staticType, static_cast<DWORD>(SS_LEFT));
        EXPECT_TRUE(item.style & WS_BORDER);
        break;
    case Kind::Picture:
    case Kind::RealSizePicture:
        EXPECT_PRED2(SameClass, item.className, "Static");
        EXPECT_EQ(staticType, static_cast<DWORD>(SS_BITMAP));
        EXPECT_EQ((item.style & SS_REALSIZEIMAGE) != 0, expected.kind == Kind::RealSizePicture);
        // Plain pictures: no SS_NOTIFY, so mouse messages reach the dialog.
        EXPECT_FALSE(item.style & SS_NOTIFY);
        break;
    case Kind::Icon:
        EXPECT_PRED2(SameClass, item.className, "Static");
        EXPECT_EQ(staticType, static_cast<DWORD>(SS_ICON));
        break;
    case Kind::Separator:
        EXPECT_PRED2(SameClass, item.className, "Static");
        EXPECT_TRUE(item.style & SS_SUNKEN);
        break;
    }
}

void CheckItems(const DialogTemplate& dialog, const std::vector<ExpectedItem>& expected)
{
    ASSERT_EQ(dialog.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        CheckItem(dialog.items[i], expected[i]);
}

TEST(Dialogs, MainWindowTemplate)
{
    const DialogTemplate dialog = ReadDialog(IDD_TARNWICK_DIALOG);
    EXPECT_EQ(dialog.title, "Tarnwick");
    EXPECT_EQ(dialog.face, "Tahoma");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.cx, 364);
    EXPECT_EQ(dialog.cy, 294);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE | DS_MODALFRAME | DS_3DLOOK;
    EXPECT_EQ(dialog.style & style, style);
    EXPECT_FALSE(dialog.style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD));
    EXPECT_EQ(dialog.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));

    const int none = kNoId;
    CheckItems(dialog, {
        {IDC_RESULT_LIST, Kind::ListView, 6, 97, 285, 102, "", 0, true},
        {IDC_CHECK_ALL, Kind::AutoCheck, 10, 205, 46, 9, "Check All", 0, true},
        {IDC_SUMMARY, Kind::RightText, 148, 203, 134, 10, "", 0, true},
        {IDC_CLEAN_FILES, Kind::PushButton, 249, 147, 32, 14, "Clean Files", 0, false},
        {IDCANCEL, Kind::PushButton, 222, 176, 59, 14, "Exit", 0, false},
        {IDC_SCAN_PICTURE, Kind::RealSizePicture, 265, 56, 84, 23, nullptr, IDB_SCAN, true},
        {IDC_UPDATE_PICTURE, Kind::Picture, 293, 98, 27, 22, nullptr, IDB_UPDATE, true},
        {none, Kind::Text, 324, 101, 34, 16, "Update Version", 0, true},
        {IDC_EXIT_PICTURE, Kind::Picture, 293, 123, 27, 22, nullptr, IDB_EXIT, true},
        {none, Kind::Text, 326, 130, 24, 11, "Exit", 0, true},
        {none, Kind::Picture, 1, 0, 365, 45, nullptr, IDB_BANNER, true},
        {IDC_SCAN_GROUP, Kind::GroupBox, 4, 47, 349, 37, "Scan My Computer", 0, true},
        {IDC_CLEAN_PICTURE, Kind::RealSizePicture, 58, 201, 73, 20, nullptr, IDB_CLEAN, true},
        {IDC_SCAN_STATUS, Kind::BorderText, 8, 61, 254, 15, "", 0, true},
        {IDC_STATUS_LINE, Kind::Text, 142, 86, 154, 9, "Protecting you against 25 spyware programs", 0, true},
        {IDC_SHOW_SETTINGS, Kind::PushButton, 290, 205, 69, 15, "Show Settings >>", 0, true},
        {none, Kind::Picture, 0, 225, 365, 11, nullptr, IDB_PANEL_STRIP, true},
        {IDC_SEPARATOR, Kind::Separator, 2, 237, 359, 1, "", 0, false},
        {IDC_SETTINGS_GROUP, Kind::GroupBox, 5, 238, 289, 53, "Settings", 0, true},
        {IDC_REALTIME_CHECK, Kind::AutoCheck, 10, 249, 129, 8, "Enable Real Time system monitoring", 0, true},
        {IDC_POPUP_CHECK, Kind::AutoCheck, 10, 262, 99, 9, "Enable Popup Blocker", 0, true},
        {IDC_SQUASH_LOG_CHECK, Kind::AutoCheck, 10, 275, 97, 10, "What did I squash?", 0, true},
        {IDC_SOUND_CHECK, Kind::AutoCheck, 145, 249, 64, 10, "Play Sound ", 0, true},
        {IDC_ANIMATE_CHECK, Kind::AutoCheck, 145, 262, 143, 10, "Animate icon when spyware is destroyed", 0, true},
        {IDOK, Kind::PushButton, 203, 274, 54, 14, "Save Settings", 0, true},
        {IDC_SHOW_LOG, Kind::PushButton, 145, 274, 54, 14, "Show Log", 0, true},
    });
}

TEST(Dialogs, AboutTemplate)
{
    const DialogTemplate dialog = ReadDialog(IDD_ABOUTBOX);
    EXPECT_EQ(dialog.title, "About Gravelin");
    EXPECT_EQ(dialog.face, "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 235);
    EXPECT_EQ(dialog.cy, 55);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(dialog.style & style, style);
    EXPECT_FALSE(dialog.style & WS_VISIBLE);

    ASSERT_EQ(dialog.items.size(), 4u);
    CheckItem(dialog.items[0], {kNoId, Kind::Icon, 11, 17, 20, 20, nullptr, IDI_ABOUT, true});
    CheckItem(dialog.items[1], {kNoId, Kind::Text, 40, 10, 119, 8, "Tarnwick Version 2.1", 0, true});
    EXPECT_TRUE(dialog.items[1].style & SS_NOPREFIX);
    // The maker's notice: any text, in its place.
    const DialogItem& notice = dialog.items[2];
    EXPECT_PRED2(SameClass, notice.className, "Static");
    EXPECT_FALSE(notice.text.empty());
    EXPECT_EQ(notice.x, 40);
    EXPECT_EQ(notice.y, 25);
    EXPECT_EQ(notice.cx, 119);
    EXPECT_EQ(notice.cy, 8);
    CheckItem(dialog.items[3], {IDOK, Kind::DefaultButton, 178, 7, 50, 14, "OK", 0, true});
}

TEST(Dialogs, SplashTemplate)
{
    const DialogTemplate dialog = ReadDialog(IDD_SPLASH);
    EXPECT_EQ(dialog.title, "");
    EXPECT_EQ(dialog.face, "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 274);
    EXPECT_EQ(dialog.cy, 147);
    EXPECT_TRUE(dialog.style & WS_POPUP);
    EXPECT_TRUE(dialog.style & WS_BORDER);
    EXPECT_FALSE(dialog.style & WS_DLGFRAME);  // no caption
    EXPECT_FALSE(dialog.style & WS_VISIBLE);
    CheckItems(dialog, {{kNoId, Kind::Picture, 1, 1, 273, 146, nullptr, IDB_SPLASH, true}});
}

TEST(Dialogs, SquashLogViewerTemplate)
{
    const DialogTemplate dialog = ReadDialog(IDD_SQUASH_LOG);
    EXPECT_EQ(dialog.title, "What Did I Squash?");
    EXPECT_EQ(dialog.face, "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(dialog.style & style, style);
    EXPECT_FALSE(dialog.style & WS_VISIBLE);

    ASSERT_EQ(dialog.items.size(), 4u);
    CheckItem(dialog.items[0], {IDOK, Kind::DefaultButton, 87, 212, 50, 16, "Clear Log", 0, true});
    CheckItem(dialog.items[1], {IDCANCEL, Kind::PushButton, 139, 212, 50, 16, "Exit", 0, true});
    // The list: report view, several rows may be selected.
    const DialogItem& list = dialog.items[2];
    EXPECT_EQ(list.id, IDC_LOG_LIST);
    EXPECT_PRED2(SameClass, list.className, "SysListView32");
    EXPECT_EQ(list.style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
    EXPECT_FALSE(list.style & LVS_SINGLESEL);
    EXPECT_TRUE(list.style & WS_BORDER);
    EXPECT_TRUE(list.style & WS_TABSTOP);
    EXPECT_EQ(list.x, 7);
    EXPECT_EQ(list.y, 30);
    EXPECT_EQ(list.cx, 273);
    EXPECT_EQ(list.cy, 176);
    const DialogItem& hint = dialog.items[3];
    EXPECT_EQ(hint.id, IDC_LOG_HINT);
    EXPECT_PRED2(SameClass, hint.className, "Static");
    EXPECT_EQ(hint.style & SS_TYPEMASK, static_cast<DWORD>(SS_CENTER));
    EXPECT_EQ(hint.text, "Double-click an item to navigate to it.");
    EXPECT_EQ(hint.x, 10);
    EXPECT_EQ(hint.y, 9);
    EXPECT_EQ(hint.cx, 266);
    EXPECT_EQ(hint.cy, 14);
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The main window's template makes a real window: the list view class, the
// pictures bound to their bitmaps, the hidden controls hidden.
TEST(Dialogs, MainWindowTemplateCreatesItsControls)
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&classes));
    HWND dialog = CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_TARNWICK_DIALOG), nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);

    char className[64] = {};
    GetClassNameA(GetDlgItem(dialog, IDC_RESULT_LIST), className, sizeof className);
    EXPECT_EQ(_stricmp(className, "SysListView32"), 0) << className;

    struct Picture
    {
        int control;
        LONG width;
        LONG height;
    };
    for (const Picture& picture : {Picture{IDC_SCAN_PICTURE, 126, 37}, Picture{IDC_CLEAN_PICTURE, 109, 33},
                                   Picture{IDC_UPDATE_PICTURE, 40, 36}, Picture{IDC_EXIT_PICTURE, 40, 36}}) {
        SCOPED_TRACE(picture.control);
        HWND control = GetDlgItem(dialog, picture.control);
        ASSERT_NE(control, nullptr);
        HBITMAP image = reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
        ASSERT_NE(image, nullptr);
        BITMAP info = {};
        ASSERT_TRUE(GetObjectA(image, sizeof info, &info));
        EXPECT_EQ(info.bmWidth, picture.width);
        EXPECT_EQ(info.bmHeight, picture.height);
        EXPECT_TRUE(IsWindowVisible(control));
    }
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_CLEAN_FILES)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_SEPARATOR)));
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    DestroyWindow(dialog);
}

// ---- Version and manifest ------------------------------------------------

std::string VersionString(const std::string& block, const char* name)
{
    std::vector<char> copy(block.begin(), block.end());
    void* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904e4\\") + name;
    if (!VerQueryValueA(copy.data(), path.c_str(), &value, &length) || !value)
        return "<none>";
    return std::string(static_cast<const char*>(value));
}

TEST(Version, ProductCompanyAndNumbers)
{
    const std::string block = ResourceBytes(VS_VERSION_INFO, MAKEINTRESOURCEA(16) /* RT_VERSION */);
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(VersionString(block, "ProductName"), "Tarnwick");
    EXPECT_EQ(VersionString(block, "CompanyName"), "Ostrand");
    EXPECT_EQ(VersionString(block, "OriginalFilename"), "Gravelin.exe");
    EXPECT_EQ(VersionString(block, "ProductVersion"), "2.1");

    std::vector<char> copy(block.begin(), block.end());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(copy.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(1, 2)));  // 2.1
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(1, 2)));
}

TEST(Manifest, CommonControlsSixAndCallersRights)
{
    const std::string manifest = ResourceBytes(1, MAKEINTRESOURCEA(24) /* RT_MANIFEST */);
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

} // namespace
