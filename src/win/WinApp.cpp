#include "win/WinApp.h"

#include <commctrl.h>
#include "win/RegKey.h"

namespace {
CWinApplication* currentApp = nullptr;
}

CWinApplication::CWinApplication()
    : instance(GetModuleHandleA(nullptr)),
      dialogBk(GetSysColor(COLOR_BTNFACE)),
      dialogText(GetSysColor(COLOR_WINDOWTEXT))
{
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    appName = NameFromModulePath(std::string(path, length <= MAX_PATH ? length : MAX_PATH));
    currentApp = this;
}

CWinApplication::~CWinApplication()
{
    if (currentApp == this)
        currentApp = nullptr;
}

CWinApplication* CWinApplication::Current()
{
    return currentApp;
}

int CWinApplication::Run(HINSTANCE inst)
{
    instance = inst;
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);
    InitInstance();
    return 0;
}

BOOL CWinApplication::InitInstance()
{
    return FALSE;
}

std::string CWinApplication::NameFromModulePath(const std::string& path)
{
    std::string::size_type slash = path.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string::size_type dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

void CWinApplication::SetRegistryKey(const char* key)
{
    registryKey = key != nullptr ? key : "";
}

std::string CWinApplication::ProfileKeyPath(const char* section) const
{
    if (registryKey.empty() || section == nullptr)
        return std::string();
    return "Software\\" + registryKey + "\\" + appName + "\\" + section;
}

int CWinApplication::GetProfileInt(const char* section, const char* entry, int defaultValue) const
{
    std::string path = ProfileKeyPath(section);
    if (path.empty() || entry == nullptr)
        return defaultValue;
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, path.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LONG rc = RegQueryValueExA(key.Get(), entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
        return defaultValue;
    return static_cast<int>(value);
}

BOOL CWinApplication::WriteProfileInt(const char* section, const char* entry, int value)
{
    std::string path = ProfileKeyPath(section);
    if (path.empty() || entry == nullptr)
        return FALSE;
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, path.c_str(), KEY_SET_VALUE) != ERROR_SUCCESS)
        return FALSE;
    DWORD data = static_cast<DWORD>(value);
    return RegSetValueExA(key.Get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data)) ==
           ERROR_SUCCESS;
}

void CWinApplication::SetDialogBkColor(COLORREF bk, COLORREF text)
{
    dialogBrush.Reset(CreateSolidBrush(bk));
    dialogBk = bk;
    dialogText = text;
}

HBRUSH CWinApplication::DialogBrush() const
{
    return dialogBrush ? dialogBrush.Get() : GetSysColorBrush(COLOR_BTNFACE);
}

int CWinApplication::MessageBox(const char* text, UINT type, HWND owner)
{
    if (owner == nullptr && mainWindow != nullptr && IsWindow(mainWindow) && IsWindowVisible(mainWindow))
        owner = mainWindow;
    return ::MessageBoxA(owner, text != nullptr ? text : "", appName.c_str(), type);
}
