// The five settings of the profile and the autostart value.
#include "app/TarnwickDlg.h"

#include <string>
#include "app/ProgramLocation.h"
#include "win/RegKey.h"
#include "win/WinApp.h"

namespace {

// Section of the profile that holds every setting.
const char kSection[] = "CurrentBuild";

// The machine-wide key whose values the system runs at log-on.
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "Gravelin";

int ReadSetting(const char* entry)
{
    CWinApplication* app = CWinApplication::Current();
    return app != nullptr ? app->GetProfileInt(kSection, entry, 0) : 0;
}

void WriteSetting(const char* entry, const CButtonControl& box)
{
    CWinApplication* app = CWinApplication::Current();
    if (app != nullptr)
        app->WriteProfileInt(kSection, entry, box.GetCheck() == BST_CHECKED ? 1 : 0);
}

} // namespace

void CTarnwickDlg::LoadSettings()
{
    popupBlocking = ReadSetting("Pop");
    animateIcon = ReadSetting("Anim");
    playSound = ReadSetting("Sound");
    squashLogging = ReadSetting("AppLog");
    realTimeMonitoring = ReadSetting("Real");

    squashLogCheck.SetCheck(squashLogging);
    animateCheck.SetCheck(animateIcon);
    soundCheck.SetCheck(playSound);
    popupCheck.SetCheck(popupBlocking);
    realTimeCheck.SetCheck(realTimeMonitoring);
}

void CTarnwickDlg::SaveSettings()
{
    // The fields stay as read at start-up: the saved values act at the next
    // start.
    WriteSetting("AppLog", squashLogCheck);
    WriteSetting("Anim", animateCheck);
    WriteSetting("Sound", soundCheck);
    WriteSetting("Real", realTimeCheck);
    WriteSetting("Pop", popupCheck);
    MessageBoxA(hwnd, "Settings Saved Successfully!", "Tarnwick", MB_OK);
}

bool CTarnwickDlg::IsAutostartOn()
{
    RegKey run;
    if (run.Open(HKEY_LOCAL_MACHINE, kRunKey, KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return false;
    // Any value of that name counts, whatever its type and data.
    return RegQueryValueExA(run.Get(), kRunValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool CTarnwickDlg::AddAutostart()
{
    // The program as it runs, not a name in startFolder: the value always
    // names a program that exists.
    const std::string command = CommandLineFor(RunningProgramPath());
    if (command.empty())
        return false;
    RegKey run;
    if (run.Open(HKEY_LOCAL_MACHINE, kRunKey, KEY_SET_VALUE) != ERROR_SUCCESS)
        return false;
    RegSetValueExA(run.Get(), kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    return true;
}

bool CTarnwickDlg::RemoveAutostart()
{
    RegKey run;
    if (run.Open(HKEY_LOCAL_MACHINE, kRunKey, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return false;
    RegDeleteValueA(run.Get(), kRunValue);
    return true;
}

void CTarnwickDlg::ToggleAutostart()
{
    if (IsAutostartOn())
        RemoveAutostart();
    else
        AddAutostart();
}
