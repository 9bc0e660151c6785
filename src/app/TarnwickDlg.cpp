#include "app/TarnwickDlg.h"

#include <cstring>
#include <exception>
#include "app/AboutDlg.h"
#include "log/SquashLog.h"
#include "res/resource.h"
#include "tray/MySysTray.h"
#include "monitor/ComError.h"
#include "win/ShellOpen.h"
#include "win/WinApp.h"

namespace {

const char kCloseNotice[] =
    "Although the program window has been closed, Tarnwick will continue to run in the taskbar (near the "
    "clock) so that you will be protected from pop-ups and spyware as you surf the web.";
const char kTrayTip[] = "Tarnwick - Don't surf without it!";
const UINT kTrayCallbackMessage = WM_USER + 10; // 1034

// The maker's web site and its two pages.
const char kMakerSite[] = "http://www.ostrand.example/";
const char kSupportPage[] = "index.php?pd=&md=application&inst=&mode=CUS";
const char kNewsPage[] = "index.php?md=application&mode=NEWSONE&id=20&wd=VIEW&page=1";

// The program file whose cursor 106 is the hand over the links.
const char kHelpProgram[] = "\\winhlp32.exe";
const WORD kHelpHandCursor = 106;
const WORD kSystemHandCursor = 32649; // IDC_HAND

HINSTANCE ProgramModule()
{
    CWinApplication* app = CWinApplication::Current();
    return app != nullptr && app->instance != nullptr ? app->instance : GetModuleHandleA(nullptr);
}

void OpenMakerPage(const char* pathAndQuery)
{
    ShellOpen((std::string(kMakerSite) + pathAndQuery).c_str());
}

// The window's device context, released when the object goes.
class WindowDC
{
public:
    explicit WindowDC(HWND window) : window(window), dc(GetDC(window)) {}
    ~WindowDC()
    {
        if (dc != nullptr)
            ReleaseDC(window, dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc; }

private:
    HWND window;
    HDC dc;
};

} // namespace

CTarnwickDlg::CTarnwickDlg(HWND parent)
    : CDialogBase(IDD_TARNWICK_DIALOG, parent),
      appIcon(LoadIconA(ProgramModule(), MAKEINTRESOURCEA(IDI_TARNWICK)))
{
}

CTarnwickDlg::~CTarnwickDlg()
{
    DisconnectShellWindows();
}

void CTarnwickDlg::DoDataExchange()
{
    statusLine.Attach(hwnd, IDC_STATUS_LINE);
    popupCheck.Attach(hwnd, IDC_POPUP_CHECK);
    realTimeCheck.Attach(hwnd, IDC_REALTIME_CHECK);
    scanStatus.Attach(hwnd, IDC_SCAN_STATUS);
    cleanPicture.Attach(hwnd, IDC_CLEAN_PICTURE);
    updatePicture.Attach(hwnd, IDC_UPDATE_PICTURE);
    exitPicture.Attach(hwnd, IDC_EXIT_PICTURE);
    scanPicture.Attach(hwnd, IDC_SCAN_PICTURE);
    settingsButton.Attach(hwnd, IDC_SHOW_SETTINGS);
    separatorLine.Attach(hwnd, IDC_SEPARATOR);
    summaryLine.Attach(hwnd, IDC_SUMMARY);
    checkAllBox.Attach(hwnd, IDC_CHECK_ALL);
    resultList.Attach(hwnd, IDC_RESULT_LIST);
    soundCheck.Attach(hwnd, IDC_SOUND_CHECK);
    squashLogCheck.Attach(hwnd, IDC_SQUASH_LOG_CHECK);
    animateCheck.Attach(hwnd, IDC_ANIMATE_CHECK);
    exitButton.Attach(hwnd, IDCANCEL);
    saveButton.Attach(hwnd, IDOK);
}

BOOL CTarnwickDlg::OnInitDialog()
{
    // 1. The window exists: bind the controls. The window is the
    // application's main window from now on (the tray's commands, the About
    // window's owner).
    DoDataExchange();
    if (CWinApplication* app = CWinApplication::Current())
        app->mainWindow = hwnd;

    // 2. The device context, for the screen's vertical resolution.
    WindowDC dc(hwnd);

    // 3. "&About Gravelin..." at the end of the system menu.
    char aboutText[256] = {};
    LoadStringA(ProgramModule(), IDS_ABOUTBOX, aboutText, static_cast<int>(sizeof aboutText));
    HMENU systemMenu = GetSystemMenu(hwnd, FALSE);
    if (systemMenu != nullptr && aboutText[0] != '\0') {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
    }

    // 4. The working directory is the folder of the data files, unless the
    // application object has chosen the program's own folder.
    char folder[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    if (startFolder.empty() && length > 0 && length < MAX_PATH)
        startFolder.assign(folder, length);

    // 5.
    CenterWindow();

    // 6, 7, 11. One font record, zeroed once and changed field by field: the
    // status font keeps the underline of the summary font.
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = -MulDiv(10, GetDeviceCaps(dc.Get(), LOGPIXELSY), 72);
    font.lfWeight = FW_BOLD;
    lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
    scanFont.Reset(CreateFontIndirectA(&font));
    scanStatus.SetFont(scanFont.Get(), TRUE);

    font.lfHeight = 14;
    font.lfWeight = FW_BOLD;
    font.lfUnderline = TRUE;
    lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    summaryFont.Reset(CreateFontIndirectA(&font));
    summaryLine.SetFont(summaryFont.Get(), TRUE);

    // 8. The result list: a check box per row, two columns.
    resultList.SetExtendedStyle(resultList.GetExtendedStyle() | LVS_EX_CHECKBOXES);
    resultList.InsertColumn(0, "SpyWare", LVCFMT_LEFT, 200, 0);
    resultList.InsertColumn(1, "SpyWare ID", LVCFMT_LEFT, 200, 1);

    // 9, 10.
    LoadSettings();
    LoadSpywareDefinitions();

    // 11.
    font.lfHeight = 12;
    font.lfWeight = FW_BOLD;
    font.lfUnderline = TRUE;
    lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
    statusFont.Reset(CreateFontIndirectA(&font));
    statusLine.SetFont(statusFont.Get(), TRUE);

    // 12.
    LoadSquashLog();

    // 13.
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon));

    // 14. Without the tray icon the window never becomes visible.
    if (!CreateTrayIcon())
        return TRUE;

    // 15.
    showAllowed = true;
    ShowWindow(hwnd, SW_SHOW);

    // 16.
    BuildBlockList();

    // 17-19: the Shell Windows connection, then one pop-up sweep and one
    // page inspection whatever the settings and the keys say: they squash
    // what is open already. A failed automation call ends only its own step.
    ConnectShellWindows();
    try {
        SweepPopups();
    } catch (const CComCallError&) {
    } catch (const std::exception&) {
    }
    try {
        InspectPages();
    } catch (const CComCallError&) {
    } catch (const std::exception&) {
    }

    // 20.
    CollapseSettingsPanel();
    return TRUE;
}

BOOL CTarnwickDlg::CreateTrayIcon()
{
    HICON icon = LoadIconA(ProgramModule(), MAKEINTRESOURCEA(IDI_TARNWICK));
    return sysTray.Create(nullptr, kTrayCallbackMessage, kTrayTip, icon, IDR_TRAYMENU);
}

void CTarnwickDlg::OnOK()
{
    SaveSettings();
}

bool CTarnwickDlg::OnCommand(int id, int code, HWND control)
{
    // Menu items and accelerators come without a control; buttons count
    // when clicked.
    if (control != nullptr && code != BN_CLICKED)
        return false;
    switch (id) {
    case ID_TRAY_LAUNCH:
        OnLaunch();
        return true;
    case ID_TRAY_REALTIME:
        OnToggleMonitor();
        return true;
    case ID_TRAY_SUPPORT:
        OnSupport();
        return true;
    case ID_TRAY_LOAD_AT_STARTUP:
        ToggleAutostart();
        return true;
    case ID_TRAY_EXIT:
        OnExitCommand();
        return true;
    case IDC_SHOW_SETTINGS:
        OnShowSettings();
        return true;
    case IDC_CHECK_ALL:
        CheckAll();
        return true;
    case IDC_CLEAN_FILES:
        CleanFiles();
        return true;
    case IDC_SHOW_LOG:
    case ID_TRAY_SQUASH_LOG:
        ShowSquashLog();
        return true;
    default:
        return false;
    }
}

bool CTarnwickDlg::OnSysCommand(UINT command, LPARAM)
{
    if ((command & 0xFFF0) != IDM_ABOUTBOX)
        return false;
    CAboutDlg about;
    about.DoModal();
    return true;
}

bool CTarnwickDlg::OnPaint()
{
    if (!IsIconic(hwnd))
        return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    SendMessageA(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    int iconWidth = GetSystemMetrics(SM_CXICON);
    int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(hwnd, &client);
    int x = (client.right - client.left - iconWidth + 1) / 2;
    int y = (client.bottom - client.top - iconHeight + 1) / 2;
    DrawIcon(dc, x, y, appIcon);
    EndPaint(hwnd, &paint);
    return true;
}

HICON CTarnwickDlg::OnQueryDragIcon()
{
    return appIcon;
}

bool CTarnwickDlg::OnWindowPosChanging(WINDOWPOS* pos)
{
    // Until the window may show, every request to show it is dropped; the
    // rest of the request goes through.
    if (!showAllowed && pos != nullptr)
        pos->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
    return false;
}

bool CTarnwickDlg::OnClose()
{
    MessageBoxA(hwnd, kCloseNotice, "Tarnwick", MB_OK);
    ShowWindow(hwnd, SW_HIDE);
    return true;
}

void CTarnwickDlg::LoadHandCursor()
{
    char windows[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        std::string path = std::string(windows, length) + kHelpProgram;
        // Only its resources are wanted, whatever its bitness.
        HMODULE helper = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (helper != nullptr) {
            HCURSOR cursor = LoadCursorA(helper, MAKEINTRESOURCEA(kHelpHandCursor));
            // A private copy stays valid once the library is gone.
            if (cursor != nullptr)
                handCursor = CopyIcon(cursor);
            FreeLibrary(helper);
        }
    }
    // Systems whose help program carries no hand cursor have their own.
    if (handCursor == nullptr)
        handCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(kSystemHandCursor));
}

bool CTarnwickDlg::OnLink(const CControl& link, POINT screenPoint)
{
    if (link.GetSafeHwnd() == nullptr)
        return false;
    RECT rect;
    link.GetWindowRect(&rect);
    return PtInRect(&rect, screenPoint) != FALSE;
}

bool CTarnwickDlg::OnMouseMove(UINT, POINT point)
{
    if (handCursor == nullptr)
        LoadHandCursor();
    ClientToScreen(hwnd, &point);
    const CControl* links[] = {&scanPicture, &cleanPicture, &exitPicture, &updatePicture};
    for (const CControl* link : links) {
        if (OnLink(*link, point) && handCursor != nullptr)
            SetCursor(handCursor);
    }
    return false;
}

bool CTarnwickDlg::OnLButtonDown(UINT, POINT point)
{
    ClientToScreen(hwnd, &point);
    if (OnLink(exitPicture, point))
        ShowWindow(hwnd, SW_HIDE);
    if (OnLink(cleanPicture, point))
        CleanFiles();
    if (OnLink(scanPicture, point))
        ScanComputer();
    if (OnLink(updatePicture, point))
        OnUpdateVersion();
    return false;
}

bool CTarnwickDlg::OnInitMenuPopup(HMENU popup, UINT, BOOL systemMenu)
{
    if (systemMenu || popup == nullptr)
        return false;
    CheckMenuItem(popup, ID_TRAY_REALTIME, MF_BYCOMMAND | (popupBlocking != 0 ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, ID_TRAY_LOAD_AT_STARTUP, MF_BYCOMMAND | (IsAutostartOn() ? MF_CHECKED : MF_UNCHECKED));
    return true;
}

void CTarnwickDlg::OnLaunch()
{
    showAllowed = true;
    ShowWindow(hwnd, SW_SHOW);
}

void CTarnwickDlg::OnToggleMonitor()
{
    if (popupBlocking == 1)
        popupBlocking = 0;
    else if (popupBlocking == 0)
        popupBlocking = 1;
}

void CTarnwickDlg::OnSupport()
{
    OpenMakerPage(kSupportPage);
}

void CTarnwickDlg::OnUpdateVersion()
{
    OpenMakerPage(kNewsPage);
}

void CTarnwickDlg::OnExitCommand()
{
    // The only place where the squash log is written.
    squashLog.Save((startFolder + "\\hist.twk").c_str());
    showAllowed = false;
    // The base OK: the settings are not saved on the way out.
    CDialogBase::OnOK();
}

void CTarnwickDlg::CollapseSettingsPanel()
{
    RECT window;
    GetWindowRect(hwnd, &window);
    RECT separator;
    separatorLine.GetWindowRect(&separator);
    fullHeight = window.bottom - window.top;
    collapsedHeight = separator.top - window.top;
    MoveWindow(hwnd, window.left, window.top, window.right - window.left, collapsedHeight, TRUE);
    settingsShown = FALSE;
    EnableSettingsPanel(FALSE);
}

void CTarnwickDlg::OnShowSettings()
{
    RECT window;
    GetWindowRect(hwnd, &window);
    int height = settingsShown ? collapsedHeight : fullHeight;
    MoveWindow(hwnd, window.left, window.top, window.right - window.left, height, TRUE);
    settingsShown = !settingsShown;
    EnableSettingsPanel(settingsShown);
}

void CTarnwickDlg::EnableSettingsPanel(BOOL enable)
{
    // The panel is the separator and every control after it.
    for (HWND child = separatorLine.GetSafeHwnd(); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        EnableWindow(child, enable);
    realTimeCheck.EnableWindow(TRUE);
    settingsButton.SetWindowText(enable ? "<< Hide Settings" : "Show Settings >>");
}
