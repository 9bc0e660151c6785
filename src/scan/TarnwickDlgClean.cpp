#include "app/TarnwickDlg.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <string>

namespace {

const char kCompatibilityKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";
const char kCompatibilityFlags[] = "Compatibility Flags";
const DWORD kKillBit = 0x400;
const char kTrackingCookie[] = "Tracking Cookie";

} // namespace

void CTarnwickDlg::CleanFiles()
{
    int count = resultList.GetItemCount();
    for (int row = 0; row < count; ++row) {
        if (!resultList.GetCheck(row))
            continue;
        if (resultList.GetItemText(row, 1) == kTrackingCookie) {
            char folder[MAX_PATH + 1] = {};
            // Without the cookie folder nothing more is done, not even the
            // emptying of the list.
            if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COOKIES, FALSE))
                return;
            PathAddBackslashA(folder);
            std::string file = std::string(folder) + resultList.GetItemText(row, 0);
            DeleteFileA(file.c_str());
            continue;
        }
        // A key made here lasts until Windows restarts; one that existed
        // keeps its own persistence.
        std::string path = std::string(kCompatibilityKey) + resultList.GetItemText(row, 1);
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            continue;
        DWORD flags = kKillBit;
        RegSetValueExA(key, kCompatibilityFlags, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), sizeof(flags));
        RegCloseKey(key);
    }
    resultList.DeleteAllItems();
    summaryLine.SetWindowText("Total Spyware Found: 0");
    MessageBoxA(hwnd, "Tarnwick Protection applied successfully!", "Tarnwick", MB_OK);
}
