#include "app/TarnwickDlg.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <string>
#include <vector>

namespace {

const char kCompatibilityKey[] = "SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";
const char kCompatibilityFlags[] = "Compatibility Flags";
const DWORD kKillBit = 0x400;
const char kTrackingCookie[] = "Tracking Cookie";

// The system's text for an error code, without its line end.
std::string SystemMessage(DWORD error)
{
    char text[256] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
        --length;
    return length > 0 ? std::string(text, length) : "error " + std::to_string(error);
}

} // namespace

// A row that could not be cleaned stays listed and is named in the message:
// telling the user that protection was applied when it was not would be worse
// than the old silence.
void CTarnwickDlg::CleanFiles()
{
    int count = resultList.GetItemCount();
    std::vector<bool> keep(count, false);
    std::string failures;
    for (int row = 0; row < count; ++row) {
        if (!resultList.GetCheck(row))
            continue;
        const std::string name = resultList.GetItemText(row, 0), id = resultList.GetItemText(row, 1);
        if (id == kTrackingCookie) {
            char folder[MAX_PATH + 1] = {};
            // Without the cookie folder nothing more is done, not even the
            // emptying of the list.
            if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COOKIES, FALSE))
                return;
            PathAddBackslashA(folder);
            std::string file = std::string(folder) + name;
            // A file that is already gone is as good as deleted.
            if (!DeleteFileA(file.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
                keep[row] = true;
                failures += "\n" + name + ": the file could not be deleted (" + SystemMessage(GetLastError()) + ")";
            }
            continue;
        }
        // A key made here lasts until Windows restarts; one that existed
        // keeps its own persistence.
        std::string path = std::string(kCompatibilityKey) + id;
        HKEY key = nullptr;
        LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                      nullptr, &key, nullptr);
        if (result == ERROR_SUCCESS) {
            DWORD flags = kKillBit;
            result = RegSetValueExA(key, kCompatibilityFlags, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags),
                                    sizeof(flags));
            RegCloseKey(key);
        }
        if (result != ERROR_SUCCESS) {
            keep[row] = true;
            failures += "\n" + name + " " + id + ": the kill bit could not be set (" + SystemMessage(result) +
                        "); administrator rights are needed";
        }
    }
    int left = 0;
    for (int row = count - 1; row >= 0; --row) {
        if (keep[row])
            ++left;
        else
            ListView_DeleteItem(resultList.hwnd, row);
    }
    summaryLine.SetWindowText(("Total Spyware Found: " + std::to_string(left)).c_str());
    if (failures.empty())
        MessageBoxA(hwnd, "Tarnwick Protection applied successfully!", "Tarnwick", MB_OK);
    else
        MessageBoxA(hwnd, ("Tarnwick could not clean everything; what is left stays listed:\n" + failures).c_str(),
                    "Tarnwick", MB_OK | MB_ICONWARNING);
}
