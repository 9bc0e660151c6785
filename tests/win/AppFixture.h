#pragma once
// The main window in the test process: created modelessly with a temporary
// working folder, a profile of its own and the shell's opens recorded.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/TarnwickDlg.h"
#include "log/SquashLog.h"
#include "monitor/BlockList.h"
#include "res/resource.h"
#include "scan/SpywareDefinitions.h"
#include "tray/MySysTray.h"
#include "win/ShellOpen.h"
#include "win/WinApp.h"
#include "TestSupport.h"

// The main window with its start-up's tray step observable and replaceable.
class TestMainWindow : public CTarnwickDlg
{
public:
    // Replaces the tray start when set (its result is the step's result).
    std::function<BOOL(TestMainWindow&)> trayStart;
    // What the window looked like when the tray step began.
    bool trayStepRan = false;
    bool visibleAtTrayStep = false;
    int heightAtTrayStep = 0;

protected:
    BOOL CreateTrayIcon() override
    {
        trayStepRan = true;
        RECT rect;
        GetWindowRect(hwnd, &rect);
        heightAtTrayStep = rect.bottom - rect.top;
        // A show request before the tray icon exists must not show it.
        ShowWindow(hwnd, SW_SHOW);
        visibleAtTrayStep = IsWindowVisible(hwnd) != FALSE;
        return trayStart ? trayStart(*this) : CTarnwickDlg::CreateTrayIcon();
    }
};

class AppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);

        registryKey = UniqueTestName("TarnwickAppTest");
        profile = std::make_unique<ScopedRegistryKey>(HKEY_CURRENT_USER, "Software\\" + registryKey);
        app = std::make_unique<CWinApplication>();
        app->SetRegistryKey(registryKey.c_str());
        app->SetDialogBkColor(RGB(227, 227, 227), RGB(0, 0, 0));

        folder = std::make_unique<ScopedTempFolder>("twkapp");
        ASSERT_FALSE(folder->Path().empty());
        char previous[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, previous);
        previousFolder = previous;
        ASSERT_TRUE(SetCurrentDirectoryA(folder->Path().c_str()));
        char now[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, now);
        workingFolder = now;

        BlockList.clear();
        SpywareDefinitions::records.clear();
        SpywareDefinitions::tokens.clear();
        squashLog.Clear();
        opened.clear();
        SetShellOpenObserver([this](const std::string& address) { opened.push_back(address); });
    }

    void TearDown() override
    {
        window.reset();
        sysTray.DeleteIcon();
        SetShellOpenObserver({});
        SetCurrentDirectoryA(previousFolder.c_str());
        folder.reset();
        app.reset();
        profile.reset();
        squashLog.Clear();
        BlockList.clear();
        SpywareDefinitions::records.clear();
        SpywareDefinitions::tokens.clear();
    }

    // Creates the main window (with the real tray start unless trayStart is
    // given) and lets its first messages through.
    TestMainWindow& Start(std::function<BOOL(TestMainWindow&)> trayStart = {})
    {
        window = std::make_unique<TestMainWindow>();
        window->trayStart = std::move(trayStart);
        EXPECT_TRUE(window->Create(nullptr));
        PumpWaitingMessages();
        return *window;
    }

    // The profile's section key path below HKEY_CURRENT_USER.
    std::string SectionPath() const { return app->ProfileKeyPath("CurrentBuild"); }

    void SeedSetting(const char* name, DWORD value)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SectionPath().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
        RegCloseKey(key);
    }

    // The setting as stored: its type and 32-bit data; false when absent.
    bool ReadSetting(const char* name, DWORD& type, DWORD& value) const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath().c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return false;
        DWORD size = sizeof(value);
        LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(key);
        return rc == ERROR_SUCCESS && size == sizeof(value);
    }

    void Command(int id)
    {
        SendMessageA(window->hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }

    void Click(int id)
    {
        HWND button = window->GetDlgItem(id);
        SendMessageA(window->hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }

    static int Height(HWND w)
    {
        RECT rect;
        GetWindowRect(w, &rect);
        return rect.bottom - rect.top;
    }

    std::string registryKey;
    std::unique_ptr<ScopedRegistryKey> profile;
    std::unique_ptr<CWinApplication> app;
    std::unique_ptr<ScopedTempFolder> folder;
    std::string previousFolder;
    std::string workingFolder;
    std::vector<std::string> opened;
    std::unique_ptr<TestMainWindow> window;
};

inline const char kTestRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Keeps whatever "Gravelin" Run value the machine had and puts it back.
class RunValueGuard
{
public:
    RunValueGuard()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return;
        DWORD size = 0;
        if (RegQueryValueExA(key, "Gravelin", nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            data.resize(size);
            had = RegQueryValueExA(key, "Gravelin", nullptr, &type, data.empty() ? nullptr : data.data(), &size) ==
                  ERROR_SUCCESS;
        }
        RegCloseKey(key);
        Delete();
    }
    ~RunValueGuard()
    {
        Delete();
        if (had) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestRunKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegSetValueExA(key, "Gravelin", 0, type, data.empty() ? nullptr : data.data(),
                               static_cast<DWORD>(data.size()));
                RegCloseKey(key);
            }
        }
    }
    static void Delete()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestRunKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "Gravelin");
            RegCloseKey(key);
        }
    }
    static void Write(DWORD valueType, const void* bytes, DWORD size)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, "Gravelin", 0, valueType, static_cast<const BYTE*>(bytes), size);
        RegCloseKey(key);
    }
    // The value as stored; false when there is none.
    static bool Read(DWORD& valueType, std::string& bytes)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return false;
        char buffer[1024];
        DWORD size = sizeof buffer;
        LONG rc = RegQueryValueExA(key, "Gravelin", nullptr, &valueType, reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        if (rc != ERROR_SUCCESS)
            return false;
        bytes.assign(buffer, size);
        return true;
    }

private:
    bool had = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};

// Reads a whole file; false when it cannot be opened.
inline bool ReadFileText(const std::string& path, std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    text.clear();
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return true;
}

inline bool WriteFileText(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

inline bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
