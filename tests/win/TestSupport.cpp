#include "TestSupport.h"

#include <utility>

// Every Windows test program: a crash ends it at once, as a failure, instead
// of leaving it waiting in Wine's debugger until the run's time-out.
static LONG WINAPI EndOnCrash(EXCEPTION_POINTERS*)
{
    ExitProcess(3);
}
static const LPTOP_LEVEL_EXCEPTION_FILTER previousCrashFilter = SetUnhandledExceptionFilter(EndOnCrash);

namespace {

// The newest watcher of this thread; each one remembers the one before it.
thread_local MessageBoxWatcher* currentWatcher = nullptr;

std::string WindowText(HWND window)
{
    char buffer[4096] = {};
    GetWindowTextA(window, buffer, sizeof(buffer));
    return buffer;
}

std::function<void()> timerTick;

void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (timerTick)
        timerTick();
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher(int answer) : answer(answer), previous(currentWatcher)
{
    currentWatcher = this;
    // Boxes are caught as their dialog initialises, not when activated: a box
    // may never be activated (no window manager, or another window holds the
    // activation). One hook serves nested watchers.
    if (previous == nullptr)
        hook = SetWindowsHookExA(WH_CALLWNDPROCRET, HookProc, nullptr, GetCurrentThreadId());
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    if (hook != nullptr)
        UnhookWindowsHookEx(hook);
    currentWatcher = previous;
}

LRESULT CALLBACK MessageBoxWatcher::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    MessageBoxWatcher* watcher = currentWatcher;
    HWND box = call->hwnd;
    // A message box belongs to the system (user32 on Windows, no module under
    // Wine), the program's dialogs to this module; it keeps its message in a
    // static with id 0xFFFF.
    if (code == HC_ACTION && watcher != nullptr && call->message == WM_INITDIALOG &&
        GetWindowLongPtrA(box, GWLP_HINSTANCE) != reinterpret_cast<LONG_PTR>(GetModuleHandleA(nullptr)) &&
        GetDlgItem(box, 0xFFFF) != nullptr) {
        Box seen{GetWindow(box, GW_OWNER), WindowText(box), WindowText(GetDlgItem(box, 0xFFFF)), {}};
        for (int id = IDOK; id <= IDCONTINUE; ++id)
            if (GetDlgItem(box, id) != nullptr)
                seen.buttons.push_back(id);
        watcher->boxes.push_back(std::move(seen));
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(watcher->answer, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, watcher->answer)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void PumpWaitingMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the loop it belongs to.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

ThreadTimer::ThreadTimer(UINT periodMs, std::function<void()> tick)
{
    timerTick = std::move(tick);
    id = SetTimer(nullptr, 0, periodMs, TimerProc);
}

ThreadTimer::~ThreadTimer()
{
    KillTimer(nullptr, id);
    timerTick = nullptr;
}

std::string UniqueTestName(const char* prefix)
{
    static LONG counter = 0;
    return std::string(prefix != nullptr ? prefix : "twk") + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount()) + "-" + std::to_string(InterlockedIncrement(&counter));
}
