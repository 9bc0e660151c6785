#pragma once
// The main window in the test process: created modelessly in a temporary
// working folder, with a profile of its own, the stand-in shell as the
// shell's window list, and the shell's opens and the window's sounds
// recorded instead of carried out.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/TarnwickDlg.h"
#include "log/SquashLog.h"
#include "monitor/BlockList.h"
#include "monitor/ShellWindows.h"
#include "res/resource.h"
#include "scan/SpywareDefinitions.h"
#include "tray/MySysTray.h"
#include "win/ShellOpen.h"
#include "win/WinApp.h"
#include "ShellSim.h"
#include "TestFiles.h"
#include "TestSupport.h"

class TestMainWindow : public CTarnwickDlg
{
public:
    bool trayFails = false; // the shell refuses the tray icon
    std::vector<int> sounds;
    // The last popup menu initialised on the window, as it showed.
    UINT menuDefault = 0;
    bool monitorTicked = false, autostartTicked = false;

    int PlayWaveResource(int id) override
    {
        sounds.push_back(id);
        return 1;
    }

protected:
    BOOL CreateTrayIcon() override { return trayFails ? FALSE : CTarnwickDlg::CreateTrayIcon(); }
    // Notes the menu and closes it, as a click elsewhere would.
    bool OnInitMenuPopup(HMENU popup, UINT index, BOOL systemMenu) override
    {
        const bool handled = CTarnwickDlg::OnInitMenuPopup(popup, index, systemMenu);
        menuDefault = GetMenuDefaultItem(popup, FALSE, 0);
        monitorTicked = GetMenuState(popup, ID_TRAY_REALTIME, MF_BYCOMMAND) & MF_CHECKED;
        autostartTicked = GetMenuState(popup, ID_TRAY_LOAD_AT_STARTUP, MF_BYCOMMAND) & MF_CHECKED;
        PostMessageA(hwnd, WM_CANCELMODE, 0, 0);
        return handled;
    }
};

class AppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        CoInitialize(nullptr);
        ASSERT_HRESULT_SUCCEEDED(sim->RegisterInProcess());
        app.SetRegistryKey(profileKey.c_str());
        GetCurrentDirectoryA(MAX_PATH, previousFolder);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.root.string().c_str()));
        SetShellOpenObserver([this](const std::string& address) { opened.push_back(address); });
    }

    void TearDown() override
    {
        Stop();
        sim.reset();
        SetShellOpenObserver({});
        SetCurrentDirectoryA(previousFolder);
        squashLog.Clear();
        BlockList.Clear();
        SpywareDefinitions::records.clear();
        SpywareDefinitions::tokens.clear();
        CoUninitialize();
    }

    // Creates the main window (prepare runs before its start-up).
    TestMainWindow& Start(const std::function<void(TestMainWindow&)>& prepare = {})
    {
        window = std::make_unique<TestMainWindow>();
        window->scanPauseMs = 0;
        if (prepare)
            prepare(*window);
        EXPECT_TRUE(window->Create(nullptr));
        PumpWaitingMessages();
        return *window;
    }

    // Destroys the main window once a fresh window list has taken the place
    // of the one that holds its event sink, and takes its icon away.
    void Stop()
    {
        shellWindows.Reset();
        sim = std::make_unique<ShellSim>();
        ASSERT_HRESULT_SUCCEEDED(sim->RegisterInProcess());
        window.reset();
        sysTray.DeleteIcon();
    }

    void Command(int id) { SendMessageA(window->hwnd, WM_COMMAND, id, 0); }
    void Click(int id, int code = BN_CLICKED)
    {
        SendMessageA(window->hwnd, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(window->GetDlgItem(id)));
    }

    // A mouse message to the main window at the centre of one of its controls.
    void MouseAt(UINT message, HWND control)
    {
        RECT r;
        GetWindowRect(control, &r);
        POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ScreenToClient(window->hwnd, &p);
        SendMessageA(window->hwnd, message, 0, MAKELPARAM(p.x, p.y));
    }

    std::string profileKey = UniqueTestName("TarnwickAppTest");
    ScopedRegistryKey profile{HKEY_CURRENT_USER, "Software\\" + profileKey};
    CWinApplication app;
    TempFolder folder;
    char previousFolder[MAX_PATH] = {};
    std::unique_ptr<ShellSim> sim = std::make_unique<ShellSim>();
    std::vector<std::string> opened;
    std::unique_ptr<TestMainWindow> window;
};
