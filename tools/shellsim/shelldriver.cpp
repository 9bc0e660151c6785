// shelldriver.exe: tells the stand-in shell inside another process (see
// shellsim.dll) to open or close windows, to make calls fail, and reports
// what the program did; it also works the program's main window as a user
// would, for the end-to-end run.
//
//   shelldriver [--window HWND] open TITLE URL TOOLBAR html|nothtml|none [notbrowser]
//                                          prints the new window's id
//   shelldriver [--window HWND] close ID
//   shelldriver [--window HWND] quits      prints the ids told to quit, in order
//   shelldriver [--window HWND] advises    prints the number of subscribers
//   shelldriver [--window HWND] windows    prints the number of open windows
//   shelldriver [--window HWND] fail ID CALL HRESULT   (ID -1: the window list;
//                                          CALL: Count, Item, ToolBar, Quit, ...)
//   shelldriver command ID                 posts WM_COMMAND ID to the program's
//                                          main window (the tray menu's commands)
//   shelldriver cookiefolder               prints the cookie folder
//   shelldriver scan                       clicks "Scan My Computer", waits up to
//                                          150 s for the scan to complete, prints
//                                          the summary line
//   shelldriver rows                       prints the result list, a row a line:
//                                          ticked (0 or 1), name, detail, by tabs
//   shelldriver tick ROW...                ticks these rows (counted from 0)
//   shelldriver clean                      clicks "Clean", answers the message box
//                                          with OK, prints its text
//   shelldriver shortcut FILE.lnk          prints the shortcut's target, working
//                                          folder and icon ("path,index"), a line each
// Without --window (a handle in hexadecimal) the first "TarnwickShellSim"
// window is used, waited for up to 10 seconds; the program's main window is
// the dialog titled "Tarnwick", waited for as long.
// Exit status: 0 done, 1 bad command line, 2 no stand-in shell or main window
// found, 3 the command was refused or not answered.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "ProgramWindow.h"
#include "SimCommands.h"
#include "res/resource.h"
#include "win/ComRef.h"

namespace {

const DWORD kWaitMs = 10000;

std::string Narrow(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 1, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

bool Send(HWND target, ULONG_PTR command, const std::vector<BYTE>& args, LRESULT& answer)
{
    COPYDATASTRUCT copy;
    copy.dwData = command;
    copy.cbData = static_cast<DWORD>(args.size());
    copy.lpData = args.empty() ? nullptr : const_cast<BYTE*>(args.data());
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL, kWaitMs,
                            &result) == 0)
        return false;
    answer = static_cast<LRESULT>(result);
    return true;
}

HWND FindShell()
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND found = FindWindowExA(HWND_MESSAGE, nullptr, simcommand::kWindowClass, nullptr);
        if (found != nullptr || GetTickCount() - start >= kWaitMs)
            return found;
        Sleep(50);
    }
}

const DWORD kScanWaitMs = 150000;
const char kScanComplete[] = "Tarnwick Scan Complete!";

int Usage();

bool FindProgram(ProgramWindow& program)
{
    if (program.Find(kWaitMs))
        return true;
    std::fprintf(stderr, "shelldriver: the program's main window was not found\n");
    return false;
}

bool ParseNumber(const std::wstring& text, unsigned long limit, unsigned long& value)
{
    wchar_t* end = nullptr;
    value = std::wcstoul(text.c_str(), &end, 10);
    return !text.empty() && end != nullptr && *end == L'\0' && value <= limit;
}

int PostCommand(const std::wstring& idText)
{
    unsigned long id = 0;
    if (!ParseNumber(idText, 0xFFFF, id))
        return Usage();
    ProgramWindow program;
    if (!FindProgram(program))
        return 2;
    return PostMessageA(program.Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0) ? 0 : 3;
}

int PrintCookieFolder()
{
    char folder[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COOKIES, FALSE))
        return 3;
    std::printf("%s\n", folder);
    return 0;
}

// The status line is emptied first, so the scan's own "complete" is the one
// waited for.
int Scan()
{
    ProgramWindow program;
    if (!FindProgram(program))
        return 2;
    if (!program.SetControlText(IDC_SCAN_STATUS, "") || !program.ClickControl(IDC_SCAN_PICTURE))
        return 3;
    DWORD start = GetTickCount();
    while (program.ControlText(IDC_SCAN_STATUS) != kScanComplete) {
        if (GetTickCount() - start >= kScanWaitMs) {
            std::fprintf(stderr, "shelldriver: the scan did not complete (status: %s)\n",
                         program.ControlText(IDC_SCAN_STATUS).c_str());
            return 3;
        }
        Sleep(100);
    }
    std::printf("%s\n", program.ControlText(IDC_SUMMARY).c_str());
    return 0;
}

int PrintRows()
{
    ProgramWindow program;
    if (!FindProgram(program))
        return 2;
    std::vector<ProgramWindow::Row> rows;
    std::string error;
    if (!program.ReadRows(IDC_RESULT_LIST, rows, error)) {
        std::fprintf(stderr, "shelldriver: %s\n", error.c_str());
        return 3;
    }
    for (const ProgramWindow::Row& row : rows)
        std::printf("%d\t%s\t%s\n", row.checked ? 1 : 0, row.name.c_str(), row.detail.c_str());
    return 0;
}

int TickRows(const std::vector<std::wstring>& rowTexts)
{
    std::vector<int> rows;
    for (const std::wstring& text : rowTexts) {
        unsigned long row = 0;
        if (!ParseNumber(text, 0x7FFFFFFF, row))
            return Usage();
        rows.push_back(static_cast<int>(row));
    }
    if (rows.empty())
        return Usage();
    ProgramWindow program;
    if (!FindProgram(program))
        return 2;
    for (int row : rows) {
        std::string error;
        if (!program.SetRowCheck(IDC_RESULT_LIST, row, true, error)) {
            std::fprintf(stderr, "shelldriver: %s\n", error.c_str());
            return 3;
        }
    }
    return 0;
}

int Clean()
{
    ProgramWindow program;
    if (!FindProgram(program))
        return 2;
    if (!program.ClickControl(IDC_CLEAN_PICTURE))
        return 3;
    std::string text;
    if (!program.AnswerMessageBox(kWaitMs, IDOK, text)) {
        std::fprintf(stderr, "shelldriver: no message box after Clean\n");
        return 3;
    }
    std::printf("%s\n", text.c_str());
    return 0;
}

// Read through the shell's own shortcut object, as Explorer reads it.
int PrintShortcut(const std::wstring& path)
{
    if (FAILED(CoInitialize(nullptr)))
        return 3;
    int status = 3;
    {
        ComRef<IShellLinkA> link;
        ComRef<IPersistFile> file;
        char target[MAX_PATH] = {};
        char folder[MAX_PATH] = {};
        char icon[MAX_PATH] = {};
        int iconIndex = 0;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       link.ReceiveVoid())) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid())) &&
            SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
            SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
            SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)) &&
            SUCCEEDED(link->GetIconLocation(icon, MAX_PATH, &iconIndex))) {
            std::printf("%s\n%s\n%s,%d\n", target, folder, icon, iconIndex);
            status = 0;
        }
    }
    CoUninitialize();
    return status;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: shelldriver [--window HWND] open TITLE URL TOOLBAR html|nothtml|none [notbrowser]\n"
                 "       shelldriver [--window HWND] close ID | quits | advises | windows | fail ID CALL HRESULT\n"
                 "       shelldriver command ID | cookiefolder | scan | rows | tick ROW... | clean\n"
                 "       shelldriver shortcut FILE.lnk\n");
    return 1;
}

int Run(const std::vector<std::wstring>& args)
{
    size_t at = 0;
    HWND target = nullptr;
    if (args.size() >= 2 && args[0] == L"--window") {
        target = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::wcstoull(args[1].c_str(), nullptr, 16)));
        at = 2;
    }
    if (at >= args.size())
        return Usage();
    const std::wstring& verb = args[at];
    std::vector<std::wstring> rest(args.begin() + static_cast<long>(at) + 1, args.end());

    if (verb == L"command")
        return rest.size() == 1 ? PostCommand(rest[0]) : Usage();
    if (verb == L"cookiefolder")
        return rest.empty() ? PrintCookieFolder() : Usage();
    if (verb == L"scan")
        return rest.empty() ? Scan() : Usage();
    if (verb == L"rows")
        return rest.empty() ? PrintRows() : Usage();
    if (verb == L"tick")
        return TickRows(rest);
    if (verb == L"clean")
        return rest.empty() ? Clean() : Usage();
    if (verb == L"shortcut")
        return rest.size() == 1 ? PrintShortcut(rest[0]) : Usage();

    ULONG_PTR command = 0;
    std::vector<BYTE> payload;
    if (verb == L"open") {
        if (rest.size() < 4 || rest.size() > 5)
            return Usage();
        SimWindowDetails details;
        details.title = rest[0];
        details.url = rest[1];
        details.toolBar = std::wcstol(rest[2].c_str(), nullptr, 10);
        if (rest[3] == L"html")
            details.document = SimDocument::Html;
        else if (rest[3] == L"nothtml")
            details.document = SimDocument::NotHtml;
        else if (rest[3] == L"none")
            details.document = SimDocument::None;
        else
            return Usage();
        if (rest.size() == 5) {
            if (rest[4] != L"notbrowser")
                return Usage();
            details.isWebBrowser = false;
        }
        command = simcommand::Open;
        payload = simcommand::EncodeOpen(details);
    } else if (verb == L"close" && rest.size() == 1) {
        command = simcommand::Close;
        payload = simcommand::EncodeInts({std::wcstol(rest[0].c_str(), nullptr, 10)});
    } else if (verb == L"quits" && rest.empty()) {
        command = simcommand::QuitCount;
    } else if (verb == L"advises" && rest.empty()) {
        command = simcommand::AdviseCount;
    } else if (verb == L"windows" && rest.empty()) {
        command = simcommand::WindowCount;
    } else if (verb == L"fail" && rest.size() == 3) {
        SimCall call;
        if (!simcommand::CallFromName(Narrow(rest[1]), call))
            return Usage();
        long hr = static_cast<long>(std::wcstoul(rest[2].c_str(), nullptr, 0));
        command = simcommand::Fail;
        payload = simcommand::EncodeInts({std::wcstol(rest[0].c_str(), nullptr, 10), static_cast<long>(call), hr});
    } else {
        return Usage();
    }

    if (target == nullptr)
        target = FindShell();
    if (target == nullptr) {
        std::fprintf(stderr, "shelldriver: no stand-in shell is running\n");
        return 2;
    }
    LRESULT answer = 0;
    if (!Send(target, command, payload, answer))
        return 3;
    if (command == simcommand::QuitCount) {
        std::string line;
        for (LRESULT i = 0; i < answer; ++i) {
            LRESULT id = 0;
            if (!Send(target, simcommand::QuitAt, simcommand::EncodeInts({static_cast<long>(i)}), id))
                return 3;
            if (!line.empty())
                line += ' ';
            line += std::to_string(static_cast<long>(id));
        }
        std::printf("%s\n", line.c_str());
        return 0;
    }
    if (command == simcommand::Open || command == simcommand::AdviseCount || command == simcommand::WindowCount) {
        if (command == simcommand::Open && answer == 0)
            return 3;
        std::printf("%ld\n", static_cast<long>(answer));
        return 0;
    }
    return answer == 1 ? 0 : 3;
}

} // namespace

int main()
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr)
        return 1;
    std::vector<std::wstring> args;
    for (int i = 1; i < count; ++i)
        args.push_back(argv[i]);
    LocalFree(argv);
    int status = Run(args);
    std::fflush(stdout);
    return status;
}
