// Every resource the program uses by id is in the resource script it is
// built with (compiled into this test module), of the kind the program
// expects.
#include "res/resource.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ResourcesTest, EveryIdTheProgramUsesHasItsResource)
{
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    HINSTANCE module = GetModuleHandleA(nullptr);
    // The controls the code binds to or gets commands from, with the window
    // class it expects; the pictures show their bitmaps. (The lists and the
    // check boxes show theirs in the tests of the main window and the log
    // viewer.)
    struct Controls { int dialog; const char* windowClass; bool pictures; std::vector<int> ids; };
    for (const Controls& c : {
             Controls{IDD_TARNWICK_DIALOG, "Button", false,
                      {IDC_SHOW_SETTINGS, IDC_CLEAN_FILES, IDC_SHOW_LOG, IDOK, IDCANCEL}},
             Controls{IDD_TARNWICK_DIALOG, "Static", false,
                      {IDC_STATUS_LINE, IDC_SCAN_STATUS, IDC_SUMMARY, IDC_SEPARATOR}},
             Controls{IDD_TARNWICK_DIALOG, "Static", true,
                      {IDC_SCAN_PICTURE, IDC_CLEAN_PICTURE, IDC_UPDATE_PICTURE, IDC_EXIT_PICTURE}},
             Controls{IDD_SQUASH_LOG, "Static", false, {IDC_LOG_HINT}},
             Controls{IDD_SQUASH_LOG, "Button", false, {IDOK, IDCANCEL}},
             Controls{IDD_ABOUTBOX, "Button", false, {IDOK}},
             Controls{IDD_SPLASH, "", false, {}}, // the splash binds no control
         }) {
        HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(c.dialog), nullptr, nullptr, 0);
        EXPECT_NE(dialog, nullptr) << c.dialog;
        for (int id : c.ids) {
            char windowClass[64] = {};
            GetClassNameA(GetDlgItem(dialog, id), windowClass, sizeof(windowClass));
            EXPECT_STREQ(windowClass, c.windowClass) << c.dialog << ": " << id;
            EXPECT_EQ(SendMessageA(GetDlgItem(dialog, id), STM_GETIMAGE, IMAGE_BITMAP, 0) != 0, c.pictures) << id;
        }
        DestroyWindow(dialog);
    }
    for (int id : {IDI_TARNWICK, IDI_ABOUT, IDI_SQUASH_FRAME1, IDI_SQUASH_FRAME2, IDI_SQUASH_FRAME3, IDI_SQUASH_FRAME4})
        EXPECT_NE(LoadIconA(module, MAKEINTRESOURCEA(id)), nullptr) << id;
    for (int id : {IDB_SPLASH, IDB_BANNER, IDB_PANEL_STRIP, IDB_SCAN, IDB_UPDATE, IDB_EXIT, IDB_CLEAN})
        EXPECT_NE(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0), nullptr) << id;
    // The tray shows the menu's first popup.
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDR_TRAYMENU));
    for (int id : {ID_TRAY_LAUNCH, ID_TRAY_REALTIME, ID_TRAY_SQUASH_LOG, ID_TRAY_SUPPORT, ID_TRAY_LOAD_AT_STARTUP,
                   ID_TRAY_EXIT})
        EXPECT_NE(GetMenuState(GetSubMenu(menu, 0), id, MF_BYCOMMAND), static_cast<UINT>(-1)) << id;
    DestroyMenu(menu);
    // The sound is played from memory, so it must be a whole RIFF WAVE image.
    HRSRC wave = FindResourceA(module, MAKEINTRESOURCEA(IDR_SQUASH_WAVE), "WAVE");
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, wave)));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(data, 4) + std::string(data + 8, 4), "RIFFWAVE");
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(data + 4) + 8, SizeofResource(module, wave));
}

} // namespace
