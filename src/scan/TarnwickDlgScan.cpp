#include "app/TarnwickDlg.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <cstring>
#include <string>
#include "scan/SpywareDefinitions.h"
#include "win/RegKey.h"

namespace {

const char kClassList[] = "CLSID";
const char kCompatibilityKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";
const char kTrackingCookie[] = "Tracking Cookie";
const char kScanComplete[] = "Tarnwick Scan Complete!";
const char kTotalFound[] = "Total Spyware Found: ";
const int kSquashSound = 139;
const DWORD kNameBufferLength = 261;
const DWORD kValueBufferLength = 200;
// The cookie folder with its backslash and the search pattern must fit here.
const size_t kSearchPathLimit = 259;

// Lets the window live while the scan runs. A quit request is put back for
// the program's own message loop and ends this round of pumping.
void PumpScanMessages(HWND mainWindow)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(111);
            return;
        }
        if (mainWindow != nullptr && IsDialogMessageA(mainWindow, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The readable name of a class: the text of its key's default value, else
// the key name.
std::string ClassDisplayName(const char* name)
{
    std::string path = std::string(kClassList) + "\\" + name;
    RegKey key;
    if (key.Open(HKEY_CLASSES_ROOT, path.c_str(), KEY_READ) != ERROR_SUCCESS)
        return name;
    char value[kValueBufferLength];
    DWORD length = kValueBufferLength;
    if (RegQueryValueExA(key.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &length) !=
        ERROR_SUCCESS)
        return name;
    // A value that fills the buffer without a zero shows as far as it goes.
    if (length > kValueBufferLength)
        length = kValueBufferLength;
    const void* zero = std::memchr(value, '\0', length);
    size_t shown = zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - value) : length;
    return std::string(value, shown);
}

} // namespace

bool CTarnwickDlg::ScanComputer()
{
    resultList.DeleteAllItems();
    RegKey classes;
    if (classes.Open(HKEY_CLASSES_ROOT, kClassList, KEY_ENUMERATE_SUB_KEYS) != ERROR_SUCCESS)
        return false;

    ScanTrackingCookies();
    // A scan or Clean started from the pump may change the list meanwhile;
    // this scan keeps counting from where it was.
    int next = resultList.GetItemCount();
    const std::vector<std::string>& tokens = SpywareDefinitions::tokens;

    for (DWORD index = 0;; ++index) {
        char name[kNameBufferLength];
        DWORD length = kNameBufferLength;
        if (RegEnumKeyExA(classes.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        std::string displayName = ClassDisplayName(name);
        PumpScanMessages(hwnd);
        scanStatus.SetWindowText(("  " + displayName).c_str());
        Sleep(scanPauseMs);
        if (IsKillBitKeyPresent(name))
            continue;
        // The last piece is never examined.
        for (size_t i = 0; i + 1 < tokens.size(); ++i) {
            if (tokens[i].find(name) == std::string::npos)
                continue;
            // The first piece has nothing before it to name it: it names itself.
            const std::string& spyware = i > 0 ? tokens[i - 1] : tokens[i];
            int row = resultList.InsertItem(next, spyware.c_str());
            resultList.SetItemText(row >= 0 ? row : next, 1, tokens[i].c_str());
            ++next;
        }
    }

    PlayWaveResource(kSquashSound);
    scanStatus.SetWindowText(kScanComplete);
    summaryLine.SetWindowText((kTotalFound + std::to_string(resultList.GetItemCount())).c_str());
    return true;
}

void CTarnwickDlg::ScanTrackingCookies()
{
    char folder[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COOKIES, FALSE))
        return;
    PathAddBackslashA(folder);
    scanStatus.SetWindowText(folder);
    std::string pattern = std::string(folder) + "*.txt";
    if (pattern.size() > kSearchPathLimit)
        return;

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    int row = 0;
    do {
        int inserted = resultList.InsertItem(row, found.cFileName);
        resultList.SetItemText(inserted >= 0 ? inserted : row, 1, kTrackingCookie);
        ++row;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

bool CTarnwickDlg::IsKillBitKeyPresent(const char* name)
{
    RegKey compatibility;
    if (compatibility.Open(HKEY_LOCAL_MACHINE, kCompatibilityKey, KEY_ENUMERATE_SUB_KEYS) != ERROR_SUCCESS)
        return false;
    for (DWORD index = 0;; ++index) {
        char subkey[kNameBufferLength];
        DWORD length = kNameBufferLength;
        if (RegEnumKeyExA(compatibility.Get(), index, subkey, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return false;
        if (std::strcmp(subkey, name) == 0)
            return true;
    }
}

void CTarnwickDlg::CheckAll()
{
    BOOL ticked = checkAllBox.GetCheck() == BST_CHECKED;
    int count = resultList.GetItemCount();
    for (int row = 0; row < count; ++row)
        resultList.SetCheck(row, ticked);
}
