#include "tray/MySysTray.h"

#include "win/WinApp.h"

#include <cstring>
#include <new>

MySysTray sysTray;

static_assert(sizeof(void*) != 4 || MySysTray::kNotifyDataSize == 88,
              "the first form of NOTIFYICONDATAA is 88 bytes on 32-bit Windows");
static_assert(MySysTray::kNotifyDataSize <= sizeof(NOTIFYICONDATAA),
              "the first form is a prefix of the headers' NOTIFYICONDATAA");

namespace {

const char kHiddenWindowClass[] = "MySysTray";

// The module that holds the program's resources.
HINSTANCE ProgramModule()
{
    CWinApplication* app = CWinApplication::Current();
    if (app != nullptr && app->instance != nullptr)
        return app->instance;
    return GetModuleHandleA(nullptr);
}

// The application's main window, which owns the popup menu and receives
// every command; none while the application has no main window.
HWND TrayMainWindow()
{
    CWinApplication* app = CWinApplication::Current();
    if (app == nullptr || app->mainWindow == nullptr || !IsWindow(app->mainWindow))
        return nullptr;
    return app->mainWindow;
}

// The standard notice when memory runs out.
void ShowOutOfMemory()
{
    const char text[] = "Out of memory.";
    CWinApplication* app = CWinApplication::Current();
    if (app != nullptr)
        app->MessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    else
        MessageBoxA(nullptr, text, nullptr, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

bool RegisterHiddenWindowClass(WNDPROC procedure)
{
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSEXA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHiddenWindowClass;
    registered = RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

} // namespace

bool TraySupportedVersion(DWORD version)
{
    return LOBYTE(LOWORD(version)) >= 4;
}

MySysTray::MySysTray()
    : hwnd(nullptr),
      iconAdded(FALSE),
      timerId(0),
      frameIndex(0),
      animationStart(0),
      animationSeconds(0),
      savedIcon(nullptr),
      defaultItem(0),
      defaultItemByPosition(TRUE)
{
    std::memset(&notifyData, 0, sizeof notifyData);
}

MySysTray::~MySysTray()
{
    DeleteIcon();
    frames.clear();
    if (hwnd != nullptr)
        DestroyWindow(hwnd);
    hwnd = nullptr;
}

LRESULT CALLBACK MySysTray::HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MySysTray* self;
    if (message == WM_NCCREATE) {
        const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        self = static_cast<MySysTray*>(cs->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self != nullptr)
            self->hwnd = window;
    } else {
        self = reinterpret_cast<MySysTray*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    if (self == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        LRESULT result = self->WindowProc(message, wParam, lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->hwnd = nullptr;
        return result;
    }
    return self->WindowProc(message, wParam, lParam);
}

LRESULT MySysTray::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Before Create the callback message is 0, which is no message of ours.
    if (notifyData.uCallbackMessage != 0 && message == notifyData.uCallbackMessage)
        return OnTrayMessage(wParam, lParam);
    if (message == WM_TIMER) {
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

BOOL MySysTray::Create(HWND owner, UINT callbackMessage, const char* tip, HICON icon, UINT iconId)
{
    // The notification area came with major version 4.
    if (!TraySupportedVersion(GetVersion())) {
        iconAdded = FALSE;
        return FALSE;
    }

    if (hwnd == nullptr) {
        if (!RegisterHiddenWindowClass(&MySysTray::HiddenWindowProc))
            return FALSE;
        // Never shown: it only receives the icon's messages and the timer.
        CreateWindowExA(0, kHiddenWindowClass, "", WS_POPUP, 0, 0, 10, 10,
                        nullptr, nullptr, GetModuleHandleA(nullptr), this);
    }

    notifyData.cbSize = kNotifyDataSize;
    notifyData.hWnd = (owner != nullptr && IsWindow(owner)) ? owner : hwnd;
    notifyData.uID = iconId;
    notifyData.hIcon = icon;
    notifyData.uCallbackMessage = callbackMessage;
    notifyData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    // The shell reads 64 characters of tip in this form: keep 63 and the NUL.
    std::memset(notifyData.szTip, 0, sizeof notifyData.szTip);
    if (tip != nullptr) {
        std::size_t length = std::strlen(tip);
        if (length > kMaxTipLength)
            length = kMaxTipLength;
        std::memcpy(notifyData.szTip, tip, length);
    }

    iconAdded = Shell_NotifyIconA(NIM_ADD, &notifyData);
    return iconAdded;
}

void MySysTray::DeleteIcon()
{
    if (!iconAdded)
        return;
    notifyData.uFlags = 0;
    Shell_NotifyIconA(NIM_DELETE, &notifyData);
    iconAdded = FALSE;
}

BOOL MySysTray::ChangeIcon(HICON icon)
{
    if (!iconAdded)
        return FALSE;
    notifyData.uFlags = NIF_ICON;
    notifyData.hIcon = icon;
    return Shell_NotifyIconA(NIM_MODIFY, &notifyData);
}

HICON MySysTray::CurrentIcon() const
{
    return iconAdded ? notifyData.hIcon : nullptr;
}

BOOL MySysTray::LoadAnimationFrames(UINT firstId, UINT lastId)
{
    // Integer resource ids are 16 bits wide; anything above is no icon of
    // ours (and would be taken for a name pointer).
    if (firstId > lastId || lastId > 0xFFFF)
        return FALSE;

    frames.clear();
    try {
        HINSTANCE module = ProgramModule();
        for (UINT id = firstId; id <= lastId; ++id)
            frames.push_back(LoadIconA(module, MAKEINTRESOURCEA(id)));
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory();
        std::vector<HICON>().swap(frames);
        return FALSE;
    }
    return TRUE;
}

BOOL MySysTray::StartAnimation(UINT periodMs, int seconds)
{
    EndAnimation();

    frameIndex = 0;
    animationStart = std::time(nullptr);
    animationSeconds = seconds;
    savedIcon = CurrentIcon();

    timerId = hwnd != nullptr ? static_cast<UINT>(SetTimer(hwnd, kAnimationTimerId, periodMs, nullptr)) : 0;
    return timerId != 0;
}

void MySysTray::OnTimer(UINT_PTR)
{
    const std::time_t elapsed = std::time(nullptr) - animationStart;
    if (animationSeconds > 0 && elapsed > animationSeconds)
        EndAnimation();
    else
        NextFrame();
}

BOOL MySysTray::NextFrame()
{
    if (frames.empty())
        return FALSE;
    ++frameIndex;
    if (frameIndex < 0 || static_cast<std::size_t>(frameIndex) >= frames.size())
        frameIndex = 0;
    return ChangeIcon(frames[static_cast<std::size_t>(frameIndex)]);
}

BOOL MySysTray::EndAnimation()
{
    BOOL killed = FALSE;
    if (timerId != 0)
        killed = KillTimer(hwnd, timerId);
    timerId = 0;
    if (savedIcon != nullptr) {
        ChangeIcon(savedIcon);
        savedIcon = nullptr;
    }
    return killed;
}

namespace {

// The tray menu resource, loaded for one use; popup is its first popup, or
// null when the resource or its popup is missing.
struct TrayMenu {
    explicit TrayMenu(UINT id) : menu(LoadMenuA(ProgramModule(), MAKEINTRESOURCEA(id)))
    {
        popup = menu != nullptr ? GetSubMenu(menu, 0) : nullptr;
    }
    ~TrayMenu()
    {
        if (menu != nullptr)
            DestroyMenu(menu);
    }
    TrayMenu(const TrayMenu&) = delete;
    TrayMenu& operator=(const TrayMenu&) = delete;

    HMENU menu;
    HMENU popup;
};

} // namespace

LRESULT MySysTray::OnTrayMessage(WPARAM wParam, LPARAM lParam)
{
    if (wParam != static_cast<WPARAM>(notifyData.uID))
        return 0;

    const UINT mouse = LOWORD(lParam);
    if (mouse != WM_RBUTTONUP && mouse != WM_LBUTTONDBLCLK)
        return 1;

    // While the application has no main window (it is shutting down) the
    // icon's mouse messages are ignored.
    HWND target = TrayMainWindow();
    if (target == nullptr)
        return 1;

    if (mouse == WM_RBUTTONUP) {
        TrayMenu menu(notifyData.uID);
        if (menu.popup == nullptr)
            return 0;
        SetMenuDefaultItem(menu.popup, defaultItem, defaultItemByPosition);

        POINT cursor = {0, 0};
        GetCursorPos(&cursor);
        SetForegroundWindow(target);
        // The chosen command reaches the owner as WM_COMMAND.
        TrackPopupMenu(menu.popup, 0, cursor.x, cursor.y, 0, target, nullptr);
        // Lets the menu close properly when the user clicks elsewhere.
        PostMessageA(target, WM_NULL, 0, 0);
    } else {
        SetForegroundWindow(target);
        UINT command = defaultItem;
        if (defaultItemByPosition) {
            TrayMenu menu(notifyData.uID);
            if (menu.popup == nullptr)
                return 0;
            command = GetMenuItemID(menu.popup, static_cast<int>(defaultItem));
        }
        SendMessageA(target, WM_COMMAND, static_cast<WPARAM>(command), 0);
    }
    return 1;
}
