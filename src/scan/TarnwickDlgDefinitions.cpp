// The main window's part of the spyware definitions: reading "deda.twk".
#include "app/TarnwickDlg.h"
#include "scan/SpywareDefinitions.h"

namespace {

// A definitions file holds short records (at most 255 characters each); a
// file larger than this is no definitions file and is not read.
const DWORD kMaxDefinitionsFile = 16 * 1024 * 1024;

// The whole content of an open file into bytes; false when it is too large
// or cannot be read.
bool ReadWholeFile(HANDLE file, std::string& bytes)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 || size.QuadPart > kMaxDefinitionsFile)
        return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD total = 0;
    while (total < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file, &bytes[total], static_cast<DWORD>(bytes.size()) - total, &read, nullptr))
            return false;
        if (read == 0)
            break;
        total += read;
    }
    // A file that shrank while being read gives what it still had.
    bytes.resize(total);
    return true;
}

} // namespace

void CTarnwickDlg::LoadSpywareDefinitions()
{
    std::string path = startFolder + "\\deda.twk";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // Missing or not readable: no definitions, and no message.
        SpywareDefinitions::records.clear();
    } else {
        HCURSOR previous = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514))); // IDC_WAIT
        DefinitionsArchive archive;
        if (ReadWholeFile(file, archive.bytes))
            SerializeDefinitions(archive, 1);
        else
            SpywareDefinitions::records.clear();
        CloseHandle(file);
        SetCursor(previous);
    }
    SplitDefinitionRecords(SpywareDefinitions::records, SpywareDefinitions::tokens);
}

void CTarnwickDlg::SerializeDefinitions(DefinitionsArchive& archive, int)
{
    // A damaged file keeps the records read whole before the damage.
    ReadDefinitionRecords(archive.bytes, SpywareDefinitions::records);
}
